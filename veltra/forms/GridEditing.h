#pragma once

#include "FormView.h"

#include <array>
#include <string>

namespace veltrana {

struct DesignProblem;
struct ShellState;
class Prompter;

/// Where MoveCellEditor takes the editor: the values are the directions 0, 1 and 2.
enum class CellMove { Stay = 0, Down = 1, Up = 2 };

/// Keys that a cell editor handles itself; every other key edits its text.
enum class EditorKey {
    Up,       ///< Up arrow
    Down,     ///< Down arrow
    Next,     ///< Tab or Enter
    Previous, ///< Shift+Tab or Shift+Enter
    Escape,   ///< Esc: drops the typed text
};

/// A data cell of a grid, counted from (1, 1).
struct GridCell {
    int row = 1;
    int column = 1;
    bool operator==(const GridCell&) const = default;
};

/// Editing of the two data grids through their floating cell editors: a cell is never
/// edited in place, its grid's editor is laid over it and writes the text back when the
/// user moves on. Grids grow so that two blank rows always follow the edited row. A text
/// that is not a number never reaches its cell: the user is told, and the editor stays
/// over the cell with the text until it is mended or Esc brings the old value back.
class GridEditing {
public:
    GridEditing(FormView& view, DesignProblem& problem, ShellState& state, Prompter& prompter);

    /// The grid that ClearGrid, FormatGrid and AddGridRow act on.
    Grid CurrentGrid() const { return m_current; }
    void setCurrentGrid(Grid grid) { m_current = grid; }

    /// Header texts from the grid's format string; PassData takes the 5-column form while it
    /// has the weight column.
    void FormatGrid();
    void FormatGrid(Grid grid);
    /// Empties CurrentGrid back to 2 blank data rows, drops its point count and any open edit.
    void ClearGrid();
    /// Appends one data row to CurrentGrid; marks the data changed.
    void AddGridRow(bool reformat);

    /// Opens the grid's editor over its current cell, when that grid's tab is shown.
    void ShowCellEditor(Grid editor);
    /// Closes the editor, writing its text into its cell unless `cancel`. False when the
    /// text was refused: the editor then stays open over its cell.
    bool HideCellEditor(Grid editor, bool cancel = false);
    void MoveCellEditor(Grid editor, CellMove direction);
    /// Writes an open editor's text into its cell and leaves the editor open; false when the
    /// text was refused (the cell keeps its value).
    bool CommitCellEditor(Grid editor);

    /// A key pressed in a cell editor.
    void EditorKeyDown(Grid editor, EditorKey key);
    /// A printable character typed on a grid whose editor is closed: the editor opens with it.
    void CellCharacterTyped(Grid grid, const std::string& character);
    /// The editor received the focus: append a row when it stands on one of the last two.
    void EditorFocused(Grid editor);
    /// False when the open editor's text was refused: the press must not reach the grid.
    bool GridMouseDown(Grid grid);
    void GridClicked(Grid grid, int row, int column);
    /// "Clear Columns": empties the grid and opens the editor on cell (1, 1).
    void ClearButtonClicked(Grid grid);
    /// ODE_Tabs received the focus while `tab` is shown: a closed editor of that tab's grid
    /// opens again on its grid's current cell.
    void TabControlFocused(int tab);
    /// ODE_Tabs moved from `previousTab` to `tab`. False when the editor on the tab left
    /// holds a refused text: the caller shows that tab again.
    bool TabChanged(int previousTab, int tab);

    /// The cell under the grid's editor, recorded when it was last shown.
    GridCell editCell(Grid grid) const { return m_editCell[index(grid)]; }
    /// The cell the editor reopens on when the grid's tab is shown again.
    GridCell lastEditorCell(Grid grid) const { return m_lastCell[index(grid)]; }
    /// Both grids reopen their editors on cell (1, 1).
    void ResetEditorCells();

private:
    static std::size_t index(Grid grid) { return grid == Grid::PassData ? 0 : 1; }
    void addRow(Grid grid, bool reformat);
    int lastColumn(Grid grid) const { return m_view.columnCount(grid) - 1; }
    bool storeEditorText(Grid editor);
    void refuse(Grid editor, GridCell cell, const std::string& text);

    FormView& m_view;
    DesignProblem& m_problem;
    ShellState& m_state;
    Prompter& m_prompter;
    Grid m_current = Grid::PassData;
    std::array<GridCell, 2> m_editCell{};
    std::array<GridCell, 2> m_lastCell{};
};

/// The message refusing `text` typed into `cell` of `grid` when it is no number (an empty
/// cell is no value yet, and is taken); "" when the text is taken. `oldText` is what Esc
/// brings back.
std::string CellRefusal(Grid grid, GridCell cell, const std::string& text,
                        const std::string& oldText);

} // namespace veltrana
