// The main window of the real shell: its designed inner area under the menu bar, and the
// desktop's keys on the menu items.
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "VeltraShell.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace veltrana;
namespace fs = std::filesystem;

class ShellDesktopTest : public test::TempDirTest {};

TEST_F(ShellDesktopTest, OpensAtTheDesignedSizeWithTheDesktopKeys) {
    static int argc = 1;
    static char name[] = "tst";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // kept until exit
    const fs::path family = m_dir / "family";
    fs::create_directories(family / "Veltr.hz");
    ::setenv("VELTRANA_REGISTRY", in("registry").c_str(), 1);
    StartupEnvironment env = SystemEnvironment();
    env.getenv = [&family](const char* n) {
        return std::string(n) == "Quillon" ? family.string() : std::string();
    };
    env.launch = [](const std::string&) { return true; };
    ScriptedPrompter prompter;
    VeltraShell shell(&prompter, env);
    ASSERT_TRUE(shell.start());
    EXPECT_EQ(shell.form().centralWidget()->size(), QSize(800, 560));

    const std::map<std::string, std::pair<QString, QKeySequence>> items = {
        {"mnuFileNew", {"&New", QKeySequence("Ctrl+N")}},
        {"mnuFileOpen", {"&Open ...", QKeySequence("Ctrl+O")}},
        {"mnuFileSave", {"&Save", QKeySequence("Ctrl+S")}},
        {"mnuFileSaveAs", {"Save &As ...", QKeySequence("Ctrl+Shift+S")}},
        {"mnuFileExit", {"E&xit", QKeySequence("Ctrl+Q")}},
        {"mnuHelpManual", {"&Manual ...", QKeySequence("F1")}}};
    std::map<QString, int> uses;
    for (QAction* action : shell.form().menuBar()->findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty())
            ++uses[action->shortcut().toString()];
        const auto item = items.find(action->objectName().toStdString());
        if (item == items.end())
            continue;
        EXPECT_EQ(action->text(), item->second.first) << item->first;
        EXPECT_EQ(action->shortcut(), item->second.second) << item->first;
    }
    EXPECT_EQ(uses.size(), items.size());
    for (const auto& [key, count] : uses)
        EXPECT_EQ(count, 1) << key.toStdString();
    ::unsetenv("VELTRANA_REGISTRY");
}
