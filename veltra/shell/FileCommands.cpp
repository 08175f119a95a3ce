#include "FileCommands.h"

#include "FileRoutines.h"
#include "Settings.h"
#include "Startup.h"
#include "Text.h"

#include <algorithm>
#include <cctype>

namespace veltrana {

namespace {

constexpr int kMaxRetries = 3;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

FileCommands::FileCommands(ShellState& state, DesignProblem& problem, FormBinding& form,
                           Prompter& prompter, RegistryStore& store, Clock clock)
    : m_state(state), m_problem(problem), m_form(form), m_prompter(prompter), m_store(store),
      m_clock(std::move(clock)) {}

std::string FileCommands::currentDirectory() const {
    std::string cwd = CurrentDirectory();
    return cwd.empty() ? m_state.userDir : cwd;
}

void FileCommands::report(const char* routine, const FileError& error, const std::string& path) {
    HandleFileError(m_prompter, routine, error, path);
}

bool FileCommands::AskSaveChanges() {
    m_form.PutAnswers();
    if (!m_state.dataChanged)
        return false;
    switch (m_prompter.message({"Save current data?", "Data in form has changed!",
                                PromptIcon::Question, PromptButtons::YesNoCancel})) {
    case PromptAnswer::Yes:
        return !FileSaveAs();
    case PromptAnswer::No:
        return false;
    default:
        return true;
    }
}

void FileCommands::FileNew() {
    if (AskSaveChanges())
        return;
    if (m_prompter.message({"Okay to Clear responses?", "Confirm 'New' Response.",
                            PromptIcon::Question, PromptButtons::OkCancel}) != PromptAnswer::Ok)
        return;
    m_problem.clear();
    m_form.ClearBoth();
    m_state.currentFileName = kNewDataName;
    m_state.currentDir = currentDirectory();
    m_form.GetAnswers();
    m_state.dataChanged = false;
    ShowFilename(m_state, m_form);
}

void FileCommands::FileOld() {
    // Also for "New data": a problem typed in after File > New would go without a word.
    if (AskSaveChanges())
        return;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Open Input File";
    request.filters = {{"All Files (*.*)", "*.*"},
                       {"Input Files (*.?\?)", "*.?;*.?\?"},
                       {"Example Input Files (Ex-*.*)", "Ex-*.*"}};
    request.filterIndex = 2;
    request.initialDir = m_state.dialogInitialDir;
    auto chosen = m_prompter.fileDialog(request);
    if (!chosen)
        return;
    PathParts parts = SplitPath(chosen->path, currentDirectory());
    if (parts.directory.empty())
        parts.directory = currentDirectory();
    ReportStoreProblem(m_store, SaveLastFilePath(m_store, parts.directory), m_prompter);
    m_state.dialogInitialDir = parts.directory;

    // Read into a copy: a file that cannot be read leaves the form and its data alone.
    DesignProblem read = m_problem;
    ReadOutcome outcome = ReadOutcome::Unreadable;
    for (int attempt = 0; attempt <= kMaxRetries; ++attempt) {
        FileError error;
        outcome = FileReadMe(parts.name, parts.directory, read, m_prompter, &error);
        if (outcome != ReadOutcome::Unreadable)
            break;
        std::string shown = error.number == kErrDeviceMissing ? parts.name : chosen->path;
        if (HandleFileError(m_prompter, "FileOld", error, shown) != ErrorOutcome::Retry)
            break;
    }
    if (outcome == ReadOutcome::Unreadable || outcome == ReadOutcome::Missing)
        return;
    m_problem = std::move(read);
    m_state.currentFileName = parts.name;
    m_state.currentDir = parts.directory;
    m_form.GetAnswers();
    m_state.dataChanged = false;
    ShowFilename(m_state, m_form);
}

void FileCommands::save(const std::string& routine) {
    m_form.PutAnswers();
    if (std::string lost = UnsavableText(m_problem);
        !lost.empty() &&
        m_prompter.message({"Some characters of \"" + LeftChars(lost, 60) +
                                "\" cannot be saved in an input file; they would be saved "
                                "as \"?\".\r\n\r\nSave anyway?",
                            "Characters will be lost", PromptIcon::Exclamation,
                            PromptButtons::OkCancel}) != PromptAnswer::Ok) {
        m_state.writeFailed = 1;
        return;
    }
    auto error = WriteAnsFile(m_problem, m_state.currentFileName, m_state.currentDir, m_state,
                              m_prompter, m_clock);
    if (error)
        report(routine.c_str(), *error, JoinPath(m_state.currentDir, m_state.currentFileName));
    // Data that did not reach the disk stays marked as changed, so it is offered again.
    if (m_state.writeFailed == 0)
        m_state.dataChanged = false;
}

void FileCommands::FileSave() {
    m_state.writeFailed = 0;
    if (!FileExists(JoinPath(m_state.currentDir, m_state.currentFileName), m_prompter)) {
        FileSaveAs();
        return;
    }
    save("FileSave");
    ShowFilename(m_state, m_form);
}

bool FileCommands::FileSaveAs() {
    m_state.writeFailed = 0;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = "Save Input File As ...";
    request.filters = {{"All Files (*.*)", "*.*"}, {"Text Files (*.txt)", "*.txt"}};
    request.filterIndex = 1;
    request.initialDir = m_state.dialogInitialDir;
    request.fileName = SaveAsProposal(m_state.currentFileName);
    auto chosen = m_prompter.fileDialog(request);
    if (!chosen)
        return false;
    if (FileExists(chosen->path, m_prompter) &&
        m_prompter.message({"Replace " + Lower(chosen->path) + " file?",
                            "File exists, want to replace it?", PromptIcon::Question,
                            PromptButtons::YesNo}) != PromptAnswer::Yes)
        return false;
    PathParts parts = SplitPath(chosen->path, currentDirectory());
    m_state.currentFileName = parts.name;
    m_state.currentDir = parts.directory.empty() ? currentDirectory() : parts.directory;
    m_state.dialogInitialDir = m_state.currentDir;
    save("FileSaveAs");
    ShowFilename(m_state, m_form);
    if (m_state.writeFailed != 0) {
        m_state.writeFailed = 0;
        return false;
    }
    return true;
}

void FileCommands::FileDelete() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Select File to be Deleted";
    request.filters = {{"All Files (*.*)", "*.*"}};
    request.filterIndex = 1;
    request.initialDir = m_state.dialogInitialDir;
    request.fileName = "*.*";
    request.allowWildcards = true;
    auto chosen = m_prompter.fileDialog(request);
    if (!chosen)
        return;
    if (FileExists(chosen->path, m_prompter) &&
        m_prompter.message({"Delete '" + chosen->path + "' File.", "Confirm Delete?",
                            PromptIcon::Question, PromptButtons::YesNo}) == PromptAnswer::Yes) {
        DeleteResult result = DeleteMatching(chosen->path);
        if (!result.error.ok())
            report("FileDelete", result.error, chosen->path);
    }
    m_state.dialogInitialDir = SplitPath(chosen->path, currentDirectory()).directory;
}

void FileCommands::runMenu(MenuCommand command) {
    switch (command) {
    case MenuCommand::New:
        FileNew();
        break;
    case MenuCommand::Open:
        FileOld();
        break;
    case MenuCommand::Save:
        FileSave();
        break;
    case MenuCommand::SaveAs:
        FileSaveAs();
        break;
    }
    m_state.writeFailed = 0;
}

bool FileCommands::mayExit() {
    return !AskSaveChanges();
}

std::string SaveAsProposal(const std::string& currentFileName) {
    return currentFileName.substr(0, currentFileName.find('.')) + ".*";
}

} // namespace veltrana
