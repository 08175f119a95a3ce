#include "FakeFormView.h"
#include "FormTexts.h"
#include "PromptTitles.h"

#include <gtest/gtest.h>

#include <functional>

using namespace veltrana;

namespace {

constexpr Grid P = Grid::PassData;
constexpr Grid D = Grid::DelayData;

class GridTest : public FakeFormTest {
protected:
    void SetUp() override { view.tab = forms::kPassTab; }
    GridCell current(Grid g = P) { return {view.currentRow(g), view.currentColumn(g)}; }
    void openAt(int row, int column, Grid g = P) { grids.GridClicked(g, row, column); }
    // The grid's current cell moves while its tab is away, as on the widget.
    void leaveAndComeBack() {
        view.tab = 0;
        grids.TabChanged(forms::kPassTab, 0);
        EXPECT_FALSE(view.editorVisible(P)) << "left open on a hidden tab";
        view.setCurrentCell(P, 1, 1);
        view.tab = forms::kPassTab;
        grids.TabChanged(0, forms::kPassTab);
    }
};

} // namespace

// A move with the cell's text unchanged is no edit.
TEST_F(GridTest, EditorMovesByTheKeyTableAndMarksTheDataChangedOnlyForNewText) {
    using enum EditorKey;
    // PassData without weights ends at column 3, DelayData at column 2.
    const std::tuple<const char*, Grid, GridCell, EditorKey, GridCell> cases[] = {
        {"Tab moves right", P, {1, 1}, Next, {1, 2}},
        {"Tab on last column wraps", P, {1, 3}, Next, {2, 1}},
        {"Shift+Tab on column 1 goes up", P, {2, 1}, Previous, {1, 3}},
        {"Shift+Tab on the first cell stays", P, {1, 1}, Previous, {1, 1}},
        {"Up on row 1 stays", P, {1, 2}, Up, {1, 2}},
        {"Down", P, {1, 2}, Down, {2, 2}},
        {"Tab on the delay grid's column 2 wraps", D, {1, 2}, Next, {2, 1}},
    };
    for (const auto& [name, grid, from, key, to] : cases) {
        SCOPED_TRACE(name);
        view.tab = grid == P ? forms::kPassTab : forms::kDelayTab;
        view.setRowCount(grid, 8);
        openAt(from.row, from.column, grid);
        grids.EditorKeyDown(grid, key);
        EXPECT_EQ(std::tuple(current(grid), grids.editCell(grid), view.editorVisible(grid),
                             state.dataChanged),
                  std::tuple(to, to, true, false));
    }
    view.setEditorText(D, "3");
    grids.EditorKeyDown(D, EditorKey::Next);
    EXPECT_TRUE(state.dataChanged);
}

TEST_F(GridTest, EditorOpensOnlyOnItsOwnTab) {
    using forms::kDelayTab, forms::kPassTab;
    const std::tuple<int, Grid, bool> cases[] = {
        {kPassTab, P, true}, {kDelayTab, P, false}, {0, D, false}, {kDelayTab, D, true}};
    for (auto [tab, grid, opens] : cases) {
        view.tab = tab;
        grids.CellCharacterTyped(grid, "x");
        EXPECT_EQ(view.editorVisible(grid), opens);
        grids.HideCellEditor(grid, true);
    }
}

// Save takes the value still in the editor; Clear then drops it with the rest.
TEST_F(GridTest, PutAnswersTakesTheEditorsValueAndClearEmptiesTheGrid) {
    view.setRowCount(P, 9);
    view.fill(P, {{"1", "2"}});
    openAt(1, 3);
    view.setEditorText(P, "3");
    binding.PutAnswers();
    EXPECT_EQ(std::tuple(problem.nFreqPoints, problem.Yout.at(1)), std::tuple(1, "3"));
    view.setEditorText(P, "typed");
    state.dataChanged = false;
    grids.ClearButtonClicked(P);
    EXPECT_EQ(std::tuple(view.editorVisible(P), current(), view.rowCount(P), view.g(P).cells.size(),
                         problem.nFreqPoints, state.dataChanged),
              std::tuple(true, GridCell{1, 1}, 4, 0u, 0, true));
}

TEST_F(GridTest, HidingTheWeightColumnUnderTheEditorKeepsTheWeightAndYout) {
    problem.nFreqPoints = 1;
    view.setChecked("chkUseWeights", true);
    binding.ShowWeightColumn();
    view.fill(P, {{"1", "2", "3", "4"}});
    openAt(1, 4);
    view.setEditorText(P, "8");
    view.setChecked("chkUseWeights", false);
    binding.UseWeightsClicked();
    EXPECT_EQ(std::tuple(view.cellText(P, 1, 3), problem.Weight.at(1)), std::tuple("3", "8"));
    // Any later key finds the editor's column gone and stays inside the grid.
    grids.GridClicked(P, 1, 4);
    EXPECT_EQ(grids.editCell(P), (GridCell{1, 3}));
}

// Coming back after Esc once reopened the editor on the cell of an earlier visit.
TEST_F(GridTest, LeavingTheTabStoresTheTextAndComingBackReopensWhereTheUserWas) {
    view.setRowCount(P, 12);
    openAt(2, 2);
    view.setEditorText(P, "42");
    leaveAndComeBack();
    EXPECT_EQ(std::tuple(view.cellText(P, 2, 2), view.editorVisible(P), grids.editCell(P)),
              std::tuple("42", true, GridCell{2, 2}));

    openAt(9, 2);
    grids.EditorKeyDown(P, EditorKey::Escape);
    leaveAndComeBack();
    EXPECT_EQ(grids.editCell(P), (GridCell{9, 2}));
}

TEST_F(GridTest, OnlyNumbersAndEmptyCellsAreTaken) {
    for (const char* taken : {"0.83", " 8.3E-1 ", "1D3", "", "-999"})
        EXPECT_EQ(CellRefusal(P, {1, 1}, taken, "old"), "") << taken;
    for (const char* refused : {"0,83", "1 2", "abc", "nan", "1e999"})
        EXPECT_NE(CellRefusal(P, {1, 1}, refused, "old"), "") << refused;
    EXPECT_EQ(CellRefusal(P, {3, 4}, " 0,83", "1.1"),
              "Passband Data, row 3, column Weight: '0,83' is not a number.\r\n\r\nType a number "
              "such as 0.83 or 8.3E-1 (a point, not a comma, before the decimals), or press Esc "
              "to keep 1.1.");
}

// However the user tries to leave a cell holding "0,83" (Save and unticking the weights
// included), the text stays out of the grid and the problem, and the editor stays on it; Esc
// then brings the old value back. Tab and another tab are tried on the real form.
TEST_F(GridTest, ATextThatIsNoNumberKeepsTheEditorOnItsCellUntilEsc) {
    const std::tuple<const char*, std::function<void()>> ways[] = {
        {"mouse down on the grid", [&] { EXPECT_FALSE(grids.GridMouseDown(P)); }},
        {"click on another cell", [&] { grids.GridClicked(P, 4, 1); }},
        {"a key on the grid", [&] { grids.CellCharacterTyped(P, "7"); }},
        {"Save", [&] { EXPECT_FALSE(binding.PutAnswers()); }},
        {"unticking the weights",
         [&] {
             view.setChecked("chkUseWeights", false);
             binding.UseWeightsClicked();
             EXPECT_TRUE(view.isChecked("chkUseWeights"));
         }},
    };
    view.setChecked("chkUseWeights", true);
    binding.ShowWeightColumn();
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        prompter = ScriptedPrompter();
        view.setRowCount(P, 8);
        view.fill(P, {{"1", "2", "3", "4"}, {"5", "6", "7", "8"}});
        binding.PutAnswers();
        state.dataChanged = false;
        openAt(2, 4);
        view.setEditorText(P, "0,83");
        leave();
        EXPECT_EQ(test::PromptTitles(prompter), std::vector<std::string>{"Not a number"});
        EXPECT_EQ(std::tuple(view.cellText(P, 2, 4), problem.Weight[2], view.editorVisible(P),
                             view.editorText(P), current(), state.dataChanged),
                  std::tuple("8", "8", true, "0,83", GridCell{2, 4}, false));
        grids.EditorKeyDown(P, EditorKey::Escape);
        EXPECT_FALSE(view.editorVisible(P));
        EXPECT_EQ(view.cellText(P, 2, 4), "8");
    }
}
