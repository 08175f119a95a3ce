#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "FormView.h"

#include <string_view>

namespace veltrana {

struct DesignProblem;
struct ShellState;
class GridEditing;

/// The transfers between the design problem and the main form's controls, the rules that
/// switch dependent fields on and off, and the optimiser settings tab.
class ProblemBinding {
public:
    ProblemBinding(DesignProblem& problem, ShellState& state, FormView& view, GridEditing& grids);

    /// Puts the start values into every field, note and setting.
    void ShowStartValues();
    /// Form to record: answers, counted points, notes and settings. False when a value still
    /// open in a cell editor was refused; its cell's earlier value goes into the record.
    bool PutAnswers();
    /// Record to form; clears the data-changed flag.
    void GetAnswers();
    void ClearBoth();
    /// PassData gets its weight column while chkUseWeights is checked.
    void ShowWeightColumn();
    /// Applies all five enabling rules.
    void RefreshEnabling();
    /// The focus left `control`: applies the enabling rule it decides, if any.
    void FieldLeft(std::string_view control);
    /// The user clicked chkUseWeights: keeps the weights across hiding and showing.
    void UseWeightsClicked();
    /// A field, note, setting or check box was edited.
    void FieldChanged();

    void PutSolvAnswers();
    void GetSolvAnswers();
    void clearSolvdata();
    void EnableSolverFields(bool on);
    /// "&Edit Defaults": the optimiser's defaults become the problem's own settings.
    void EditDefaults();
    /// "&Use Defaults": the problem carries no settings.
    void UseDefaults();

    /// Whether the field selects its whole text on receiving the focus.
    static bool SelectsAllOnFocus(std::string_view control);

private:
    void applyDelayRule();
    void applySigmaPoleRule();
    void applySigmaZeroRule();
    void applyOmegaZeroRule();
    void applyPairsRule();
    int completeRows(Grid grid, int columns) const;
    using Column = const std::vector<std::string>*;
    void fillGrid(Grid grid, int points, std::initializer_list<Column> columns);

    DesignProblem& m_problem;
    ShellState& m_state;
    FormView& m_view;
    GridEditing& m_grids;
};

} // namespace veltrana
