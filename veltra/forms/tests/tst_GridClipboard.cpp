#include "FakeFormView.h"
#include "FormTexts.h"
#include "GridClipboard.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

constexpr Grid P = Grid::PassData;
constexpr Grid D = Grid::DelayData;
using Rows = std::vector<std::vector<std::string>>;

TEST(SplitPastedText, FindsTheSeparatorAndSkipsBlankLines) {
    const std::tuple<const char*, Rows, bool> cases[] = {
        {"1\t2\n3\t4\n", {{"1", "2"}, {"3", "4"}}, true},
        {"1;2,5\r\n", {{"1", "2,5"}}, true},
        {"1, 2\r3,4", {{"1", "2"}, {"3", "4"}}, false},
        {"  1   2  \n\n 3 4", {{"1", "2"}, {"3", "4"}}, false},
        {"1\t\t3", {{"1", "", "3"}}, true},
        {"1\t2\t\n", {{"1", "2"}}, true},
        {"", {}, false},
    };
    for (const auto& [text, rows, comma] : cases) {
        const PastedRows pasted = SplitPastedText(text);
        EXPECT_EQ(pasted.cells, rows) << text;
        EXPECT_EQ(pasted.commaDecimals, comma) << text;
    }
}

class PasteTest : public FakeFormTest {
protected:
    void SetUp() override {
        view.tab = forms::kPassTab;
        view.fill(P, {{"1", "1", "1"}, {"2", "1", ".5"}});
    }
    Rows cells(Grid grid) const {
        Rows rows;
        for (int r = 1; r < view.rowCount(grid); ++r) {
            rows.emplace_back();
            for (int c = 1; c < view.columnCount(grid); ++c)
                rows.back().push_back(view.cellText(grid, r, c));
        }
        while (!rows.empty() && std::all_of(rows.back().begin(), rows.back().end(),
                                            [](auto& t) { return t.empty(); }))
            rows.pop_back();
        return rows;
    }
    ScriptedPrompter prompter;
    GridClipboard clipboard{view, grids, state, prompter};
};

TEST_F(PasteTest, FillsTheBlockAndGrowsTheGrid) {
    struct Case {
        const char* name;
        Grid grid;
        GridCell at;
        const char* text;
        Rows after;
        int rows; // of the grid, header included
    };
    const Case cases[] = {
        {"rows below the table",
         P,
         {3, 1},
         "3\t1\t.25\n4\t1\t.125\n",
         {{"1", "1", "1"}, {"2", "1", ".5"}, {"3", "1", ".25"}, {"4", "1", ".125"}},
         7},
        {"over the table, from column 2",
         P,
         {1, 2},
         "0,9;0,8\n0,7;0,6",
         {{"1", "0.9", "0.8"}, {"2", "0.7", "0.6"}},
         5},
        {"a shorter row keeps the cells beside it",
         P,
         {1, 1},
         "5\t6\t7\n8",
         {{"5", "6", "7"}, {"8", "1", ".5"}},
         5},
        {"leading TABs are empty cells", P, {1, 1}, "\t\t4", {{"", "", "4"}, {"2", "1", ".5"}}, 4},
        {"delay grid, blanks", D, {1, 1}, "1 2\n3 4E-1", {{"1", "2"}, {"3", "4E-1"}}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (Grid g : {P, D}) {
            view.setRowCount(g, 3);
            view.clearCells(g);
        }
        SetUp();
        view.tab = c.grid == P ? forms::kPassTab : forms::kDelayTab;
        state.dataChanged = false;
        ASSERT_TRUE(clipboard.Paste(c.grid, c.at, c.text));
        EXPECT_EQ(cells(c.grid), c.after);
        EXPECT_EQ(view.rowCount(c.grid), c.rows);
        EXPECT_TRUE(state.dataChanged);
        EXPECT_TRUE(view.editorVisible(c.grid));
        EXPECT_EQ(grids.editCell(c.grid), c.at);
        EXPECT_TRUE(prompter.prompts.empty());
    }
}

TEST_F(PasteTest, RefusesTheWholeBlockNamingRowAndColumn) {
    const std::tuple<Grid, GridCell, std::string, std::string> cases[] = {
        {P, {1, 1}, "1\tabc\t3\n", "row 1, column 2 (Yin) would get 'abc', which is not a number."},
        {P,
         {2, 1},
         "7\t7\t7\n8\t1\tx",
         "row 3, column 3 (Yout) would get 'x', which is not a number."},
        {P,
         {1, 1},
         "1\t2\t3\t4",
         "row 1 would get 4 values from column 1 (Frequency) on, and the "
         "grid has 3 columns from there."},
        {D,
         {1, 2},
         "1 2",
         "row 1 would get 2 values from column 2 (Delay (tx)) on, and the grid "
         "has 1 columns from there."},
        {P,
         {2, 1},
         std::string(5000, '\n') +
             [] {
                 std::string rows;
                 for (int i = 0; i < 5000; ++i)
                     rows += "1 1 1\n";
                 return rows;
             }(),
         "the rows would reach beyond row 5000, and the pass-band table holds at most 5000 "
         "points."},
        {P, {1, 1}, " \n\t\n", "the clipboard holds no text."},
        {P,
         {1, 2},
         "1\t2" + std::string(100000, '\t') + "3",
         "row 1 would get 100002 values from "
         "column 2 (Yin) on, and the grid has 2 "
         "columns from there."},
        {P,
         {1, 1},
         "1\t1e400\t1",
         "row 1, column 2 (Yin) would get '1e400', which is not a number."},
    };
    for (const auto& [grid, at, text, says] : cases) {
        SCOPED_TRACE(says);
        prompter.prompts.clear();
        state.dataChanged = false;
        const Rows before = cells(grid);
        const int rows = view.rowCount(grid);
        EXPECT_FALSE(clipboard.Paste(grid, at, text));
        EXPECT_EQ(cells(grid), before);
        EXPECT_EQ(view.rowCount(grid), rows);
        EXPECT_FALSE(state.dataChanged);
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].text, "Nothing was pasted: " + says);
        EXPECT_EQ(prompter.prompts[0].title, "Paste");
    }
}

TEST_F(PasteTest, EditorTextGoesIntoItsCellBeforeThePaste) {
    grids.GridClicked(P, 1, 1);
    view.setEditorText(P, "9");
    ASSERT_TRUE(clipboard.Paste(P, {2, 1}, "3\t3\t3"));
    EXPECT_EQ(view.cellText(P, 1, 1), "9");
    EXPECT_EQ(view.cellText(P, 2, 3), "3");
}

TEST_F(PasteTest, UndoPutsBackTheCellsAndRowsOfTheLastPaste) {
    grids.GridClicked(P, 2, 2); // the editor where the paste goes, with its rows below it
    const Rows before = cells(P);
    const int rows = view.rowCount(P);
    ASSERT_TRUE(clipboard.Paste(P, {2, 2}, "5\t5\n6\t6\n7\t7"));
    ASSERT_NE(cells(P), before);
    ASSERT_TRUE(clipboard.UndoPaste());
    EXPECT_EQ(cells(P), before);
    // The reopened editor may add its one row, as any move onto the second-last row does.
    EXPECT_GE(view.rowCount(P), rows);
    EXPECT_LE(view.rowCount(P), rows + 1);
    EXPECT_FALSE(clipboard.UndoPaste()); // only the last paste
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(PasteTest, UndoLeavesCellsEditedSinceThePaste) {
    ASSERT_TRUE(clipboard.Paste(P, {1, 1}, "5\t5\t5"));
    view.setEditorText(P, "8"); // typed over the pasted cell, still in the editor
    EXPECT_FALSE(clipboard.UndoPaste());
    EXPECT_EQ(view.cellText(P, 1, 1), "8");
    EXPECT_EQ(view.cellText(P, 1, 2), "5");
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_NE(prompter.prompts[0].text.find("cannot be undone"), std::string::npos);
}

TEST_F(PasteTest, CopyGivesTheBlockTabSeparated) {
    EXPECT_EQ(clipboard.CopyText(P, {1, 1, 2, 3}), "1\t1\t1\n2\t1\t.5");
    EXPECT_EQ(clipboard.CopyText(P, {2, 3, 3, 3}), ".5\n");
    // What is copied pastes back as it was.
    ASSERT_TRUE(clipboard.Paste(P, {3, 1}, clipboard.CopyText(P, {1, 1, 2, 3})));
    EXPECT_EQ(clipboard.CopyText(P, {3, 1, 4, 3}), "1\t1\t1\n2\t1\t.5");
}

} // namespace
