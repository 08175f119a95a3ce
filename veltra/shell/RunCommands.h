#pragma once

#include "DesignProblem.h"
#include "FileCommands.h"
#include "FileStamp.h"
#include "FormBinding.h"
#include "Prompter.h"
#include "RegistryStore.h"
#include "RunLock.h"
#include "ShellState.h"
#include "Startup.h"

#include <string>
#include <vector>

namespace veltrana {

inline constexpr const char* kListingName = "~Veltra.out";

/// One start of the optimiser: `program` with its five arguments, run in `workingDir`,
/// writing the listing `listing`; `inputFile` is what the progress window names. `lockFd`,
/// when not -1, is the run lock's descriptor, which the child inherits and runs under.
struct OptimiserRequest {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDir;
    std::string listing;
    std::string inputFile;
    int lockFd = -1;
    bool operator==(const OptimiserRequest&) const = default;
};

/// How a started optimiser ended.
struct RunEnd {
    enum class How { Exited, Crashed, Cancelled };
    How how = How::Exited;
    int exitCode = 0;        ///< for Exited
    std::string errorOutput; ///< the end of what it wrote on stderr
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
    /// Makes sure the current file is saved, then runs it: unless the optimiser would refuse
    /// the problem (the user is told why in its words), or the user keeps a result of another
    /// input file that the run would replace.
    void Submit();
    /// Prepares `fileIn` for a run of directory/name: it names no result until this run has
    /// written one (RunEnded records it), so that a start of `veltra` or `plots` in between,
    /// or after a killed `veltra`, never takes up an older file. False after telling the
    /// user that the settings store cannot be written.
    bool MakeResultFileName(const std::string& name, const std::string& directory);
    /// Starts the optimiser on the current file name and directory, in the current run mode,
    /// without waiting. False when no run was started (the user has been told why).
    bool RunOptimiser();
    /// As above for directory/name, leaving the current file as it is (a demo run). The run
    /// holds the listing's run lock from here to its end, and hands it to the optimiser; while
    /// another run (of this or another process) holds it, the user is told whose run it is.
    bool RunOptimiser(const std::string& name, const std::string& directory);
    /// The optimiser has ended: the controls come back and, after a good run that wrote its
    /// result file, `plots` starts with it; otherwise the user learns why (from the listing
    /// when this run wrote one, and from the optimiser's error output) and nothing starts.
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
    bool problemRefused(const std::string& name, const std::string& directory);
    bool otherResultKept(const std::string& name, const std::string& directory);
    bool takeRunLock(const std::string& inputFile);
    void runCurrentFile();
    std::string whyItStopped(const RunEnd& end) const;

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
    RunLock m_lock;
    FileStamp m_resultBefore;  ///< what stood at m_resultFile when the run began
    FileStamp m_listingBefore; ///< and at the listing, once it was removed
};

/// The optimiser's five arguments for input file directory/name: the name, the directory,
/// the family directory, its first two characters, and the first two characters of
/// "<name> <directory>".
std::vector<std::string> OptimiserArguments(const std::string& name, const std::string& directory,
                                            const std::string& familyDir);

/// The last `count` lines of a text file, joined by "\r\n"; "" when it cannot be read.
std::string LastLines(const std::string& path, int count);
/// The last `count` lines of a text, joined by "\r\n".
std::string LastLinesOf(std::string text, int count);

} // namespace veltrana
