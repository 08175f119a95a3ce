#pragma once

#include "DesignProblem.h"
#include "ErrorScheme.h"
#include "FormBinding.h"
#include "InputFile.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "ShellState.h"

#include <string>

namespace veltrana {

inline constexpr const char* kNewDataName = "New data";

/// The File menu's commands on the one design problem. Nothing here ends the program: an
/// unexpected error is shown and the form keeps its data.
class FileCommands {
public:
    FileCommands(ShellState& state, DesignProblem& problem, FormBinding& form, Prompter& prompter,
                 RegistryStore& store, Clock clock = LocalNow);

    /// Offers to save changed data. True when the user cancelled (or the save failed).
    bool AskSaveChanges();
    void FileNew();
    void FileOld();
    void FileSave();
    /// True when the file was written.
    bool FileSaveAs();
    void FileDelete();

    enum class MenuCommand { New, Open, Save, SaveAs };
    /// A File menu item: the command, then the write-failed flag is cleared.
    void runMenu(MenuCommand command);

    /// Whether the program may end: unsaved changes are offered for saving first.
    bool mayExit();

private:
    std::string currentDirectory() const;
    // Shows a failure of a command that has no answer but to go on.
    void report(const char* routine, const FileError& error, const std::string& path);
    void save(const std::string& routine);

    ShellState& m_state;
    DesignProblem& m_problem;
    FormBinding& m_form;
    Prompter& m_prompter;
    RegistryStore& m_store;
    Clock m_clock;
};

/// Initial name of the Save As dialog: the name up to its first "." followed by ".*".
std::string SaveAsProposal(const std::string& currentFileName);

} // namespace veltrana
