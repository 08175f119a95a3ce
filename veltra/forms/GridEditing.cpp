#include "GridEditing.h"

#include "DesignProblem.h"
#include "FormTexts.h"
#include "NumberText.h"
#include "Prompter.h"
#include "ShellState.h"
#include "Text.h"

#include <algorithm>

namespace veltrana {

namespace {

// "#|^  Frequency|^  Yin;#": the part before ";" lists the columns, the first being the
// fixed one; "^" centres a column, and the blanks only size it.
struct ColumnFormat {
    std::vector<std::string> headers;
    std::vector<bool> centred;
};

ColumnFormat ColumnHeaders(std::string_view format) {
    ColumnFormat result;
    const auto columns = SplitAt(format.substr(0, format.find(';')), '|');
    for (std::size_t i = 1; i < columns.size(); ++i) {
        std::string_view h = columns[i];
        const bool centred = !h.empty() && h.front() == '^';
        if (!h.empty() && (h.front() == '^' || h.front() == '<' || h.front() == '>'))
            h.remove_prefix(1);
        result.headers.push_back(TrimBlanks(h));
        result.centred.push_back(centred);
    }
    return result;
}

int TabOf(Grid grid) {
    return grid == Grid::PassData ? forms::kPassTab : forms::kDelayTab;
}

} // namespace

std::string CellRefusal(Grid grid, GridCell cell, const std::string& text,
                        const std::string& oldText) {
    const std::string value = TrimBlanks(text);
    if (value.empty() || ParseNumber(value))
        return {};
    const auto headers =
        ColumnHeaders(grid == Grid::PassData ? forms::kPassFormat5 : forms::kDelayFormat).headers;
    const std::size_t column = static_cast<std::size_t>(cell.column - 1);
    const std::string header = column < headers.size() ? headers[column] : "?";
    return std::string(grid == Grid::PassData ? "Passband Data" : "Delay Data") + ", row " +
           std::to_string(cell.row) + ", column " + header + ": '" + value +
           "' is not a number.\r\n\r\nType a number such as 0.83 or 8.3E-1 (a point, not a "
           "comma, before the decimals), or press Esc to " +
           (TrimBlanks(oldText).empty() ? std::string("leave the cell empty.")
                                        : "keep " + TrimBlanks(oldText) + ".");
}

GridEditing::GridEditing(FormView& view, DesignProblem& problem, ShellState& state,
                         Prompter& prompter)
    : m_view(view), m_problem(problem), m_state(state), m_prompter(prompter) {}

void GridEditing::FormatGrid() {
    FormatGrid(m_current);
}

void GridEditing::FormatGrid(Grid grid) {
    std::string_view format = forms::kDelayFormat;
    if (grid == Grid::PassData)
        format = m_view.columnCount(grid) == 4 ? forms::kPassFormat4 : forms::kPassFormat5;
    const ColumnFormat columns = ColumnHeaders(format);
    m_view.setColumnHeaders(grid, columns.headers);
    m_view.setColumnsCentred(grid, columns.centred);
}

void GridEditing::ClearGrid() {
    const Grid grid = m_current;
    m_state.dataChanged = true;
    (grid == Grid::PassData ? m_problem.nFreqPoints : m_problem.nDelayPoints) = 0;
    // The editor is not reopened here: it would stand on a cell of the old contents.
    HideCellEditor(grid, true);
    m_view.clearCells(grid);
    m_view.setRowCount(grid, 3);
    FormatGrid(grid);
    m_view.setCurrentCell(grid, 1, 1);
}

void GridEditing::AddGridRow(bool reformat) {
    addRow(m_current, reformat);
}

void GridEditing::addRow(Grid grid, bool reformat) {
    m_view.setRowCount(grid, m_view.rowCount(grid) + 1);
    m_state.dataChanged = true;
    if (reformat)
        FormatGrid(grid);
}

void GridEditing::ShowCellEditor(Grid editor) {
    if (m_view.shownTab() != TabOf(editor))
        return;
    const int rows = m_view.rowCount(editor);
    const int columns = m_view.columnCount(editor);
    if (rows < 2 || columns < 2)
        return;
    // The current cell can lie outside the grid after the weight column was removed.
    const int row = std::clamp(m_view.currentRow(editor), 1, rows - 1);
    const int column = std::clamp(m_view.currentColumn(editor), 1, columns - 1);
    m_view.setCurrentCell(editor, row, column);
    m_view.setEditorText(editor, m_view.cellText(editor, row, column));
    m_view.showEditor(editor, row, column);
    m_editCell[index(editor)] = {row, column};
    EditorFocused(editor);
}

bool GridEditing::HideCellEditor(Grid editor, bool cancel) {
    if (!m_view.editorVisible(editor))
        return true;
    if (!cancel && !storeEditorText(editor))
        return false;
    m_view.hideEditor(editor);
    return true;
}

bool GridEditing::CommitCellEditor(Grid editor) {
    return !m_view.editorVisible(editor) || storeEditorText(editor);
}

bool GridEditing::storeEditorText(Grid editor) {
    GridCell& cell = m_editCell[index(editor)];
    cell.column = std::min(cell.column, lastColumn(editor));
    if (cell.row >= m_view.rowCount(editor) || cell.column < 1)
        return true;
    const std::string text = m_view.editorText(editor);
    const std::string old = m_view.cellText(editor, cell.row, cell.column);
    if (text == old)
        return true;
    // "0,83" would be read as two values, 0 and 83, once saved: it never reaches the cell.
    if (const std::string why = CellRefusal(editor, cell, text, old); !why.empty()) {
        refuse(editor, cell, why);
        return false;
    }
    // An edited value must not be dropped silently by File New or Open.
    m_view.setCellText(editor, cell.row, cell.column, text);
    m_state.dataChanged = true;
    return true;
}

void GridEditing::refuse(Grid editor, GridCell cell, const std::string& text) {
    // The user mends the text where it was typed: the editor stays on its cell, text selected.
    m_view.setCurrentCell(editor, cell.row, cell.column);
    m_prompter.message({text, "Not a number", PromptIcon::Exclamation, PromptButtons::Ok});
    m_view.showEditor(editor, cell.row, cell.column);
    m_view.setEditorSelection(editor, 0, 9999);
}

void GridEditing::MoveCellEditor(Grid editor, CellMove direction) {
    if (!HideCellEditor(editor, false))
        return;
    const int row = m_view.currentRow(editor);
    const int column = m_view.currentColumn(editor);
    switch (direction) {
    case CellMove::Down:
        if (row + 3 > m_view.rowCount(editor))
            addRow(editor, false);
        m_view.setCurrentCell(editor, row + 1, column);
        break;
    case CellMove::Up:
        if (row >= 2)
            m_view.setCurrentCell(editor, row - 1, column);
        break;
    case CellMove::Stay:
        break;
    }
    ShowCellEditor(editor);
}

void GridEditing::EditorKeyDown(Grid editor, EditorKey key) {
    const int last = lastColumn(editor);
    int row = m_view.currentRow(editor);
    int column = std::min(m_view.currentColumn(editor), last);
    switch (key) {
    case EditorKey::Up:
        MoveCellEditor(editor, CellMove::Up);
        return;
    case EditorKey::Down:
        MoveCellEditor(editor, CellMove::Down);
        return;
    case EditorKey::Escape:
        HideCellEditor(editor, true);
        return;
    case EditorKey::Next:
        if (column == last) {
            column = 1;
            ++row;
            // The focus rule keeps rows below the editor; this only guards a grid that
            // was filled without them.
            if (row >= m_view.rowCount(editor))
                addRow(editor, false);
        } else if (column < last) {
            ++column;
        }
        break;
    case EditorKey::Previous:
        if (row > 1 && column == 1) {
            column = last;
            --row;
        } else if (column >= 2) {
            --column;
        }
        break;
    }
    m_view.setCurrentCell(editor, row, column);
    MoveCellEditor(editor, CellMove::Stay);
}

void GridEditing::CellCharacterTyped(Grid grid, const std::string& character) {
    m_current = grid;
    // An editor still open elsewhere (the grid got the focus without a click on a cell) keeps
    // its text in its own cell before it moves here.
    if (!HideCellEditor(grid, false))
        return;
    ShowCellEditor(grid);
    if (!m_view.editorVisible(grid))
        return;
    m_view.setEditorText(grid, character);
    m_state.dataChanged = true;
    m_view.setEditorSelection(grid, 1, 9999);
}

void GridEditing::EditorFocused(Grid editor) {
    if (m_view.currentRow(editor) + 3 > m_view.rowCount(editor))
        addRow(editor, true);
}

void GridEditing::TabControlFocused(int tab) {
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        if (tab == TabOf(grid) && !m_view.editorVisible(grid)) {
            m_current = grid;
            ShowCellEditor(grid);
        }
    }
}

bool GridEditing::GridMouseDown(Grid grid) {
    m_current = grid;
    return HideCellEditor(grid, false);
}

void GridEditing::GridClicked(Grid grid, int row, int column) {
    m_current = grid;
    if (!HideCellEditor(grid, false))
        return;
    m_view.setCurrentCell(grid, row, column);
    ShowCellEditor(grid);
}

void GridEditing::ClearButtonClicked(Grid grid) {
    m_current = grid;
    ClearGrid();
    m_view.setEditorText(grid, {});
    m_editCell[index(grid)] = m_lastCell[index(grid)] = {1, 1};
    m_view.setCurrentCell(grid, 1, 1);
    ShowCellEditor(grid);
}

bool GridEditing::TabChanged(int previousTab, int tab) {
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        if (previousTab == TabOf(grid)) {
            // Also after Esc closed the editor: the way back leads to where the user was.
            m_lastCell[index(grid)] = m_editCell[index(grid)];
            // Keep what was typed: the editor reopens with the cell's text.
            if (!HideCellEditor(grid, false))
                return false;
        }
    }
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        // Back to a refused text: the editor still holds it.
        if (tab == TabOf(grid) && m_view.editorVisible(grid)) {
            m_current = grid;
            const GridCell cell = m_editCell[index(grid)];
            m_view.showEditor(grid, cell.row, cell.column);
        } else if (tab == TabOf(grid)) {
            m_current = grid;
            const GridCell cell = m_lastCell[index(grid)];
            m_view.setCurrentCell(grid, cell.row, cell.column);
            ShowCellEditor(grid);
        }
    }
    return true;
}

void GridEditing::ResetEditorCells() {
    m_editCell = m_lastCell = {GridCell{1, 1}, GridCell{1, 1}};
}

} // namespace veltrana
