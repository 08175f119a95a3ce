#include "RunCommands.h"

#include "CheckedFile.h"
#include "ErrorScheme.h"
#include "FileRoutines.h"
#include "GrowingFile.h"
#include "InputFile.h"
#include "ResultFileName.h"
#include "Settings.h"
#include "Text.h"

#include <cstdio>
#include <deque>
#include <unistd.h>

namespace veltrana {

namespace {

constexpr int kTailLines = 8;

bool IsProgram(const std::string& path) {
    return FileExists(path) && ::access(path.c_str(), X_OK) == 0;
}

std::string WhyItStopped(const std::string& listing) {
    std::string tail = LastLines(listing, kTailLines);
    if (tail.empty())
        return "The listing " + listing + " says nothing more.";
    return "Last lines of " + listing + ":\r\n" + DecodeText(tail);
}

} // namespace

RunCommands::RunCommands(ShellState& state, FormBinding& form, FileCommands& files,
                         Prompter& prompter, RegistryStore& store, RunHost& host,
                         ProgramLauncher launch, ArgumentLauncher launchWith)
    : m_state(state), m_form(form), m_files(files), m_prompter(prompter), m_store(store),
      m_host(host), m_launch(std::move(launch)), m_launchWith(std::move(launchWith)) {}

const std::vector<std::string>& RunCommands::RunControls() {
    static const std::vector<std::string> names{"cmdSubmit", "cmdPlots", "mnuFile",
                                                "mnuDemos",  "mnuView",  "mnuHelp"};
    return names;
}

std::string RunCommands::listingPath() const {
    return JoinPath(m_state.userDir, kListingName);
}
std::string RunCommands::optimiserPath() const {
    return JoinPath(m_state.familyDir, "optimiser");
}
std::string RunCommands::viewerPath() const {
    return JoinPath(JoinPath(m_state.familyDir, "List"), "list");
}
std::string RunCommands::fullPath() const {
    return JoinPath(m_state.currentDir, m_state.currentFileName);
}

void RunCommands::takeControls() {
    m_host.setControlsEnabled(RunControls(), false);
    m_controlsTaken = true;
}

void RunCommands::restoreControls() {
    if (m_controlsTaken)
        m_host.setControlsEnabled(RunControls(), true);
    m_controlsTaken = false;
}

bool RunCommands::refuseWhileRunning() {
    if (m_running)
        m_prompter.message({"The optimiser is still running. Wait for it to end, or press Cancel "
                            "in its progress window, before starting another run.",
                            "Run in progress", PromptIcon::Exclamation, PromptButtons::Ok});
    return m_running;
}

void RunCommands::abandonRunForExit() {
    // Else the next start would hand plots a result file this run never wrote.
    if (m_running)
        SaveFileIn(m_store, "");
    m_resultFile.clear();
}

void RunCommands::missingFile() {
    m_prompter.message({std::string("Re-Install ") + kProductName +
                            " Program; if this continues please contact us.  Try running a "
                            "Demo and see if this error occurs.",
                        std::string("A ") + kProductName + " File is missing!",
                        PromptIcon::Exclamation, PromptButtons::Ok});
}

void RunCommands::SubmitCommand() {
    if (refuseWhileRunning())
        return;
    m_state.runMode = "*";
    Submit();
    if (!m_running) {
        m_state.runMode = " ";
        restoreControls();
    }
}

void RunCommands::Submit() {
    m_form.PutAnswers();
    std::string full = fullPath();
    if (FileExists(full, m_prompter)) {
        // No: the file runs as it is on disk, without the changes in the form.
        if (m_state.dataChanged && m_files.AskSaveChanges())
            return;
        if (!MakeResultFileName(m_state.currentFileName, m_state.currentDir))
            return;
        takeControls();
        RunOptimiser();
        return;
    }
    if (m_prompter.message({"Okay to save '" + full + "' now?", "Data -not- saved!",
                            PromptIcon::Question, PromptButtons::OkCancel}) != PromptAnswer::Ok)
        return;
    const bool startUp = m_state.currentFileName == kStartupFileName;
    if (startUp)
        m_state.currentFileName = "*.*";
    if (!m_files.FileSaveAs()) {
        // "*.*" was only the dialog's proposal: left as the current name, a later Save
        // would take it for a pattern matching every file of the directory.
        if (startUp && m_state.currentFileName == "*.*")
            m_state.currentFileName = kStartupFileName;
        return;
    }
    if (m_state.writeFailed == 0) {
        full = fullPath();
        if (TrimBlanks(m_state.currentFileName).empty()) {
            if (m_prompter.message({"Please save file with any valid name and re-run.",
                                    "Filename is null or blank!", PromptIcon::Exclamation,
                                    PromptButtons::YesNo}) == PromptAnswer::Yes)
                m_files.FileSaveAs();
        } else if (FileExists(full, m_prompter)) {
            m_files.FileSave();
            if (m_state.writeFailed == 0 &&
                MakeResultFileName(m_state.currentFileName, m_state.currentDir)) {
                takeControls();
                RunOptimiser();
            }
        } else if (m_prompter.message({"Please save file and re-run.",
                                       "'" + full + "' is non-existent!", PromptIcon::Exclamation,
                                       PromptButtons::YesNo}) == PromptAnswer::Yes) {
            m_files.FileSave();
        }
    }
    m_state.writeFailed = 0;
}

bool RunCommands::MakeResultFileName(const std::string& name, const std::string& directory) {
    RegError error = SaveFileIn(m_store, ResultFilePath(name, directory));
    if (error.ok())
        return true;
    m_prompter.message({"The result file could not be recorded for Plots: " + error.description,
                        "Run not started", PromptIcon::Exclamation, PromptButtons::Ok});
    return false;
}

std::vector<std::string> OptimiserArguments(const std::string& name, const std::string& directory,
                                            const std::string& familyDir) {
    return {name, directory, familyDir, LeftChars(familyDir, 2),
            LeftChars(name + " " + directory, 2)};
}

bool RunCommands::RunOptimiser() {
    return RunOptimiser(m_state.currentFileName, m_state.currentDir);
}

void RunCommands::abandonRun() {
    missingFile();
    // No run, so no result for plots to look for at the next start.
    SaveFileIn(m_store, "");
    m_state.runMode = " ";
    restoreControls();
}

bool RunCommands::RunOptimiser(const std::string& name, const std::string& directory) {
    if (refuseWhileRunning())
        return false;
    OptimiserRequest request;
    request.program = optimiserPath();
    request.listing = listingPath();
    if (!IsProgram(request.program)) {
        abandonRun();
        return false;
    }
    if (directory != "null")
        SaveLastFilePath(m_store, directory);
    // The optimiser gets the file's real directory, wherever the file lies.
    request.arguments = OptimiserArguments(name, directory, m_state.familyDir);
    request.workingDir = m_state.userDir;
    request.inputFile = JoinPath(directory, name);
    // The last run's listing would pass for this run's until the optimiser replaced it.
    std::remove(request.listing.c_str());
    if (!m_host.startOptimiser(request)) {
        abandonRun();
        return false;
    }
    m_running = true;
    // Kept here, where MakeResultFileName put it: plots clears `fileIn` whenever an earlier
    // window of it closes.
    m_resultFile = ResultFilePath(name, directory);
    return true;
}

void RunCommands::RunEnded(const RunEnd& end) {
    m_running = false;
    m_state.runMode = " ";
    restoreControls();
    const std::string listing = listingPath();
    std::string failure;
    if (end.how == RunEnd::How::Cancelled) {
        SaveFileIn(m_store, "");
        m_prompter.message({"The run was cancelled and the optimiser ended. The input file and "
                            "the form are as they were.",
                            "Run cancelled", PromptIcon::Information, PromptButtons::Ok});
        return;
    }
    const std::string result = m_resultFile;
    if (end.how == RunEnd::How::Crashed)
        failure = "The optimiser ended abnormally (it crashed or was killed).";
    else if (end.exitCode != 0)
        failure = "The optimiser stopped with exit status " + std::to_string(end.exitCode) + ".";
    else if (!result.empty() && !FileExists(result))
        failure = "The optimiser reported success but wrote no result file " + result + ".";
    if (!failure.empty()) {
        // The named file holds no result of this run: plots must not take it up later.
        SaveFileIn(m_store, "");
        m_prompter.message({failure + "\r\n\r\n" + WhyItStopped(listing), "Run failed",
                            PromptIcon::Exclamation, PromptButtons::Ok});
        return;
    }
    if (result.empty())
        return;
    if (const RegError error = SaveFileIn(m_store, result); !error.ok()) {
        ReportStoreProblem(m_store, error, m_prompter);
        return;
    }
    StartPlots(m_state, m_prompter, m_launch);
}

void RunCommands::ViewLastOutput() {
    const std::string listing = listingPath();
    if (!FileExists(listing)) {
        m_prompter.message({"Try a 'Submit' command then retry this View option.",
                            listing + " file not found.", PromptIcon::Exclamation,
                            PromptButtons::Ok});
        return;
    }
    const std::string viewer = viewerPath();
    if (!IsProgram(viewer) || !m_launchWith(viewer, {listing}))
        missingFile();
}

void RunCommands::ViewPlots() {
    StartPlots(m_state, m_prompter, m_launch);
}

std::string LastLines(const std::string& path, int count) {
    // The listing's end says why a run stopped; reading no more than that keeps a huge file, a
    // pipe or a device where the listing should be harmless.
    constexpr std::size_t kTailBytes = 8192;
    CheckedFile file;
    FileStamp stamp;
    if (!file.open(path, CheckedFile::kNoLimit).ok() || !file.stamp(stamp).ok())
        return {};
    const std::uint64_t from = stamp.size > kTailBytes ? stamp.size - kTailBytes : 0;
    std::string bytes(kTailBytes, '\0');
    std::size_t got = 0;
    if (!file.readAt(from, bytes.data(), bytes.size(), got).ok())
        return {};
    bytes.resize(got);
    std::deque<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // The first line may have begun before the bytes read.
        lines.push_back(start == 0 && from > 0 ? "..." + line : line);
        if (static_cast<int>(lines.size()) > count)
            lines.pop_front();
        start = end + 1;
    }
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : "\r\n") + lines[i];
    return text;
}

} // namespace veltrana
