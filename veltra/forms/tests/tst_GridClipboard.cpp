#include "FakeFormView.h"
#include "FormTexts.h"
#include "GridClipboard.h"
#include "PromptTitles.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

constexpr Grid P = Grid::PassData;
constexpr Grid D = Grid::DelayData;

class PasteTest : public FakeFormTest {
protected:
    void SetUp() override {
        view.tab = forms::kPassTab;
        view.fill(P, {{"1", "1", "1"}, {"2", "1", ".5"}});
    }
    // The grid's cells, "," between cells and "|" between rows, the empty ones at the end left
    // out.
    std::string cells(Grid grid) const {
        std::string text;
        for (int r = 1; r < view.rowCount(grid); ++r)
            for (int c = 1; c < view.columnCount(grid); ++c)
                text += (c > 1 ? "," : r > 1 ? "|" : "") + view.cellText(grid, r, c);
        return text.substr(0, text.find_last_not_of(",|") + 1);
    }
    GridClipboard clipboard{view, grids, state, prompter};
};

// A paste fills its block, growing the grid to two empty rows below it, or is refused whole
// with a message naming the row and column.
TEST_F(PasteTest, FillsTheBlockOrNothing) {
    std::string tooManyRows(5000, '\n'); // blank lines take no row
    for (int i = 0; i < 5000; ++i)
        tooManyRows += "1 1 1\n";
    // grid, where, the text pasted; then the cells and rows after it (header included), or how
    // the refusal begins and 0
    // clang-format off
    const std::tuple<Grid, GridCell, std::string, std::string, int> cases[] = {
        {P, {3, 1}, "3\t1\t.25\n4\t1\t.125\n", "1,1,1|2,1,.5|3,1,.25|4,1,.125", 7},
        {P, {1, 2}, "0,9;0,8\n0,7;0,6", "1,0.9,0.8|2,0.7,0.6", 5},
        {P, {1, 1}, "1;2,5\r\n", "1,2.5,1|2,1,.5", 4},
        {P, {1, 1}, "1, 2\r3,4", "1,2,1|3,4,.5", 5},
        {P, {1, 1}, "  1   2  \n\n 3 4", "1,2,1|3,4,.5", 5},
        {P, {1, 1}, "5\t6\t7\n8", "5,6,7|8,1,.5", 5}, // a shorter row keeps the cells beside it
        {P, {1, 1}, "\t\t4", ",,4|2,1,.5", 4},
        {P, {1, 1}, "1\t2\t\n", "1,2,1|2,1,.5", 4},
        {D, {1, 1}, "1 2\n3 4E-1", "1,2|3,4E-1", 5},
        {P, {2, 1}, "7\t7\t7\n8\t1\tx", "row 3, column 3 (Yout) would get 'x', which is not a", 0},
        {D, {1, 2}, "1 2", "row 1 would get 2 values from column 2 (Delay (tx)) on, and the", 0},
        {P, {1, 2}, "1\t2" + std::string(100000, '\t') + "3", "row 1 would get 100002 values", 0},
        {P, {2, 1}, tooManyRows, "the rows would reach beyond row 5000, and the pass-band", 0},
        {P, {1, 1}, " \n\t\n", "the clipboard holds no text.", 0},
    };
    // clang-format on
    for (const auto& [grid, at, text, after, rows] : cases) {
        SCOPED_TRACE(text.substr(0, 20));
        for (Grid g : {P, D}) {
            grids.HideCellEditor(g, true);
            view.setRowCount(g, 3);
            view.clearCells(g);
        }
        SetUp();
        view.tab = grid == P ? forms::kPassTab : forms::kDelayTab;
        state.dataChanged = false;
        prompter.prompts.clear();
        const std::string before = cells(grid);
        const bool taken = rows > 0;
        ASSERT_EQ(clipboard.Paste(grid, at, text), taken);
        EXPECT_EQ(std::tuple(cells(grid), view.rowCount(grid), state.dataChanged,
                             test::PromptTitles(prompter)),
                  std::tuple(taken ? after : before, taken ? rows : 3, taken,
                             std::vector<std::string>(taken ? 0 : 1, "Paste")));
        if (taken)
            EXPECT_EQ(std::tuple(view.editorVisible(grid), grids.editCell(grid)),
                      std::tuple(true, at));
        else
            EXPECT_EQ(prompter.prompts.at(0).text.rfind("Nothing was pasted: " + after, 0), 0u)
                << prompter.prompts[0].text;
    }
}

TEST_F(PasteTest, EditorTextGoesIntoItsCellBeforeThePaste) {
    grids.GridClicked(P, 1, 1);
    view.setEditorText(P, "9");
    ASSERT_TRUE(clipboard.Paste(P, {2, 1}, "3\t3\t3"));
    EXPECT_EQ(cells(P), "9,1,1|3,3,3");
}

// Only the last paste, and not over a cell typed on since.
TEST_F(PasteTest, UndoPutsBackTheCellsAndRowsOfTheLastPaste) {
    grids.GridClicked(P, 2, 2); // the editor where the paste goes, with its rows below it
    const int rows = view.rowCount(P);
    ASSERT_TRUE(clipboard.Paste(P, {2, 2}, "5\t5\n6\t6\n7\t7"));
    ASSERT_TRUE(clipboard.UndoPaste());
    EXPECT_EQ(cells(P), "1,1,1|2,1,.5");
    // The reopened editor may add its one row, as any move onto the second-last row does.
    EXPECT_GE(view.rowCount(P), rows);
    EXPECT_LE(view.rowCount(P), rows + 1);
    EXPECT_FALSE(clipboard.UndoPaste());
    EXPECT_TRUE(prompter.prompts.empty());

    ASSERT_TRUE(clipboard.Paste(P, {1, 1}, "5\t5\t5"));
    view.setEditorText(P, "8"); // typed over the pasted cell, still in the editor
    EXPECT_FALSE(clipboard.UndoPaste());
    EXPECT_EQ(cells(P), "8,5,5|2,1,.5");
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_NE(prompter.prompts[0].text.find("cannot be undone"), std::string::npos);
}

} // namespace
