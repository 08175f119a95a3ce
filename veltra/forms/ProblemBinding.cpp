#include "ProblemBinding.h"

#include "DesignProblem.h"
#include "FormTexts.h"
#include "GridEditing.h"
#include "ShellState.h"
#include "Text.h"

#include <algorithm>

namespace veltrana {

namespace {

bool IsCheckBox(std::string_view control) {
    return control.starts_with("chk");
}
bool IsYes(const std::string& answer) {
    return answer == "Y" || answer == "y";
}

// Records read from damaged or hand-edited files may hold fewer entries than their counts.
const std::string& Entry(const std::vector<std::string>& values, int i) {
    static const std::string empty;
    return i >= 0 && static_cast<std::size_t>(i) < values.size() ? values[i] : empty;
}

std::string CountText(int count) {
    return " " + std::to_string(count);
}

} // namespace

ProblemBinding::ProblemBinding(DesignProblem& problem, ShellState& state, FormView& view,
                               GridEditing& grids)
    : m_problem(problem), m_state(state), m_view(view), m_grids(grids) {}

void ProblemBinding::ShowStartValues() {
    for (auto control : forms::kSlotControls)
        if (IsCheckBox(control))
            m_view.setChecked(control, false);
    for (auto [field, text] : forms::kFieldStartTexts)
        m_view.setText(field, std::string(text));
    m_view.setText("Note1", std::string(forms::kNote1Start));
    m_view.setText("Note2", std::string(forms::kNote2Start));
    for (int i = 0; i < forms::kSolverCount; ++i)
        m_view.setText(forms::kSolverFields[i], std::string(forms::kSolverStartTexts[i]));
}

void ProblemBinding::fillGrid(Grid grid, int points, std::initializer_list<Column> columns) {
    m_grids.setCurrentGrid(grid);
    m_view.beginBulkUpdate(grid);
    // One row per point in a single step, then the trailing one that ends the table.
    m_view.setRowCount(grid, m_view.rowCount(grid) + points);
    for (int i = 1; i <= points; ++i) {
        int column = 1;
        for (Column values : columns)
            m_view.setCellText(grid, i, column++, Entry(*values, i));
    }
    m_grids.AddGridRow(true);
    m_view.endBulkUpdate(grid);
    m_view.setEditorText(grid, points > 0 ? Entry(**columns.begin(), 1) : "");
}

int ProblemBinding::completeRows(Grid grid, int columns) const {
    const int rows = m_view.rowCount(grid);
    for (int row = 1; row < rows; ++row)
        for (int column = 1; column <= columns; ++column)
            if (TrimBlanks(m_view.cellText(grid, row, column)).empty())
                return row - 1;
    return std::max(rows - 1, 0);
}

bool ProblemBinding::PutAnswers() {
    // A value still being typed when Save or Submit is chosen belongs to the problem.
    const bool accepted =
        m_grids.CommitCellEditor(Grid::PassData) && m_grids.CommitCellEditor(Grid::DelayData);
    auto& answers = m_problem.Answers;
    for (std::size_t slot = 0; slot < forms::kSlotControls.size(); ++slot) {
        const auto control = forms::kSlotControls[slot];
        if (control.empty())
            continue;
        answers[slot] =
            IsCheckBox(control) ? (m_view.isChecked(control) ? "Y" : "N") : m_view.text(control);
    }
    answers[SlotZeroCounts] = m_view.text(forms::kZeroCountFields[0]) + " " +
                              m_view.text(forms::kZeroCountFields[1]) + " " +
                              m_view.text(forms::kZeroCountFields[2]);

    const int freqPoints = completeRows(Grid::PassData, 3);
    const int delayPoints = completeRows(Grid::DelayData, 2);
    m_problem.nFreqPoints = freqPoints;
    m_problem.nDelayPoints = delayPoints;
    answers[SlotFreqCount] = CountText(freqPoints);
    answers[SlotDelayCount] = CountText(delayPoints);

    m_problem.Note1 = m_view.text("Note1");
    m_problem.Note2 = m_view.text("Note2");

    const bool weights = m_view.isChecked("chkUseWeights");
    if (freqPoints < 1) {
        for (auto* a : {&m_problem.Freq, &m_problem.Yin, &m_problem.Yout, &m_problem.Weight})
            a->assign(1, {});
    } else {
        const std::size_t size = static_cast<std::size_t>(m_view.rowCount(Grid::PassData)) + 1;
        for (auto* a : {&m_problem.Freq, &m_problem.Yin, &m_problem.Yout})
            a->assign(size, {});
        // Hidden weights stay as they are: the column is not on the grid to read them from.
        if (weights)
            m_problem.Weight.assign(size, {});
        const bool weightColumn = m_view.columnCount(Grid::PassData) >= 5;
        for (int i = 1; i <= freqPoints; ++i) {
            m_problem.Freq[i] = TrimBlanks(m_view.cellText(Grid::PassData, i, 1));
            m_problem.Yin[i] = TrimBlanks(m_view.cellText(Grid::PassData, i, 2));
            m_problem.Yout[i] = TrimBlanks(m_view.cellText(Grid::PassData, i, 3));
            if (weights && weightColumn)
                m_problem.Weight[i] = TrimBlanks(m_view.cellText(Grid::PassData, i, 4));
        }
    }
    if (delayPoints < 1) {
        m_problem.DelFreq.assign(1, {});
        m_problem.TX.assign(1, {});
    } else {
        const std::size_t size = static_cast<std::size_t>(m_view.rowCount(Grid::DelayData)) + 1;
        m_problem.DelFreq.assign(size, {});
        m_problem.TX.assign(size, {});
        for (int i = 1; i <= delayPoints; ++i) {
            m_problem.DelFreq[i] = TrimBlanks(m_view.cellText(Grid::DelayData, i, 1));
            m_problem.TX[i] = TrimBlanks(m_view.cellText(Grid::DelayData, i, 2));
        }
    }

    PutSolvAnswers();
    const bool anySetting =
        std::any_of(m_problem.SolverAnswers.begin(), m_problem.SolverAnswers.end(),
                    [](const std::string& s) { return !s.empty(); });
    m_problem.nSolverLines = anySetting ? DesignProblem::kSolverSettings : 0;
    ShowWeightColumn();
    return accepted;
}

void ProblemBinding::GetAnswers() {
    const auto& answers = m_problem.Answers;
    for (std::size_t slot = 0; slot < forms::kSlotControls.size(); ++slot) {
        const auto control = forms::kSlotControls[slot];
        if (control.empty())
            continue;
        if (IsCheckBox(control)) {
            m_view.setChecked(control, IsYes(answers[slot]));
            // The grid follows the box at once, so that the weights below find their column.
            if (slot == SlotUseWeights)
                ShowWeightColumn();
        } else {
            m_view.setText(control, answers[slot]);
        }
    }
    const std::string& counts = answers[SlotZeroCounts];
    const auto pieces =
        counts.empty() ? std::vector<std::string>{"0", "0", "0"} : SplitAt(counts, ' ');
    for (std::size_t i = 0; i < forms::kZeroCountFields.size(); ++i)
        m_view.setText(forms::kZeroCountFields[i], i < pieces.size() ? pieces[i] : std::string());

    // A count larger than the stored points would only add empty rows (or exhaust memory
    // on a damaged file): show the points that exist.
    auto pointCount = [](const std::string& slotText, const std::vector<std::string>& first) {
        const int n = RoundToInt(NumericValue(slotText));
        return std::clamp(n, 0, std::max(static_cast<int>(first.size()) - 1, 0));
    };
    m_grids.setCurrentGrid(Grid::PassData);
    m_grids.ClearGrid();
    m_problem.nFreqPoints = pointCount(answers[SlotFreqCount], m_problem.Freq);
    m_grids.setCurrentGrid(Grid::DelayData);
    m_grids.ClearGrid();
    m_problem.nDelayPoints = pointCount(answers[SlotDelayCount], m_problem.DelFreq);

    m_view.setText("Note1", m_problem.Note1);
    m_view.setText("Note2", m_problem.Note2);

    const auto& p = m_problem;
    if (m_view.isChecked("chkUseWeights"))
        fillGrid(Grid::PassData, p.nFreqPoints, {&p.Freq, &p.Yin, &p.Yout, &p.Weight});
    else
        fillGrid(Grid::PassData, p.nFreqPoints, {&p.Freq, &p.Yin, &p.Yout});
    fillGrid(Grid::DelayData, p.nDelayPoints, {&p.DelFreq, &p.TX});
    m_grids.ResetEditorCells();

    GetSolvAnswers();
    ShowWeightColumn();
    RefreshEnabling();
    // On a grid's tab the new problem's first cell is ready for typing, as after a click;
    // the row this may add is part of the loaded problem, not an edit.
    m_grids.TabControlFocused(m_view.shownTab());
    m_state.dataChanged = false;
}

void ProblemBinding::ClearBoth() {
    m_grids.setCurrentGrid(Grid::PassData);
    m_grids.ClearGrid();
    m_grids.setCurrentGrid(Grid::DelayData);
    m_grids.ClearGrid();
}

void ProblemBinding::ShowWeightColumn() {
    m_view.setColumnCount(Grid::PassData, m_view.isChecked("chkUseWeights") ? 5 : 4);
    m_grids.FormatGrid(Grid::PassData);
}

void ProblemBinding::UseWeightsClicked() {
    // A weight still open in the cell editor goes into its cell while the column exists; a
    // refused one keeps the column until it is mended.
    if (!m_grids.HideCellEditor(Grid::PassData, false)) {
        m_view.setChecked("chkUseWeights", m_view.columnCount(Grid::PassData) == 5);
        return;
    }
    const int rows = std::min(m_problem.nFreqPoints, m_view.rowCount(Grid::PassData) - 1);
    if (m_view.columnCount(Grid::PassData) == 5) {
        auto& weight = m_problem.Weight;
        if (rows >= 1 && weight.size() <= static_cast<std::size_t>(rows))
            weight.resize(static_cast<std::size_t>(rows) + 1);
        for (int i = 1; i <= rows; ++i)
            weight[i] = TrimBlanks(m_view.cellText(Grid::PassData, i, 4));
    }
    m_state.dataChanged = true;
    ShowWeightColumn();
    if (m_view.columnCount(Grid::PassData) == 5) {
        // Points without a stored weight keep an empty cell; the file gives them 1.00.
        const int stored = static_cast<int>(m_problem.Weight.size()) - 1;
        for (int i = 1; i <= std::min(rows, stored); ++i)
            m_view.setCellText(Grid::PassData, i, 4, m_problem.Weight[i]);
    }
}

void ProblemBinding::FieldChanged() {
    m_state.dataChanged = true;
}

void ProblemBinding::applyDelayRule() {
    const bool on = m_view.isChecked("chkEqualDelay");
    m_view.setEnabled("tmin", on);
    m_view.setEnabled("DelRipplePower", on);
}

void ProblemBinding::applySigmaPoleRule() {
    const std::string poles = TrimBlanks(m_view.text("nPoles"));
    m_view.setEnabled("sigmaPoles", poles.empty() || poles.front() != '0');
}

void ProblemBinding::applySigmaZeroRule() {
    const bool on = m_view.isChecked("chkSigmaZero");
    m_view.setEnabled("chkLossless", on);
    m_view.setEnabled("chkDoublet", on);
    m_view.setEnabled("sigmaZero", on);
}

void ProblemBinding::applyOmegaZeroRule() {
    m_view.setEnabled("Yzero", NumericValue(m_view.text("nYzeros")) != 0);
}

void ProblemBinding::applyPairsRule() {
    const bool on =
        NumericValue(m_view.text("nZquads")) + NumericValue(m_view.text("nZpairs")) != 0;
    m_view.setEnabled("Zreal", on);
    m_view.setEnabled("Zimag", on);
}

void ProblemBinding::RefreshEnabling() {
    applyDelayRule();
    applySigmaPoleRule();
    applySigmaZeroRule();
    applyOmegaZeroRule();
    applyPairsRule();
}

void ProblemBinding::FieldLeft(std::string_view control) {
    if (control == "chkEqualDelay")
        applyDelayRule();
    else if (control == "nPoles")
        applySigmaPoleRule();
    else if (control == "chkSigmaZero")
        applySigmaZeroRule();
    else if (control == "nYzeros")
        applyOmegaZeroRule();
    else if (control == "nZpairs" || control == "nZquads")
        applyPairsRule();
}

void ProblemBinding::PutSolvAnswers() {
    for (int i = 0; i < forms::kSolverCount; ++i)
        m_problem.SolverAnswers[i] = m_view.text(forms::kSolverFields[i]);
}

void ProblemBinding::GetSolvAnswers() {
    for (int i = 0; i < forms::kSolverCount; ++i)
        m_view.setText(forms::kSolverFields[i], m_problem.SolverAnswers[i]);
    EnableSolverFields(!(m_view.text("Remax") + m_view.text("Detail")).empty());
}

void ProblemBinding::clearSolvdata() {
    for (auto field : forms::kSolverFields)
        m_view.setText(field, {});
}

void ProblemBinding::EnableSolverFields(bool on) {
    for (auto field : forms::kSolverFields)
        m_view.setEnabled(field, on);
}

void ProblemBinding::EditDefaults() {
    for (int i = 0; i < forms::kSolverCount; ++i)
        m_view.setText(forms::kSolverFields[i], std::string(forms::kSolverEditDefaults[i]));
    EnableSolverFields(true);
}

void ProblemBinding::UseDefaults() {
    clearSolvdata();
    EnableSolverFields(false);
}

bool ProblemBinding::SelectsAllOnFocus(std::string_view control) {
    return std::find(forms::kSelectAllOnFocus.begin(), forms::kSelectAllOnFocus.end(), control) !=
           forms::kSelectAllOnFocus.end();
}

} // namespace veltrana
