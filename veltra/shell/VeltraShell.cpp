#include "VeltraShell.h"

#include "AboutForm.h"
#include "DemoTexts.h"
#include "DemosPage.h"
#include "FileAssociation.h"
#include "FileRoutines.h"
#include "FormTexts.h"
#include "ImportDialog.h"
#include "InputFile.h"
#include "IntroForm.h"
#include "ManualWindow.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "Settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>

#include <filesystem>
#include <unistd.h>

namespace veltrana {

VeltraShell::VeltraShell(Prompter* prompter, StartupEnvironment env)
    : m_env(std::move(env)), m_prompter(prompter ? *prompter : m_qtPrompter) {
    m_form = std::make_unique<MainForm>(m_problem, m_state, m_prompter);
    m_qtPrompter.setParent(m_form.get());
    ShowStoreNotices(m_store, m_prompter);
    FormBinding& binding = *this;
    m_commands = std::make_unique<FileCommands>(m_state, m_problem, binding, m_prompter, m_store);
    m_import = std::make_unique<ImportCommand>(
        m_state, m_problem, binding, m_prompter,
        [this](const MeasuredFile& file) -> std::optional<ImportChoices> {
            ImportDialog dialog(file, m_form.get());
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.choices();
        });
    RunHost& host = *this;
    m_runCommands = std::make_unique<RunCommands>(m_state, binding, *m_commands, m_prompter,
                                                  m_store, host, m_env.launch, m_env.launchWith);
    m_run = std::make_unique<OptimiserRun>(
        [this](const RunEnd& end) { m_runCommands->RunEnded(end); }, m_form.get());
    buildFileMenu();
    buildDemosMenu();
    addViewExampleItem();
    buildViewMenu();
    buildHelpMenu();
    m_form->installEventFilter(this);
    connect(m_form.get(), &MainForm::submitRequested, this,
            [this] { m_runCommands->SubmitCommand(); });
    connect(m_form.get(), &MainForm::plotsRequested, this, [this] { m_runCommands->ViewPlots(); });
    connect(m_form->demosPage(), &DemosPage::runDemoClicked, this, &VeltraShell::RunDemo);
    connect(m_form->demosPage(), &DemosPage::cancelClicked, this, [this] { setDemoMode(false); });

    // RunDemo has stored the result path and set the run mode "Demo" by then.
    runDemo = [this](const std::string& fileName, const std::string& directory) {
        RunOptimiser(fileName, directory);
    };
    startDetached = m_env.launchWith;
    desktop = SystemDesktop();
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

bool VeltraShell::startWithIntro(const std::string& executableDir) {
    std::error_code ec;
    std::filesystem::current_path(executableDir, ec);
    m_state.currentDir = "null";
    if (FileExists(JoinPath(executableDir, kProductIniName)))
        return start();
    ReportStoreProblem(m_store,
                       CreateFileAssociation(m_store, kOutputExtension, executableDir,
                                             kAssociationClass, kAssociationDescription, ""),
                       m_prompter);
    m_intro = std::make_unique<IntroForm>();
    // The main form comes up before the intro form goes, so that the program never stands
    // without a window.
    connect(m_intro.get(), &IntroForm::runDemoRequested, this, [this] {
        if (start())
            setDemoMode(true);
        m_intro->close();
    });
    connect(m_intro.get(), &IntroForm::createDataRequested, this, [this] {
        start();
        m_intro->close();
    });
    connect(m_intro.get(), &IntroForm::exitRequested, this, [this] {
        m_intro->close();
        QCoreApplication::quit();
    });
    m_intro->show();
    return true;
}

void VeltraShell::setDemoMode(bool on) {
    for (const char* name : {"mnuFile", "mnuDemos", "mnuView"})
        if (auto* menu = m_form->findChild<QMenu*>(QLatin1String(name)))
            menu->menuAction()->setEnabled(!on);
    // The tab to be shown becomes current before the others are switched: a disabled current
    // tab would hand the focus along every tab in turn, opening the grids' cell editors.
    QTabWidget* tabs = m_form->tabs();
    const int shown = on ? forms::kDemosTab : 0;
    tabs->setTabEnabled(shown, true);
    tabs->setCurrentIndex(shown);
    for (int i = 0; i < tabs->count(); ++i)
        if (i != shown)
            tabs->setTabEnabled(i, i == forms::kDemosTab ? on : !on);
}

void VeltraShell::RunDemo() {
    // The demo runs from the user directory, where the examples are installed. The current
    // file stays as it is: the form still shows that file's problem, and a later Save or
    // Submit has to mean that problem, not the example.
    if (m_runCommands->refuseWhileRunning())
        return;
    const std::string name = m_form->demosPage()->selectedDemo();
    const std::string dir = m_state.userDir;
    if (!FileExists(JoinPath(dir, name))) {
        m_prompter.message({"The example file " + JoinPath(dir, name) +
                                " was not found.  Please re-install Veltrana to get it back.",
                            "Example file not found.", PromptIcon::Exclamation, PromptButtons::Ok});
        return;
    }
    if (!m_runCommands->MakeResultFileName(name, dir))
        return;
    m_state.runMode = "Demo";
    runDemo(name, dir);
}

void VeltraShell::DemosMenuRun() {
    if (m_commands->AskSaveChanges())
        return;
    setDemoMode(true);
}

void VeltraShell::ViewExampleFile() {
    // The shared dialog's initial directory is not touched: each request names its own.
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = "Open an Example File for illustration";
    request.filters = {{"All Files (*.*)", "*.*"}, {"Example Input Files (ex-*.*)", "ex-*.*"}};
    request.filterIndex = 2;
    request.initialDir = JoinPath(m_state.programDir, "User");
    std::optional<FileDialogAnswer> answer = m_prompter.fileDialog(request);
    if (answer && !answer->path.empty())
        openInViewer(answer->path);
}

bool VeltraShell::openInViewer(const std::string& path) {
    const std::string viewer = JoinPath(JoinPath(m_state.familyDir, "List"), "list");
    if (FileExists(viewer) && access(viewer.c_str(), X_OK) == 0 && startDetached(viewer, {path}))
        return true;
    m_prompter.message({"The text viewer " + viewer +
                            " was not found or could not be started.  Please re-install "
                            "Veltrana.",
                        "Text viewer not found.", PromptIcon::Exclamation, PromptButtons::Ok});
    return false;
}

void VeltraShell::HelpManual() {
    OpenManual(
        JoinPath(m_state.programDir, "manual.html"), desktop,
        [this](const std::string& path) { showManualWindow(path); }, m_prompter);
}

void VeltraShell::showManualWindow(const std::string& path) {
    if (!m_manual)
        m_manual = std::make_unique<ManualWindow>();
    m_manual->showManual(path);
}

void VeltraShell::HelpEmailSupport() {
    EmailSupport(desktop, m_prompter);
}

void VeltraShell::HelpAbout() {
    AboutForm about(m_form.get());
    about.exec();
}

QAction* VeltraShell::addItem(QMenu* menu, const char* name, const char* text,
                              const QKeySequence& shortcut) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void VeltraShell::buildFileMenu() {
    QMenu* file = m_form->menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    connect(addItem(file, "mnuFileNew", "&New", QKeySequence::New), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::New); });
    connect(addItem(file, "mnuFileOpen", "&Open ...", QKeySequence::Open), &QAction::triggered,
            this, [this] { m_commands->runMenu(FileCommands::MenuCommand::Open); });
    connect(addItem(file, "mnuFileSave", "&Save", QKeySequence::Save), &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::Save); });
    connect(addItem(file, "mnuFileSaveAs", "Save &As ...",
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
            &QAction::triggered, this,
            [this] { m_commands->runMenu(FileCommands::MenuCommand::SaveAs); });
    connect(addItem(file, "mnuFileDelete", "&Delete ..."), &QAction::triggered, this,
            [this] { m_commands->FileDelete(); });
    connect(addItem(file, "mnuFileImport", "&Import Data ..."), &QAction::triggered, this,
            [this] { m_import->ImportData(); });
    file->addSeparator();
    connect(addItem(file, "mnuFileSubmit", "Submit &Run"), &QAction::triggered, this,
            [this] { m_runCommands->SubmitCommand(); });
    file->addSeparator();
    connect(addItem(file, "mnuFileExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, m_form.get(), &QWidget::close);
}

QMenu* VeltraShell::menuNamed(const char* name, const char* title) {
    if (auto* menu = m_form->menuBar()->findChild<QMenu*>(QLatin1String(name)))
        return menu;
    QMenu* menu = m_form->menuBar()->addMenu(QString::fromUtf8(title));
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void VeltraShell::buildDemosMenu() {
    QMenu* demos = menuNamed("mnuDemos", "&Demos");
    connect(addItem(demos, "mnuDemosRun", "Run &Demo ..."), &QAction::triggered, this,
            &VeltraShell::DemosMenuRun);
}

void VeltraShell::addViewExampleItem() {
    // Example File heads the View menu, above the run's items whenever they were added.
    QMenu* view = menuNamed("mnuView", "&View");
    auto* item = new QAction(QStringLiteral("&Example File ..."), view);
    item->setObjectName(QStringLiteral("mnuViewDemos"));
    view->insertAction(view->actions().isEmpty() ? nullptr : view->actions().first(), item);
    connect(item, &QAction::triggered, this, &VeltraShell::ViewExampleFile);
}

void VeltraShell::buildHelpMenu() {
    QMenu* help = menuNamed("mnuHelp", "&Help");
    connect(addItem(help, "mnuHelpManual", "&Manual ...", QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &VeltraShell::HelpManual);
    help->addSeparator();
    connect(addItem(help, "mnuHelpEmail", "&E-mail Support ..."), &QAction::triggered, this,
            &VeltraShell::HelpEmailSupport);
    help->addSeparator();
    connect(addItem(help, "mnuHelpAbout", "&About ..."), &QAction::triggered, this,
            &VeltraShell::HelpAbout);
}

void VeltraShell::buildViewMenu() {
    QMenu* view = menuNamed("mnuView", "&View");
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
    if (m_intro)
        m_intro->close();
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
        // The child ends as Cancel ends it, before the program; its window must not keep the
        // program alive.
        m_run->endForExit();
        m_runCommands->abandonRunForExit();
        m_run->window().hide();
    }
    return QObject::eventFilter(watched, event);
}

bool VeltraShell::PutAnswers() {
    return m_form->PutAnswers();
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
