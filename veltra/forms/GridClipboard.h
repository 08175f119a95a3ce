#pragma once

#include "FormView.h"
#include "GridEditing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

class Prompter;
struct ShellState;

/// A rectangle of data cells, counted from (1, 1), both corners included.
struct CellRange {
    int top = 1, left = 1, bottom = 1, right = 1;
    bool operator==(const CellRange&) const = default;
};

/// Text from the clipboard cut into rows of cells: TAB-, ";"-, ","- or blank-separated (the
/// first of these that the text holds), line by line; blank lines are skipped, and so are
/// empty cells at the end of a line. With TABs or ";" a number may carry a "," as its decimal
/// point. At most `maxRows` rows and `maxCells` cells of a row are kept, so that a huge
/// clipboard costs no more than the grid could take.
struct PastedRows {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths; ///< how many values each row has, kept or not
    bool commaDecimals = false;
    bool moreRows = false; ///< rows beyond maxRows were left out
};
PastedRows SplitPastedText(std::string_view text, std::size_t maxRows = SIZE_MAX,
                           std::size_t maxCells = SIZE_MAX);

/// Copy and paste of blocks of cells in the two data grids, as a spreadsheet does it, and
/// undoing the last paste.
class GridClipboard {
public:
    GridClipboard(FormView& view, GridEditing& grids, ShellState& state, Prompter& prompter);

    /// The cells of `range` as TAB-separated text, one line per row.
    std::string CopyText(Grid grid, const CellRange& range) const;

    /// Pastes `text` with its first cell at `at`, growing the grid as needed. All or
    /// nothing: a cell that is not a number, a row wider than the grid from `at` on, or rows
    /// beyond the table's limit leave the grid as it was and are reported, naming the row and
    /// column. An open editor of the grid is closed first, keeping its text. A paste marks
    /// the problem changed. False when nothing was pasted.
    bool Paste(Grid grid, GridCell at, std::string_view text);

    /// Puts back what the last paste replaced, when its cells still hold what it put there.
    /// False (and a word to the user when a paste was made) otherwise.
    bool UndoPaste();
    bool canUndoPaste() const { return m_undo.has_value(); }

private:
    struct Undo {
        Grid grid;
        CellRange range;
        int rowsBefore = 0, rowsAfter = 0;
        std::vector<std::string> before, after; // row by row
    };
    bool refuse(const std::string& why);
    std::vector<std::string> cellsOf(Grid grid, const CellRange& range) const;
    void writeCells(Grid grid, const CellRange& range, const std::vector<std::string>& texts);

    FormView& m_view;
    GridEditing& m_grids;
    ShellState& m_state;
    Prompter& m_prompter;
    std::optional<Undo> m_undo;
};

} // namespace veltrana
