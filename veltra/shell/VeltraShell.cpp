#include "VeltraShell.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

namespace veltrana {

VeltraShell::VeltraShell(Prompter* prompter, StartupEnvironment env)
    : m_env(std::move(env)), m_prompter(prompter ? *prompter : m_qtPrompter) {
    m_form = std::make_unique<MainForm>(m_problem, m_state, m_prompter);
    m_qtPrompter.setParent(m_form.get());
    FormBinding& binding = *this;
    m_commands = std::make_unique<FileCommands>(m_state, m_problem, binding, m_prompter, m_store);
    buildFileMenu();
    m_form->installEventFilter(this);
    connect(m_form.get(), &MainForm::plotsRequested, this,
            [this] { StartPlots(m_state, m_prompter, m_env.launch); });
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
    // Handing a problem to the optimiser comes with the run commands; until then the item
    // is shown in its place but cannot be chosen.
    addItem(file, "mnuFileSubmit", "Submit &Run")->setEnabled(false);
    file->addSeparator();
    connect(addItem(file, "mnuFileExit", "E&xit"), &QAction::triggered, m_form.get(),
            &QWidget::close);
}

void VeltraShell::ExitProgram() {
    m_exiting = true;
    m_form->close();
    QCoreApplication::exit(1);
}

bool VeltraShell::eventFilter(QObject* watched, QEvent* event) {
    // Closing the window, from the title bar or File > Exit, offers unsaved changes first.
    if (watched == m_form.get() && event->type() == QEvent::Close && !m_exiting &&
        !m_commands->mayExit()) {
        event->ignore();
        return true;
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
