// The main window of the real shell: its designed inner area under the menu bar, and the
// desktop's keys on the menu items.
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "VeltraShell.h"

#include <QAction>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace veltrana;
namespace fs = std::filesystem;

class ShellDesktopTest : public test::TempDirTest {};

TEST_F(ShellDesktopTest, OpensAtTheDesignedSizeWithTheDesktopKeys) {
    test::EnsureApp();
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

    // Every desktop key leads to one item only; two representative ones are where expected.
    std::map<QString, int> uses;
    for (QAction* action : shell.form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            ++uses[action->shortcut().toString()];
    for (const auto& [key, count] : uses)
        EXPECT_EQ(count, 1) << key.toStdString();
    EXPECT_EQ(shell.form().findChild<QAction*>("mnuFileSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(shell.form().findChild<QAction*>("mnuHelpManual")->shortcut(), QKeySequence("F1"));
    ::unsetenv("VELTRANA_REGISTRY");
}
