// The file commands through the real Qt dialogs, driven the way a person would: type a
// name, press Enter, answer the message box.
#include "QtPrompter.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

// Never destroyed: a QApplication torn down among the other statics at exit crashes.
QApplication& App() {
    static int argc = 1;
    static char name[] = "tst";
    static char* argv[] = {name, nullptr};
    static QApplication* app =
        qApp ? static_cast<QApplication*>(qApp) : new QApplication(argc, argv);
    return *app;
}

// Saves a picture of the widget when VELTRANA_SHOTS names a folder.
void Shot(QWidget* w, const char* name) {
    const char* dir = std::getenv("VELTRANA_SHOTS");
    if (dir && *dir)
        w->grab().save(QString(dir) + "/" + name + ".png");
}

// Runs `act` on the next modal widget once it is up; gives up after a few seconds.
void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 200)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            act(modal);
    });
    timer->start(20);
}

void TypeIntoFileDialog(QWidget* modal, const std::string& text, const char* shot) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    std::string title = dialog->windowTitle().toStdString();
    EXPECT_TRUE(title == "Open Input File" || title == "Save Input File As ...") << title;
    // Each file type shows its patterns once: "All Files (*.*)".
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    for (int i = 0; i < types->count(); ++i)
        EXPECT_EQ(types->itemText(i).count('('), 1) << types->itemText(i).toStdString();
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromStdString(text));
    Shot(dialog, shot);
    QTest::keyClick(edit, Qt::Key_Return);
}

void PressInMessageBox(QWidget* modal, QMessageBox::StandardButton button, std::string* text,
                       const char* shot) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    *text = box->text().toStdString();
    Shot(box, shot);
    box->button(button)->click();
}

} // namespace

TEST(RealDialogs, OpenChangeSaveAsAndReopen) {
    App();
    fs::path family = fs::temp_directory_path() / ("veltra-gui-" + std::to_string(::getpid()));
    fs::path user = family / "Veltr.hz/User";
    fs::remove_all(family);
    fs::create_directories(user);
    StartupEnvironment env = SystemEnvironment();
    env.getenv = [&](const char* name) {
        return std::string(name) == "Quillon" ? family.string() : std::string();
    };
    ::setenv("VELTRANA_REGISTRY", (family / "registry").c_str(), 1);
    fs::path saved = fs::current_path();
    {
        DesignProblem first;
        first.Answers[19] = "1.5";
        ShellState s;
        ScriptedPrompter quiet;
        ASSERT_FALSE(WriteAnsFile(first, "first.1", user.string(), s, quiet));
    }
    {
        VeltraShell shell(nullptr, env);
        ASSERT_TRUE(shell.start());
        auto* gain = shell.form().findChild<QLineEdit*>("Gain");
        ASSERT_NE(gain, nullptr);

        WhenModal([](QWidget* m) { TypeIntoFileDialog(m, "first.1", "open-dialog"); });
        shell.commands().runMenu(FileCommands::MenuCommand::Open);
        EXPECT_EQ(shell.state().currentFileName, "first.1");
        EXPECT_EQ(gain->text(), "1.5");
        EXPECT_EQ(shell.form().windowTitle(), "first.1 ... Veltrana, a Quenlith based program");

        gain->selectAll();
        QTest::keyClicks(gain, "2.5");
        EXPECT_TRUE(shell.state().dataChanged);

        WhenModal([](QWidget* m) { TypeIntoFileDialog(m, "second.1", "save-as-dialog"); });
        shell.commands().runMenu(FileCommands::MenuCommand::SaveAs);
        EXPECT_EQ(shell.state().currentFileName, "second.1");
        EXPECT_FALSE(shell.state().dataChanged);
        EXPECT_TRUE(fs::exists(user / "second.1"));

        gain->setText("9");
        std::string question;
        WhenModal(
            [&](QWidget* m) { PressInMessageBox(m, QMessageBox::No, &question, "save-question"); });
        QTimer::singleShot(0, [] {
            WhenModal([](QWidget* m) { TypeIntoFileDialog(m, "second.1", "reopen-dialog"); });
        });
        shell.commands().runMenu(FileCommands::MenuCommand::Open);
        EXPECT_EQ(question, "Save current data?");
        EXPECT_EQ(gain->text(), "2.5");
        EXPECT_EQ(GetLastFilePath(RegistryStore()), user.string());

        // The Replace question of Save As, answered No, keeps the file as it was.
        std::string replace;
        WhenModal([&](QWidget* m) {
            TypeIntoFileDialog(m, "first.1", "save-as-existing");
            WhenModal([&](QWidget* box) {
                PressInMessageBox(box, QMessageBox::No, &replace, "replace-question");
            });
        });
        EXPECT_FALSE(shell.commands().FileSaveAs());
        EXPECT_EQ(replace,
                  "Replace " +
                      QString::fromStdString((user / "first.1").string()).toLower().toStdString() +
                      " file?");
        Shot(&shell.form(), "main-form");
    }
    ::unsetenv("VELTRANA_REGISTRY");
    fs::current_path(saved);
    fs::remove_all(family);
}

TEST(RealDialogs, WithoutFamilyDirectoryTheWindowNeverShows) {
    App();
    ScriptedPrompter prompter;
    StartupEnvironment env = SystemEnvironment();
    env.getenv = [](const char*) { return std::string("   "); };
    VeltraShell shell(&prompter, env);
    EXPECT_FALSE(shell.start());
    EXPECT_FALSE(shell.form().isVisible());
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "In 'Start_Path' routine ... Exiting!");
}

TEST(RealDialogs, FileMenuItemsInOrderWithTheirAccessKeys) {
    App();
    ScriptedPrompter prompter;
    VeltraShell shell(&prompter, SystemEnvironment());
    auto* menu = shell.form().findChild<QMenu*>("mnuFile");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&File");
    std::vector<std::string> items;
    for (QAction* a : menu->actions())
        items.push_back(a->isSeparator() ? "-" : (a->objectName() + " " + a->text()).toStdString());
    EXPECT_EQ(items, (std::vector<std::string>{
                         "mnuFileNew &New", "mnuFileOpen &Open ...", "mnuFileSave &Save",
                         "mnuFileSaveAs Save &As ...", "mnuFileDelete &Delete ...", "-",
                         "mnuFileSubmit Submit &Run", "-", "mnuFileExit E&xit"}));
}
