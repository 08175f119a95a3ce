// The file commands through the real Qt dialogs, driven the way a person would: type a
// name, press Enter, answer the message box.
#include "Settings.h"
#include "ShellTest.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <filesystem>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

// Saves a picture of the widget when VELTRANA_SHOTS names a folder.
void Shot(QWidget* w, const char* name) {
    const char* dir = std::getenv("VELTRANA_SHOTS");
    if (dir && *dir)
        w->grab().save(QString(dir) + "/" + name + ".png");
}

void TypeIntoFileDialog(QWidget* modal, const std::string& text, const char* shot) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
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

using RealDialogs = test::ShellTest;

TEST_F(RealDialogs, OpenChangeSaveAsAndReopen) {
    writeInput(user / "first.1", "", [](DesignProblem& p) { p.Answers[19] = "1.5"; });
    shell = std::make_unique<VeltraShell>(nullptr, env); // the real dialogs and message boxes
    ASSERT_TRUE(shell->start());
    auto* gain = field("Gain");
    ASSERT_NE(gain, nullptr);

    test::WhenModal([](QWidget* m) { TypeIntoFileDialog(m, "first.1", "open-dialog"); });
    shell->commands().runMenu(FileCommands::MenuCommand::Open);
    EXPECT_EQ(shell->state().currentFileName, "first.1");
    EXPECT_EQ(gain->text(), "1.5");

    gain->selectAll();
    QTest::keyClicks(gain, "2.5");
    EXPECT_TRUE(shell->state().dataChanged);

    test::WhenModal([](QWidget* m) {
        // Enter on the proposal only filters the listing: no file named "first.*".
        auto* edit = m->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), "first.*");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(m->isVisible());
        TypeIntoFileDialog(m, "second.1", "save-as-dialog");
    });
    shell->commands().runMenu(FileCommands::MenuCommand::SaveAs);
    EXPECT_FALSE(fs::exists(user / "first.*"));
    EXPECT_EQ(shell->state().currentFileName, "second.1");
    EXPECT_FALSE(shell->state().dataChanged);

    gain->setText("9");
    std::string question;
    test::WhenModal(
        [&](QWidget* m) { PressInMessageBox(m, QMessageBox::No, &question, "save-question"); });
    QTimer::singleShot(0, [] {
        test::WhenModal([](QWidget* m) { TypeIntoFileDialog(m, "second.1", "reopen-dialog"); });
    });
    shell->commands().runMenu(FileCommands::MenuCommand::Open);
    EXPECT_EQ(question, "Save current data?");
    EXPECT_EQ(gain->text(), "2.5");
    EXPECT_EQ(GetLastFilePath(RegistryStore()), user.string());

    // The Replace question of Save As, answered No, keeps the file as it was.
    std::string replace;
    test::WhenModal([&](QWidget* m) {
        TypeIntoFileDialog(m, "first.1", "save-as-existing");
        test::WhenModal([&](QWidget* box) {
            PressInMessageBox(box, QMessageBox::No, &replace, "replace-question");
        });
    });
    EXPECT_FALSE(shell->commands().FileSaveAs());
    EXPECT_NE(replace.find("first.1"), std::string::npos) << replace;
    Shot(&shell->form(), "main-form");
}

// A family directory that is not there is a typing error: nothing is laid out there.
TEST_F(RealDialogs, WithoutFamilyDirectoryTheWindowNeverShows) {
    for (const std::string& value : {std::string(), std::string("   "), in("famliy")}) {
        prompter = ScriptedPrompter();
        env.getenv = [&](const char*) { return value; };
        EXPECT_FALSE(newShell().start());
        EXPECT_FALSE(shell->form().isVisible());
        EXPECT_EQ(titles(), Texts{"In 'Start_Path' routine ... Exiting!"});
    }
    EXPECT_FALSE(fs::exists(in("famliy")));
    // The failed start ended the application's event loops; later dialogs of this process
    // need them again.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}
