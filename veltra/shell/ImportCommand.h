#pragma once

#include "DesignProblem.h"
#include "FormBinding.h"
#include "MeasuredFile.h"
#include "MeasuredResponse.h"
#include "Prompter.h"
#include "ShellState.h"

#include <functional>
#include <optional>
#include <string>

namespace veltrana {

/// File > Import Data ...: measured data from a file (Touchstone or a text table) into the
/// pass-band table of the current problem, and its delay table on request.
class ImportCommand {
public:
    /// Asks the user's choices for a file read; nothing when the user cancelled.
    using ChoiceDialog = std::function<std::optional<ImportChoices>(const MeasuredFile&)>;

    ImportCommand(ShellState& state, DesignProblem& problem, FormBinding& form, Prompter& prompter,
                  ChoiceDialog askChoices);

    /// Asks for the file, reads it, asks the choices and imports. Nothing in the problem
    /// changes unless the import completes; then the problem is marked changed. True when it
    /// was changed.
    bool ImportData();

private:
    void report(const std::string& path, const ImportError& error);

    ShellState& m_state;
    DesignProblem& m_problem;
    FormBinding& m_form;
    Prompter& m_prompter;
    ChoiceDialog m_askChoices;
    std::string m_lastDir; ///< where the last import came from
};

} // namespace veltrana
