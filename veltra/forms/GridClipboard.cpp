#include "GridClipboard.h"

#include "NumberText.h"
#include "ProblemCheck.h"
#include "Prompter.h"
#include "ShellState.h"

#include <algorithm>
#include <array>

namespace veltrana {

namespace {

constexpr const char* kTitle = "Paste";
constexpr const char* kNothing = "Nothing was pasted: ";

std::string_view Trimmed(std::string_view text, const char* blanks = " \t") {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ColumnLabel(Grid grid, int column) {
    static constexpr std::array<const char*, 4> kPass = {"Frequency", "Yin", "Yout", "Weight"};
    static constexpr std::array<const char*, 2> kDelay = {"Frequency", "Delay (tx)"};
    const std::string name = grid == Grid::PassData
                                 ? kPass.at(static_cast<std::size_t>(column - 1))
                                 : kDelay.at(static_cast<std::size_t>(column - 1));
    return "column " + std::to_string(column) + " (" + name + ")";
}

// The cell's text as the grid takes it, or nothing when it is no number. An empty cell
// empties the grid's cell.
std::optional<std::string> CellText(std::string_view cell, bool commaDecimals) {
    std::string text(cell);
    if (text.empty())
        return text;
    if (commaDecimals && std::count(text.begin(), text.end(), ',') == 1 &&
        text.find('.') == std::string::npos)
        std::replace(text.begin(), text.end(), ',', '.');
    if (!ParseNumber(text))
        return std::nullopt;
    return text;
}

} // namespace

PastedRows SplitPastedText(std::string_view text, std::size_t maxRows, std::size_t maxCells) {
    PastedRows pasted;
    const char separator = text.find('\t') != std::string_view::npos  ? '\t'
                           : text.find(';') != std::string_view::npos ? ';'
                           : text.find(',') != std::string_view::npos ? ','
                                                                      : ' ';
    pasted.commaDecimals = separator == '\t' || separator == ';';
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        // Leading TABs of TAB-separated text stand for empty cells.
        const std::string_view line =
            Trimmed(text.substr(pos, end == std::string_view::npos ? end : end - pos),
                    separator == '\t' ? " " : " \t");
        pos = end == std::string_view::npos ? text.size() : end + 1;
        std::vector<std::string> cells;
        std::size_t count = 0, width = 0;
        for (std::size_t from = 0; from <= line.size();) {
            std::size_t to = line.find(separator, from);
            if (to == std::string_view::npos)
                to = line.size();
            const std::string_view cell = Trimmed(line.substr(from, to - from));
            from = to + 1;
            if (separator == ' ' && cell.empty()) // runs of blanks are one separator
                continue;
            if (count++ < maxCells)
                cells.emplace_back(cell);
            if (!cell.empty())
                width = count;
        }
        if (width == 0)
            continue;
        if (pasted.cells.size() == maxRows) {
            pasted.moreRows = true;
            break;
        }
        cells.resize(std::min(width, cells.size()));
        pasted.cells.push_back(std::move(cells));
        pasted.widths.push_back(width);
    }
    return pasted;
}

GridClipboard::GridClipboard(FormView& view, GridEditing& grids, ShellState& state,
                             Prompter& prompter)
    : m_view(view), m_grids(grids), m_state(state), m_prompter(prompter) {}

std::string GridClipboard::CopyText(Grid grid, const CellRange& range) const {
    std::string text;
    for (int row = range.top; row <= range.bottom; ++row) {
        if (row > range.top)
            text += '\n';
        for (int column = range.left; column <= range.right; ++column) {
            if (column > range.left)
                text += '\t';
            text += m_view.cellText(grid, row, column);
        }
    }
    return text;
}

bool GridClipboard::refuse(const std::string& why) {
    m_prompter.message({kNothing + why, kTitle, PromptIcon::Exclamation, PromptButtons::Ok});
    return false;
}

bool GridClipboard::Paste(Grid grid, GridCell at, std::string_view text) {
    // What the editor holds is the user's own: it is in its cell before the paste looks.
    m_grids.CommitCellEditor(grid);
    const int lastColumn = m_view.columnCount(grid) - 1;
    const PastedRows pasted =
        SplitPastedText(text, static_cast<std::size_t>(std::max(kMaxTablePoints - at.row + 1, 0)),
                        static_cast<std::size_t>(std::max(lastColumn - at.column + 2, 1)));
    if (pasted.moreRows)
        return refuse("the rows would reach beyond row " + std::to_string(kMaxTablePoints) +
                      ", and the " + (grid == Grid::PassData ? "pass-band" : "delay") +
                      " table holds at most " + std::to_string(kMaxTablePoints) + " points.");
    if (pasted.cells.empty())
        return refuse("the clipboard holds no text.");
    const int rows = static_cast<int>(pasted.cells.size());
    const int bottom = at.row + rows - 1;
    int right = at.column;
    std::vector<std::string> texts; // row by row, each as wide as the widest
    for (const auto& cells : pasted.cells)
        right = std::max(right, at.column + static_cast<int>(cells.size()) - 1);
    const int width = right - at.column + 1;
    texts.reserve(static_cast<std::size_t>(rows * width));
    for (int r = 0; r < rows; ++r) {
        const auto& cells = pasted.cells[static_cast<std::size_t>(r)];
        const std::size_t values = pasted.widths[static_cast<std::size_t>(r)];
        const int row = at.row + r;
        if (values > cells.size() || at.column + static_cast<int>(values) - 1 > lastColumn)
            return refuse("row " + std::to_string(row) + " would get " + std::to_string(values) +
                          " values from " + ColumnLabel(grid, at.column) +
                          " on, and the grid has " + std::to_string(lastColumn - at.column + 1) +
                          " columns from there.");
        for (int c = 0; c < width; ++c) {
            if (static_cast<std::size_t>(c) >= cells.size()) {
                // A shorter row leaves the cells right of it as they are.
                texts.push_back(m_view.cellText(grid, row, at.column + c));
                continue;
            }
            const std::string& cell = cells[static_cast<std::size_t>(c)];
            const std::optional<std::string> value = CellText(cell, pasted.commaDecimals);
            if (!value)
                return refuse("row " + std::to_string(row) + ", " +
                              ColumnLabel(grid, at.column + c) + " would get '" +
                              cell.substr(0, 40) + "', which is not a number.");
            texts.push_back(*value);
        }
    }

    m_grids.HideCellEditor(grid, true);
    Undo undo{grid, {at.row, at.column, bottom, right}, m_view.rowCount(grid), 0, {}, texts};
    m_view.beginBulkUpdate(grid);
    // Two empty rows stay below the last one, as typing leaves them.
    if (m_view.rowCount(grid) < bottom + 3) {
        m_view.setRowCount(grid, bottom + 3);
        m_grids.FormatGrid(grid);
    }
    undo.before = cellsOf(grid, undo.range);
    writeCells(grid, undo.range, texts);
    m_view.endBulkUpdate(grid);
    m_state.dataChanged = true;
    m_view.setCurrentCell(grid, at.row, at.column);
    m_grids.setCurrentGrid(grid);
    m_grids.ShowCellEditor(grid);
    undo.rowsAfter = m_view.rowCount(grid);
    m_undo = std::move(undo);
    return true;
}

bool GridClipboard::UndoPaste() {
    if (!m_undo)
        return false;
    Undo undo = std::move(*m_undo);
    m_undo.reset();
    const Grid grid = undo.grid;
    m_grids.HideCellEditor(grid, false);
    if (m_view.rowCount(grid) <= undo.range.bottom || cellsOf(grid, undo.range) != undo.after) {
        m_prompter.message({"The last paste cannot be undone: its cells have been changed since.",
                            kTitle, PromptIcon::Exclamation, PromptButtons::Ok});
        return false;
    }
    m_view.beginBulkUpdate(grid);
    writeCells(grid, undo.range, undo.before);
    if (m_view.rowCount(grid) == undo.rowsAfter && undo.rowsBefore < undo.rowsAfter) {
        m_view.setRowCount(grid, undo.rowsBefore);
        m_grids.FormatGrid(grid);
    }
    m_view.endBulkUpdate(grid);
    m_state.dataChanged = true;
    m_view.setCurrentCell(grid, undo.range.top, undo.range.left);
    m_grids.setCurrentGrid(grid);
    m_grids.ShowCellEditor(grid);
    return true;
}

std::vector<std::string> GridClipboard::cellsOf(Grid grid, const CellRange& range) const {
    std::vector<std::string> texts;
    for (int row = range.top; row <= range.bottom; ++row)
        for (int column = range.left; column <= range.right; ++column)
            texts.push_back(m_view.cellText(grid, row, column));
    return texts;
}

void GridClipboard::writeCells(Grid grid, const CellRange& range,
                               const std::vector<std::string>& texts) {
    std::size_t i = 0;
    for (int row = range.top; row <= range.bottom; ++row)
        for (int column = range.left; column <= range.right; ++column)
            m_view.setCellText(grid, row, column, texts[i++]);
}

} // namespace veltrana
