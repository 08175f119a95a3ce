#pragma once

#include "DesignProblem.h"
#include "FormView.h"
#include "GridEditing.h"
#include "ProblemBinding.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <gtest/gtest.h>

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
        int rows = 3, columns = 4; // with the header row and column
        std::map<std::pair<int, int>, std::string> cells;
        int row = 1, column = 1;
        bool editorShown = false;
        std::string editorText;
    };

    std::map<std::string, std::string, std::less<>> texts;
    std::map<std::string, bool, std::less<>> checks, enabled;
    mutable std::array<FakeGrid, 2> grids;
    int tab = 0;

    FakeFormView() { grids[1].columns = 3; }

    FakeGrid& g(Grid grid) const { return grids[grid == Grid::PassData ? 0 : 1]; }
    bool isEnabled(std::string_view c) const { return Get(enabled, c, true); }
    // Fills data rows from row 1; a row given fewer cells leaves the rest empty.
    void fill(Grid grid, const std::vector<std::vector<std::string>>& rows) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                setCellText(grid, int(r) + 1, int(c) + 1, rows[r][c]);
    }

    std::string text(std::string_view f) const override { return Get(texts, f, std::string()); }
    void setText(std::string_view f, const std::string& t) override { texts[std::string(f)] = t; }
    bool isChecked(std::string_view b) const override { return Get(checks, b, false); }
    void setChecked(std::string_view b, bool on) override { checks[std::string(b)] = on; }
    void setEnabled(std::string_view c, bool on) override { enabled[std::string(c)] = on; }
    int rowCount(Grid grid) const override { return g(grid).rows; }
    void setRowCount(Grid grid, int rows) override { resize(g(grid), rows, g(grid).columns); }
    int columnCount(Grid grid) const override { return g(grid).columns; }
    void setColumnCount(Grid grid, int columns) override { resize(g(grid), g(grid).rows, columns); }
    std::string cellText(Grid grid, int row, int column) const override {
        return Get(g(grid).cells, std::pair(row, column), std::string());
    }
    void setCellText(Grid grid, int row, int column, const std::string& t) override {
        inside(grid, row, column);
        g(grid).cells[{row, column}] = t;
    }
    void clearCells(Grid grid) override { g(grid).cells.clear(); }
    void setColumnHeaders(Grid, const std::vector<std::string>&) override {}
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
    void setEditorSelection(Grid, int, int) override {}
    void showEditor(Grid grid, int row, int column) override {
        inside(grid, row, column);
        g(grid).editorShown = true;
    }
    void hideEditor(Grid grid) override { g(grid).editorShown = false; }

private:
    template <class Map, class Key, class Value>
    static Value Get(const Map& map, const Key& key, Value fallback) {
        auto it = map.find(key);
        return it == map.end() ? fallback : it->second;
    }
    // Cells that leave the grid are gone, as on the widget.
    static void resize(FakeGrid& f, int rows, int columns) {
        f.rows = rows;
        f.columns = columns;
        std::erase_if(f.cells, [&](const auto& c) {
            return c.first.first >= rows || c.first.second >= columns;
        });
    }
    // Writing outside the grid is a fault of the logic, never of the user.
    void inside(Grid grid, int row, int column) const {
        if (row < 1 || row >= g(grid).rows || column < 1 || column >= g(grid).columns)
            throw std::out_of_range("cell outside the grid");
    }
};

/// The form's logic over the fake view, without widgets.
class FakeFormTest : public ::testing::Test {
protected:
    DesignProblem problem;
    ShellState state;
    FakeFormView view;
    ScriptedPrompter prompter;
    GridEditing grids{view, problem, state, prompter};
    ProblemBinding binding{problem, state, view, grids};
};

} // namespace veltrana
