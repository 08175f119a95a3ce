#pragma once

#include "FormView.h"

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace veltrana {

// In-memory controls: what the form's logic sees of the widgets, nothing more.
class FakeFormView : public FormView {
public:
    struct FakeGrid {
        int rows = 3;
        int columns = 4;
        std::map<std::pair<int, int>, std::string> cells;
        std::vector<std::string> headers;
        int row = 1;
        int column = 1;
        bool editorShown = false;
        std::string editorText;
        int selectionStart = 0;
        int selectionLength = 0;
    };

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, bool, std::less<>> checks;
    std::map<std::string, bool, std::less<>> enabled;
    std::array<FakeGrid, 2> grids;

    FakeFormView() { grids[1].columns = 3; }
    int tab = 0;

    FakeGrid& g(Grid grid) { return grids[grid == Grid::PassData ? 0 : 1]; }
    const FakeGrid& g(Grid grid) const { return grids[grid == Grid::PassData ? 0 : 1]; }
    bool isEnabled(std::string_view c) const {
        auto it = enabled.find(c);
        return it == enabled.end() || it->second;
    }
    // Fills data rows from row 1; a row given fewer cells leaves the rest empty.
    void fill(Grid grid, const std::vector<std::vector<std::string>>& rows) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                setCellText(grid, int(r) + 1, int(c) + 1, rows[r][c]);
    }

    std::string text(std::string_view f) const override {
        auto it = texts.find(f);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(std::string_view f, const std::string& t) override {
        texts.insert_or_assign(std::string(f), t);
    }
    bool isChecked(std::string_view b) const override {
        auto it = checks.find(b);
        return it != checks.end() && it->second;
    }
    void setChecked(std::string_view b, bool on) override {
        checks.insert_or_assign(std::string(b), on);
    }
    void setEnabled(std::string_view c, bool on) override {
        enabled.insert_or_assign(std::string(c), on);
    }
    int rowCount(Grid grid) const override { return g(grid).rows; }
    void setRowCount(Grid grid, int rows) override {
        g(grid).rows = rows;
        std::erase_if(g(grid).cells, [rows](const auto& c) { return c.first.first >= rows; });
    }
    int columnCount(Grid grid) const override { return g(grid).columns; }
    void setColumnCount(Grid grid, int columns) override {
        g(grid).columns = columns;
        std::erase_if(g(grid).cells,
                      [columns](const auto& c) { return c.first.second >= columns; });
    }
    std::string cellText(Grid grid, int row, int column) const override {
        auto it = g(grid).cells.find({row, column});
        return it == g(grid).cells.end() ? std::string() : it->second;
    }
    void setCellText(Grid grid, int row, int column, const std::string& t) override {
        // Writing outside the grid is a fault of the logic, never of the user.
        if (row < 1 || row >= g(grid).rows || column < 1 || column >= g(grid).columns)
            throw std::out_of_range("cell outside the grid");
        g(grid).cells[{row, column}] = t;
    }
    void clearCells(Grid grid) override { g(grid).cells.clear(); }
    void setColumnHeaders(Grid grid, const std::vector<std::string>& h) override {
        g(grid).headers = h;
    }
    int currentRow(Grid grid) const override { return g(grid).row; }
    int currentColumn(Grid grid) const override { return g(grid).column; }
    void setCurrentCell(Grid grid, int row, int column) override {
        g(grid).row = row;
        g(grid).column = column;
    }
    int shownTab() const override { return tab; }
    bool editorVisible(Grid grid) const override { return g(grid).editorShown; }
    std::string editorText(Grid grid) const override { return g(grid).editorText; }
    void setEditorText(Grid grid, const std::string& t) override { g(grid).editorText = t; }
    void setEditorSelection(Grid grid, int start, int length) override {
        g(grid).selectionStart = start;
        g(grid).selectionLength = length;
    }
    void showEditor(Grid grid, int row, int column) override {
        if (row < 1 || row >= g(grid).rows || column < 1 || column >= g(grid).columns)
            throw std::out_of_range("editor outside the grid");
        g(grid).editorShown = true;
    }
    void hideEditor(Grid grid) override { g(grid).editorShown = false; }
};

} // namespace veltrana
