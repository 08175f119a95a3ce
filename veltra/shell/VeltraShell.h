#pragma once

#include "DesignProblem.h"
#include "FileCommands.h"
#include "FormBinding.h"
#include "HelpCommands.h"
#include "ImportCommand.h"
#include "MainForm.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "RunCommands.h"
#include "ShellState.h"
#include "Startup.h"

#include <QKeySequence>
#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace veltrana {

class IntroForm;
class ManualWindow;
class OptimiserRun;

/// The design program's window and its commands: the intro form, the main form with the File,
/// Demos, View and Help menus, wired to the file commands, start-up, the demos, the optimiser
/// run and `plots`.
class VeltraShell : public QObject, private FormBinding, private RunHost {
    Q_OBJECT

public:
    /// `prompter` answers every message and dialog; the Qt one when none is given.
    explicit VeltraShell(Prompter* prompter = nullptr,
                         StartupEnvironment env = SystemEnvironment());
    ~VeltraShell() override;

    /// Runs the main form's start-up and shows it. False when the program has to end.
    bool start();
    /// The program's first step: makes `executableDir` the current directory; when it holds
    /// no product ini file (a first start), records the association of output files and
    /// shows the intro form, otherwise goes straight on to start(). False when the program
    /// has to end.
    bool startWithIntro(const std::string& executableDir);

    /// Demo mode offers only the Demos tab and disables the File, Demos and View menus;
    /// normal mode offers every other tab with the menus enabled.
    void setDemoMode(bool on);
    /// The Demos tab's Run Demo: hands the chosen example in the user directory to runDemo,
    /// leaving the form and the current file as they are.
    void RunDemo();
    /// Demos > Run Demo: offers unsaved changes first, then demo mode.
    void DemosMenuRun();
    /// View > Example File: an example file chosen in the user directory opens in the viewer.
    void ViewExampleFile();
    /// Starts the suite's text viewer `<familyDir>/List/list` on `path`, detached; tells the
    /// user when it is missing or cannot be started.
    bool openInViewer(const std::string& path);
    void HelpManual();
    void HelpEmailSupport();
    void HelpAbout();

    /// Runs the optimiser on directory/fileName in run mode "Demo" without reading it into
    /// the form. RunDemo calls it once `fileIn` names the result file and the run mode is
    /// "Demo"; the current file name and directory are those of the form, not the demo's.
    /// The shell connects it to RunOptimiser (name, directory); tests replace it.
    std::function<void(const std::string& fileName, const std::string& directory)> runDemo;
    /// Starts a program detached with its arguments; false when it could not be started.
    std::function<bool(const std::string& program, const std::vector<std::string>& args)>
        startDetached;
    /// Desktop services of the help commands.
    Desktop desktop;

    IntroForm* intro() const { return m_intro.get(); }
    ManualWindow* manualWindow() const { return m_manual.get(); }

    /// Closes the window without asking and ends the event loop: the end of a fatal error.
    void ExitProgram();

    /// Hands the current input file to the optimiser without waiting for it: a progress
    /// window follows the run and, when the run went well, `plots` comes up with its results.
    /// It works from the shell state's current file name and directory and its run mode.
    /// False when no run was started (the user has been told why, a run going on included).
    bool RunOptimiser();
    /// The same for directory/name, leaving the current file and the form alone. A demo run
    /// records the result path and sets the run mode first:
    ///     runCommands().MakeResultFileName("Ex-Yzero.01", state().userDir);
    ///     state().runMode = "Demo";
    ///     RunOptimiser("Ex-Yzero.01", state().userDir);
    /// Only Submit (run mode "*") disables controls; the run mode is " " again once the run
    /// has ended, and the progress window shows the demo's listing like any other.
    bool RunOptimiser(const std::string& name, const std::string& directory);

    MainForm& form() { return *m_form; }
    RunCommands& runCommands() { return *m_runCommands; }
    OptimiserRun& optimiserRun() { return *m_run; }
    FileCommands& commands() { return *m_commands; }
    ImportCommand& importCommand() { return *m_import; }
    ShellState& state() { return m_state; }
    DesignProblem& problem() { return m_problem; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool PutAnswers() override;
    void GetAnswers() override;
    void ClearBoth() override;
    void setCaption(const std::string& caption) override;

    bool startOptimiser(const OptimiserRequest& request) override;
    void setControlsEnabled(const std::vector<std::string>& names, bool enabled) override;

    void buildFileMenu();
    void buildDemosMenu();
    void buildViewMenu();
    void addViewExampleItem();
    void buildHelpMenu();
    QMenu* menuNamed(const char* name, const char* title);
    void showManualWindow(const std::string& path);
    QAction* addItem(QMenu* menu, const char* name, const char* text,
                     const QKeySequence& shortcut = {});

    DesignProblem m_problem;
    ShellState m_state;
    RegistryStore m_store;
    StartupEnvironment m_env;
    QtPrompter m_qtPrompter;
    Prompter& m_prompter;
    std::unique_ptr<MainForm> m_form;
    std::unique_ptr<FileCommands> m_commands;
    std::unique_ptr<ImportCommand> m_import;
    std::unique_ptr<IntroForm> m_intro;
    std::unique_ptr<ManualWindow> m_manual;
    std::unique_ptr<OptimiserRun> m_run;
    std::unique_ptr<RunCommands> m_runCommands;
    bool m_exiting = false;
};

} // namespace veltrana
