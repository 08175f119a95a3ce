#include "DesignProblem.h"
#include "FakeFormView.h"
#include "FormTexts.h"
#include "GridEditing.h"
#include "ProblemBinding.h"
#include "ShellState.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class GridTest : public ::testing::Test {
protected:
    DesignProblem problem;
    ShellState state;
    FakeFormView view;
    GridEditing grids{view, problem, state};
    ProblemBinding binding{problem, state, view, grids};

    void SetUp() override {
        grids.FormatGrid(Grid::PassData);
        grids.FormatGrid(Grid::DelayData);
        view.tab = forms::kPassTab;
    }
    GridCell current(Grid g = Grid::PassData) {
        return {view.currentRow(g), view.currentColumn(g)};
    }
    void openAt(int row, int column, Grid g = Grid::PassData) { grids.GridClicked(g, row, column); }
};

} // namespace

TEST_F(GridTest, EditorMovesByTheKeyTable) {
    struct Case {
        const char* name;
        GridCell from;
        EditorKey key;
        GridCell to;
    };
    // PassData without weights: last column 3.
    const Case cases[] = {
        {"Tab moves right", {1, 1}, EditorKey::Next, {1, 2}},
        {"Tab on last column wraps", {1, 3}, EditorKey::Next, {2, 1}},
        {"Shift+Tab moves left", {2, 3}, EditorKey::Previous, {2, 2}},
        {"Shift+Tab on column 1 goes up", {2, 1}, EditorKey::Previous, {1, 3}},
        {"Shift+Tab on the first cell stays", {1, 1}, EditorKey::Previous, {1, 1}},
        {"Up on row 1 stays", {1, 2}, EditorKey::Up, {1, 2}},
        {"Up", {3, 2}, EditorKey::Up, {2, 2}},
        {"Down", {1, 2}, EditorKey::Down, {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.setRowCount(Grid::PassData, 8);
        openAt(c.from.row, c.from.column);
        grids.EditorKeyDown(Grid::PassData, c.key);
        EXPECT_EQ(current(), c.to);
        EXPECT_TRUE(view.editorVisible(Grid::PassData));
        EXPECT_EQ(grids.editCell(Grid::PassData), c.to);
    }
}

TEST_F(GridTest, TabThroughRowsGrowsTheGridOneRowPerRowReached) {
    openAt(1, 1);
    EXPECT_EQ(view.rowCount(Grid::PassData), 4);
    for (int row = 1; row <= 5; ++row) {
        for (int column = 1; column <= 3; ++column) {
            view.setEditorText(Grid::PassData, std::to_string(row * 10 + column));
            grids.EditorKeyDown(Grid::PassData, EditorKey::Next);
        }
        EXPECT_EQ(current(), (GridCell{row + 1, 1}));
        EXPECT_EQ(view.rowCount(Grid::PassData), row + 4);
    }
    EXPECT_EQ(view.cellText(Grid::PassData, 5, 3), "53");
    binding.PutAnswers();
    EXPECT_EQ(problem.nFreqPoints, 5);
}

TEST_F(GridTest, EscapeDropsTheTypedText) {
    view.setCellText(Grid::PassData, 1, 1, "old");
    openAt(1, 1);
    EXPECT_EQ(view.editorText(Grid::PassData), "old");
    view.setEditorText(Grid::PassData, "new");
    grids.EditorKeyDown(Grid::PassData, EditorKey::Escape);
    EXPECT_FALSE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(view.cellText(Grid::PassData, 1, 1), "old");
}

TEST_F(GridTest, TypingACharacterOpensTheEditorWithIt) {
    grids.CellCharacterTyped(Grid::PassData, "5");
    EXPECT_TRUE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(view.editorText(Grid::PassData), "5");
    EXPECT_EQ(view.g(Grid::PassData).selectionStart, 1);
    EXPECT_TRUE(state.dataChanged);
}

TEST_F(GridTest, EditingACellMarksTheDataChangedOnlyWhenItsTextChanges) {
    view.setRowCount(Grid::PassData, 8);
    view.setCellText(Grid::PassData, 1, 1, "2");
    openAt(1, 1);
    EXPECT_FALSE(state.dataChanged);
    grids.EditorKeyDown(Grid::PassData, EditorKey::Next); // unchanged text
    EXPECT_FALSE(state.dataChanged);
    view.setEditorText(Grid::PassData, "3");
    EXPECT_FALSE(state.dataChanged);
    grids.EditorKeyDown(Grid::PassData, EditorKey::Next);
    EXPECT_TRUE(state.dataChanged);
}

TEST_F(GridTest, EditorOpensOnlyOnItsOwnTab) {
    const std::tuple<int, Grid, bool> cases[] = {{forms::kPassTab, Grid::PassData, true},
                                                 {forms::kDelayTab, Grid::PassData, false},
                                                 {0, Grid::DelayData, false},
                                                 {forms::kDelayTab, Grid::DelayData, true}};
    for (auto [tab, grid, opens] : cases) {
        view.tab = tab;
        grids.GridClicked(grid, 1, 1);
        EXPECT_EQ(view.editorVisible(grid), opens);
        grids.HideCellEditor(grid, true);
        grids.CellCharacterTyped(grid, "x");
        EXPECT_EQ(view.editorVisible(grid), opens);
        grids.HideCellEditor(grid, true);
    }
}

TEST_F(GridTest, ClearGridLeavesTwoBlankRowsAndTheWidthsToTheView) {
    view.setRowCount(Grid::PassData, 9);
    view.fill(Grid::PassData, {{"1", "2", "3"}});
    problem.nFreqPoints = 1;
    openAt(5, 2);
    grids.setCurrentGrid(Grid::PassData);
    grids.ClearGrid();
    EXPECT_EQ(view.rowCount(Grid::PassData), 3);
    EXPECT_TRUE(view.g(Grid::PassData).cells.empty());
    EXPECT_FALSE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(current(), (GridCell{1, 1}));
    EXPECT_EQ(problem.nFreqPoints, 0);
    EXPECT_TRUE(state.dataChanged);
}

TEST_F(GridTest, ClearButtonOpensAnEmptyEditorOnTheFirstCell) {
    view.setRowCount(Grid::PassData, 9);
    openAt(6, 3);
    view.setEditorText(Grid::PassData, "typed");
    grids.ClearButtonClicked(Grid::PassData);
    EXPECT_TRUE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(view.editorText(Grid::PassData), "");
    EXPECT_EQ(grids.editCell(Grid::PassData), (GridCell{1, 1}));
    EXPECT_EQ(view.rowCount(Grid::PassData), 4);
    EXPECT_TRUE(view.g(Grid::PassData).cells.empty());
}

TEST_F(GridTest, ClearBothOnAnotherTabOpensNoEditor) {
    view.tab = 0;
    view.setRowCount(Grid::PassData, 9);
    view.setRowCount(Grid::DelayData, 7);
    binding.ClearBoth();
    EXPECT_EQ(view.rowCount(Grid::PassData), 3);
    EXPECT_EQ(view.rowCount(Grid::DelayData), 3);
    EXPECT_FALSE(view.editorVisible(Grid::PassData));
    EXPECT_FALSE(view.editorVisible(Grid::DelayData));
}

TEST_F(GridTest, HidingTheWeightColumnUnderTheEditorKeepsTheWeightAndYout) {
    problem.nFreqPoints = 1;
    view.setChecked("chkUseWeights", true);
    binding.ShowWeightColumn();
    view.fill(Grid::PassData, {{"1", "2", "3", "4"}});
    openAt(1, 4);
    view.setEditorText(Grid::PassData, "8");
    view.setChecked("chkUseWeights", false);
    binding.UseWeightsClicked();
    EXPECT_EQ(view.columnCount(Grid::PassData), 4);
    EXPECT_EQ(view.cellText(Grid::PassData, 1, 3), "3");
    ASSERT_GE(problem.Weight.size(), 2u);
    EXPECT_EQ(problem.Weight[1], "8");
    // Any later key finds the editor's column gone and stays inside the grid.
    grids.GridClicked(Grid::PassData, 1, 4);
    EXPECT_EQ(grids.editCell(Grid::PassData), (GridCell{1, 3}));
}

TEST_F(GridTest, LeavingTheTabKeepsTheTypedTextAndReturningReopensThere) {
    view.setRowCount(Grid::PassData, 8);
    openAt(2, 2);
    view.setEditorText(Grid::PassData, "42");
    view.tab = 0;
    grids.TabChanged(forms::kPassTab, 0);
    EXPECT_FALSE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(view.cellText(Grid::PassData, 2, 2), "42");
    view.setCurrentCell(Grid::PassData, 1, 1);
    view.tab = forms::kPassTab;
    grids.TabChanged(0, forms::kPassTab);
    EXPECT_TRUE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(grids.editCell(Grid::PassData), (GridCell{2, 2}));
    EXPECT_EQ(view.editorText(Grid::PassData), "42");
}

TEST_F(GridTest, MouseDownOnTheGridStoresTheEditorText) {
    openAt(1, 2);
    view.setEditorText(Grid::PassData, "7");
    grids.GridMouseDown(Grid::PassData);
    EXPECT_FALSE(view.editorVisible(Grid::PassData));
    EXPECT_EQ(view.cellText(Grid::PassData, 1, 2), "7");
}

TEST_F(GridTest, DelayGridWrapsAtItsSecondColumn) {
    view.tab = forms::kDelayTab;
    openAt(1, 2, Grid::DelayData);
    grids.EditorKeyDown(Grid::DelayData, EditorKey::Next);
    EXPECT_EQ(current(Grid::DelayData), (GridCell{2, 1}));
    grids.EditorKeyDown(Grid::DelayData, EditorKey::Previous);
    EXPECT_EQ(current(Grid::DelayData), (GridCell{1, 2}));
}

TEST_F(GridTest, PutAnswersTakesTheValueStillInTheEditor) {
    view.fill(Grid::PassData, {{"1", "2"}});
    openAt(1, 3);
    view.setEditorText(Grid::PassData, "3");
    binding.PutAnswers();
    EXPECT_EQ(problem.nFreqPoints, 1);
    EXPECT_EQ(problem.Yout[1], "3");
    EXPECT_TRUE(view.editorVisible(Grid::PassData));
}
