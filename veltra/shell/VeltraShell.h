#pragma once

#include "DesignProblem.h"
#include "FileCommands.h"
#include "FormBinding.h"
#include "MainForm.h"
#include "QtPrompter.h"
#include "RegistryStore.h"
#include "ShellState.h"
#include "Startup.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;

namespace veltrana {

/// The design program's window and its commands: the main form with the File menu, wired to
/// the file commands, start-up and `plots`.
class VeltraShell : public QObject, private FormBinding {
    Q_OBJECT

public:
    /// `prompter` answers every message and dialog; the Qt one when none is given.
    explicit VeltraShell(Prompter* prompter = nullptr,
                         StartupEnvironment env = SystemEnvironment());
    ~VeltraShell() override;

    /// Runs the main form's start-up and shows it. False when the program has to end.
    bool start();

    /// Closes the window without asking and ends the event loop: the end of a fatal error.
    void ExitProgram();

    MainForm& form() { return *m_form; }
    FileCommands& commands() { return *m_commands; }
    ShellState& state() { return m_state; }
    DesignProblem& problem() { return m_problem; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PutAnswers() override;
    void GetAnswers() override;
    void ClearBoth() override;
    void setCaption(const std::string& caption) override;

    void buildFileMenu();
    QAction* addItem(QMenu* menu, const char* name, const char* text);

    DesignProblem m_problem;
    ShellState m_state;
    RegistryStore m_store;
    StartupEnvironment m_env;
    QtPrompter m_qtPrompter;
    Prompter& m_prompter;
    std::unique_ptr<MainForm> m_form;
    std::unique_ptr<FileCommands> m_commands;
    bool m_exiting = false;
};

} // namespace veltrana
