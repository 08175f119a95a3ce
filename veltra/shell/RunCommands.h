#pragma once

#include "DesignProblem.h"
#include "FileCommands.h"
#include "FormBinding.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "ShellState.h"
#include "Startup.h"

#include <string>
#include <vector>

namespace veltrana {

inline constexpr const char* kListingName = "~Veltra.out";

/// One start of the optimiser: `program` with its five arguments, run in `workingDir`,
/// writing the listing `listing`; `inputFile` is what the progress window names.
struct OptimiserRequest {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDir;
    std::string listing;
    std::string inputFile;
    bool operator==(const OptimiserRequest&) const = default;
};

/// How a started optimiser ended.
struct RunEnd {
    enum class How { Exited, Crashed, Cancelled };
    How how = How::Exited;
    int exitCode = 0; ///< for Exited
};

/// What a run needs of the window around it.
class RunHost {
public:
    virtual ~RunHost() = default;
    /// Starts the optimiser without waiting for it; RunCommands::RunEnded follows once it
    /// has ended. False when it could not be started at all.
    virtual bool startOptimiser(const OptimiserRequest& request) = 0;
    /// Enables or disables those of the named controls that the window has.
    virtual void setControlsEnabled(const std::vector<std::string>& names, bool enabled) = 0;
};

/// Submit, the run of the optimiser as a child process, and the View menu.
class RunCommands {
public:
    RunCommands(ShellState& state, FormBinding& form, FileCommands& files, Prompter& prompter,
                RegistryStore& store, RunHost& host, ProgramLauncher launch,
                ArgumentLauncher launchWith);

    /// cmdSubmit and mnuFileSubmit: Submit with run mode "*". The six run controls stay
    /// disabled while the optimiser runs and come back when it ends, however it ends.
    void SubmitCommand();
    /// Makes sure the current file is saved, then runs it.
    void Submit();
    /// Records where the optimiser will write the result of directory/name as `fileIn`.
    /// False after telling the user that it could not be recorded.
    bool MakeResultFileName(const std::string& name, const std::string& directory);
    /// Starts the optimiser on the current file name and directory, in the current run mode,
    /// without waiting. False when no run was started (the user has been told why).
    bool RunOptimiser();
    /// As above for directory/name, leaving the current file as it is (a demo run).
    bool RunOptimiser(const std::string& name, const std::string& directory);
    /// The optimiser has ended: the controls come back and, after a good run, `plots` starts
    /// with its results; otherwise the user learns why and nothing starts.
    void RunEnded(const RunEnd& end);

    /// View > Last Output: the listing of the last run in the suite's viewer.
    void ViewLastOutput();
    /// View > Plots and View Past Plots.
    void ViewPlots();

    /// Whether an optimiser started here is still running.
    bool running() const { return m_running; }
    /// While a run goes on, tells the user that another must wait and gives true.
    bool refuseWhileRunning();
    /// The program ends while a run goes on: the run's result will never be written.
    void abandonRunForExit();

    /// The controls a Submit run takes away while the optimiser runs.
    static const std::vector<std::string>& RunControls();
    std::string listingPath() const;
    std::string optimiserPath() const;
    std::string viewerPath() const;

private:
    void takeControls();
    void restoreControls();
    void missingFile();
    std::string fullPath() const;
    void abandonRun();

    ShellState& m_state;
    FormBinding& m_form;
    FileCommands& m_files;
    Prompter& m_prompter;
    RegistryStore& m_store;
    RunHost& m_host;
    ProgramLauncher m_launch;
    ArgumentLauncher m_launchWith;
    bool m_controlsTaken = false;
    bool m_running = false;
    std::string m_resultFile; ///< where the running optimiser writes its result
};

/// The optimiser's five arguments for input file directory/name: the name, the directory,
/// the family directory, its first two characters, and the first two characters of
/// "<name> <directory>".
std::vector<std::string> OptimiserArguments(const std::string& name, const std::string& directory,
                                            const std::string& familyDir);

/// The last `count` lines of a text file, joined by "\r\n"; "" when it cannot be read.
std::string LastLines(const std::string& path, int count);

} // namespace veltrana
