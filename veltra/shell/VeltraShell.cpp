#include "VeltraShell.h"

#include "OptimiserRun.h"
#include "ProgressWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace veltrana {

VeltraShell::VeltraShell(Prompter* prompter, StartupEnvironment env)
    : m_env(std::move(env)), m_prompter(prompter ? *prompter : m_qtPrompter) {
    m_form = std::make_unique<MainForm>(m_problem, m_state, m_prompter);
    m_qtPrompter.setParent(m_form.get());
    FormBinding& binding = *this;
    m_commands = std::make_unique<FileCommands>(m_state, m_problem, binding, m_prompter, m_store);
    RunHost& host = *this;
    m_runCommands = std::make_unique<RunCommands>(m_state, binding, *m_commands, m_prompter,
                                                  m_store, host, m_env.launch, m_env.launchWith);
    m_run = std::make_unique<OptimiserRun>(
        [this](const RunEnd& end) { m_runCommands->RunEnded(end); }, m_form.get());
    buildFileMenu();
    buildViewMenu();
    m_form->installEventFilter(this);
    connect(m_form.get(), &MainForm::submitRequested, this,
            [this] { m_runCommands->SubmitCommand(); });
    connect(m_form.get(), &MainForm::plotsRequested, this, [this] { m_runCommands->ViewPlots(); });
}

VeltraShell::~VeltraShell() = default;

bool VeltraShell::start() {
    if (!LoadMainForm(m_state, m_problem, *this, m_prompter, m_store, m_env)) {
        ExitProgram();
        return false;
    }
    m_form->show();
    if (auto* first = m_form->findChild<QWidget*>("chkEqualDelay"))
        first->setFocus();
    return true;
}

QAction* VeltraShell::addItem(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(name);
    return action;
}

void VeltraShell::buildFileMenu() {
    QMenu* file = m_form->menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    connect(addItem(file, "mnuFileNew", "&New"), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::New); });
    connect(addItem(file, "mnuFileOpen", "&Open ..."), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::Open); });
    connect(addItem(file, "mnuFileSave", "&Save"), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::Save); });
    connect(addItem(file, "mnuFileSaveAs", "Save &As ..."), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::SaveAs); });
    connect(addItem(file, "mnuFileDelete", "&Delete ..."), &QAction::triggered, this,
            [this] { m_commands->FileDelete(); });
    file->addSeparator();
    connect(addItem(file, "mnuFileSubmit", "Submit &Run"), &QAction::triggered, this,
            [this] { m_runCommands->SubmitCommand(); });
    file->addSeparator();
    connect(addItem(file, "mnuFileExit", "E&xit"), &QAction::triggered, m_form.get(),
            &QWidget::close);
}

void VeltraShell::buildViewMenu() {
    // The demos may have begun the menu with its first item, Example File.
    QMenu* view = m_form->menuBar()->findChild<QMenu*>("mnuView");
    if (!view) {
        view = m_form->menuBar()->addMenu("&View");
        view->setObjectName("mnuView");
    }
    if (!view->findChild<QAction*>("mnuViewDemos"))
        addItem(view, "mnuViewDemos", "&Example File ...")->setEnabled(false);
    connect(addItem(view, "mnuViewOutput", "&Last Output ..."), &QAction::triggered, this,
            [this] { m_runCommands->ViewLastOutput(); });
    connect(addItem(view, "mnuViewPlots", "&Plots ..."), &QAction::triggered, this,
            [this] { m_runCommands->ViewPlots(); });
}

bool VeltraShell::RunOptimiser() {
    return m_runCommands->RunOptimiser();
}

bool VeltraShell::RunOptimiser(const std::string& name, const std::string& directory) {
    return m_runCommands->RunOptimiser(name, directory);
}

bool VeltraShell::startOptimiser(const OptimiserRequest& request) {
    return m_run->start(request);
}

void VeltraShell::setControlsEnabled(const std::vector<std::string>& names, bool enabled) {
    for (const auto& name : names) {
        const QString objectName = QString::fromStdString(name);
        if (auto* menu = m_form->findChild<QMenu*>(objectName))
            menu->menuAction()->setEnabled(enabled);
        else if (auto* button = m_form->findChild<QPushButton*>(objectName))
            button->setEnabled(enabled);
        else if (auto* action = m_form->findChild<QAction*>(objectName))
            action->setEnabled(enabled);
    }
}

void VeltraShell::ExitProgram() {
    m_exiting = true;
    m_form->close();
    QCoreApplication::exit(1);
}

bool VeltraShell::eventFilter(QObject* watched, QEvent* event) {
    // Closing the window, from the title bar or File > Exit, offers unsaved changes first;
    // a run still going on ends with the program, so that is asked too.
    if (watched == m_form.get() && event->type() == QEvent::Close && !m_exiting) {
        if (m_runCommands->running() &&
            m_prompter.message({"The optimiser is still running. End it and exit?",
                                "Run in progress", PromptIcon::Question, PromptButtons::YesNo}) !=
                PromptAnswer::Yes) {
            event->ignore();
            return true;
        }
        if (!m_commands->mayExit()) {
            event->ignore();
            return true;
        }
        // The child ends with the program; its window must not keep the program alive.
        m_run->window().hide();
    }
    return QObject::eventFilter(watched, event);
}

void VeltraShell::PutAnswers() {
    m_form->PutAnswers();
}
void VeltraShell::GetAnswers() {
    m_form->GetAnswers();
}
void VeltraShell::ClearBoth() {
    m_form->ClearBoth();
}
void VeltraShell::setCaption(const std::string& caption) {
    m_form->setWindowTitle(QString::fromStdString(caption));
}

} // namespace veltrana
