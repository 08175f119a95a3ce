#pragma once

#include "FormResizer.h"
#include "FormView.h"
#include "GridEditing.h"
#include "ProblemBinding.h"

#include <QMainWindow>

#include <array>
#include <map>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace veltrana {

class DemosPage;
struct DesignProblem;
struct ShellState;
class Prompter;

/// frmMain: the tabbed form on which the user edits the one design problem. Every control
/// carries its name as objectName; control arrays are named "name_index". The form does not
/// read the start-up values file nor set its caption: the shell does, then calls GetAnswers
/// or PutAnswers and clears the data-changed flag.
class MainForm : public QMainWindow, private FormView {
    Q_OBJECT

public:
    MainForm(DesignProblem& problem, ShellState& state, Prompter& prompter,
             QWidget* parent = nullptr);
    ~MainForm() override;

    /// Form to record, before every save or run. False when a value still open in a cell
    /// editor was refused (the user has been told; its cell keeps its earlier value).
    bool PutAnswers();
    /// Record to form, after every load or File New; clears the data-changed flag.
    void GetAnswers();
    /// Empties both grids.
    void ClearBoth();
    /// PassData shows the Weight column exactly while chkUseWeights is checked.
    void ShowWeightColumn();
    /// Switches every dependent field on or off from the fields it depends on.
    void RefreshEnabling();
    void PutSolvAnswers();
    void GetSolvAnswers();
    void clearSolvdata();
    void EnableSolverFields(bool on);
    /// The start-up column widths of both grids, in pixels of the design geometry.
    void SizeGridColumns();
    /// Scales every control to the form's inner area (run on every resize of it); open cell
    /// editors stay over their cells.
    void ResizeControls();

    /// The grid behaviour (current grid, editor cells), for the shell's commands and tests.
    GridEditing& gridEditing() { return m_grids; }
    QTabWidget* tabs() const { return m_tabs; }
    /// The Demos tab's page; the tab itself stays unavailable until demos are offered.
    DemosPage* demosPage() const { return m_demos; }
    /// Makes every tab of ODE_Tabs available or unavailable.
    void SetAllTabsEnabled(bool enabled);

signals:
    /// cmdSubmit was pressed.
    void submitRequested();
    /// cmdPlots was pressed: the plotting program is to be started.
    void plotsRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // FormView
    std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;
    bool isChecked(std::string_view box) const override;
    void setChecked(std::string_view box, bool checked) override;
    void setEnabled(std::string_view control, bool enabled) override;
    int rowCount(Grid grid) const override;
    void setRowCount(Grid grid, int rows) override;
    int columnCount(Grid grid) const override;
    void setColumnCount(Grid grid, int columns) override;
    std::string cellText(Grid grid, int row, int column) const override;
    void setCellText(Grid grid, int row, int column, const std::string& text) override;
    void clearCells(Grid grid) override;
    void setColumnHeaders(Grid grid, const std::vector<std::string>& headers) override;
    void setColumnsCentred(Grid grid, const std::vector<bool>& centred) override;
    int currentRow(Grid grid) const override;
    int currentColumn(Grid grid) const override;
    void setCurrentCell(Grid grid, int row, int column) override;
    void beginBulkUpdate(Grid grid) override;
    void endBulkUpdate(Grid grid) override;
    int shownTab() const override;
    bool editorVisible(Grid grid) const override;
    std::string editorText(Grid grid) const override;
    void setEditorText(Grid grid, const std::string& text) override;
    void setEditorSelection(Grid grid, int start, int length) override;
    void showEditor(Grid grid, int row, int column) override;
    void hideEditor(Grid grid) override;

    void buildStartTab();
    void buildPolesTab();
    void buildMiscTab();
    void buildPassTab();
    void buildDelayTab();
    void buildSolverTab();
    void buildRunTab();
    QLabel* addLabel(QWidget* page, const QString& name, std::string_view caption, QRect geometry);
    QLineEdit* addField(QWidget* page, const QString& name, QRect geometry);
    QCheckBox* addCheck(QWidget* page, const QString& name, QRect geometry);
    QPushButton* addButton(QWidget* page, const QString& name, std::string_view caption,
                           QRect geometry);
    QLabel* question(int number) const { return m_questions[number - 1]; }
    void placeEditor(Grid grid);
    void fitGridColumns(Grid grid, int gridWidth);
    Qt::Alignment cellAlignment(Grid grid, int column) const;
    void focusFirstControl(int tab);
    void connectControls();
    static std::size_t index(Grid grid) { return grid == Grid::PassData ? 0 : 1; }

    DesignProblem& m_problem;
    ShellState& m_state;
    Prompter& m_prompter;
    GridEditing m_grids;
    ProblemBinding m_binding;

    QTabWidget* m_tabs = nullptr;
    std::array<QWidget*, 8> m_pages{};
    DemosPage* m_demos = nullptr;
    std::array<QLabel*, 22> m_questions{};
    std::array<QTableWidget*, 2> m_table{};
    std::array<QLineEdit*, 2> m_editor{};
    std::map<std::string, QLineEdit*, std::less<>> m_fields;
    std::map<std::string, QCheckBox*, std::less<>> m_checks;
    std::array<std::vector<bool>, 2> m_centred; // per data column, from the format string
    int m_shownTab = 0;
    bool m_shownOnce = false;
    FormResizer m_resizer;
};

} // namespace veltrana
