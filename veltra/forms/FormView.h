#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// The two data grids of the main form.
enum class Grid { PassData, DelayData };

/// What the form's logic needs of the controls, without a widget toolkit. Controls are named
/// by their objectName. Grid rows and columns count the fixed header row 0 and the fixed
/// row-number column 0, so data cells start at (1, 1) and a grid of 3 rows has 2 data rows.
class FormView {
public:
    virtual ~FormView() = default;

    /// Text of a single-line text field.
    virtual std::string text(std::string_view field) const = 0;
    virtual void setText(std::string_view field, const std::string& text) = 0;
    /// State of a check box.
    virtual bool isChecked(std::string_view box) const = 0;
    virtual void setChecked(std::string_view box, bool checked) = 0;
    virtual void setEnabled(std::string_view control, bool enabled) = 0;

    virtual int rowCount(Grid grid) const = 0;
    virtual void setRowCount(Grid grid, int rows) = 0;
    virtual int columnCount(Grid grid) const = 0;
    virtual void setColumnCount(Grid grid, int columns) = 0;
    virtual std::string cellText(Grid grid, int row, int column) const = 0;
    virtual void setCellText(Grid grid, int row, int column, const std::string& text) = 0;
    /// Empties every data cell; rows, columns and widths stay.
    virtual void clearCells(Grid grid) = 0;
    /// Header texts of the data columns, from column 1 on; row headers show the row numbers.
    virtual void setColumnHeaders(Grid grid, const std::vector<std::string>& headers) = 0;
    /// Which data columns, from column 1 on, centre their cells; a view may ignore it.
    virtual void setColumnsCentred(Grid, const std::vector<bool>&) {}
    virtual int currentRow(Grid grid) const = 0;
    virtual int currentColumn(Grid grid) const = 0;
    virtual void setCurrentCell(Grid grid, int row, int column) = 0;
    /// Many cell writes follow: the view may defer repainting until endBulkUpdate.
    virtual void beginBulkUpdate(Grid) {}
    virtual void endBulkUpdate(Grid) {}

    /// Index of the tab shown by ODE_Tabs.
    virtual int shownTab() const = 0;

    virtual bool editorVisible(Grid grid) const = 0;
    virtual std::string editorText(Grid grid) const = 0;
    virtual void setEditorText(Grid grid, const std::string& text) = 0;
    /// Selects `length` characters from `start` (clipped to the text); the caret ends the
    /// selection.
    virtual void setEditorSelection(Grid grid, int start, int length) = 0;
    /// Lays the grid's cell editor over the cell (its rectangle less one pixel each way),
    /// shows it in front and gives it the focus.
    virtual void showEditor(Grid grid, int row, int column) = 0;
    /// Hides the cell editor; the focus returns to its grid when the editor had it.
    virtual void hideEditor(Grid grid) = 0;
};

} // namespace veltrana
