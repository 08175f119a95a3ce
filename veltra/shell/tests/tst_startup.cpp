// Start-up, the intro form, demo mode and the menus' desktop keys on the real shell.
#include "DemosPage.h"
#include "IntroForm.h"
#include "Settings.h"
#include "ShellTest.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>

#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class StartupTest : public test::ShellTest {
protected:
    // Which of the File, Demos, View and Help menus are enabled, then the enabled tabs and the
    // current one, as in "0001 1 1".
    std::string controls() const {
        std::string on;
        for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuHelp"})
            on += enabled(menu) ? "1" : "0";
        on += " ";
        for (int i = 0; i < shell->form().tabs()->count(); ++i)
            if (shell->form().tabs()->isTabEnabled(i))
                on += std::to_string(i);
        return on + " " + std::to_string(shell->form().tabs()->currentIndex());
    }
};

} // namespace

// The first start lays the installation out and shows the start-up values; a later one reads
// the ini file, leaving it as it was, and the last run's values, and brings plots up with the
// last result. Blanks around the family directory, as a hand-edited environment may have
// them, are no matter.
TEST_F(StartupTest, FirstStartLaysOutTheInstallationLaterStartsReadIt) {
    fs::remove_all(programDir);
    env.getenv = [this](const char* name) { return "  " + quillon(name) + " "; };
    env.today = [] {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 6;
        return t;
    };
    ASSERT_TRUE(newShell().start());
    const fs::path ini = programDir / "Veltrana.ini";
    EXPECT_EQ(Contents(ini),
              "Veltrana\x99 Program                 12/6/2026\r\n"
              "1             ! Increase if COMMAND still active and stops your run\r\n"
              "no name             ! User name\r\n");
    EXPECT_EQ(fs::current_path(), user);
    EXPECT_EQ(shell->state().userName, "no name");
    EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
    EXPECT_EQ(shell->state().currentDir, user.string());
    EXPECT_FALSE(shell->state().dataChanged);
    EXPECT_TRUE(launched.empty());

    std::ofstream(ini, std::ios::binary) << "Veltrana\r\n3   ! wait\r\nAda  ! User name\r\n";
    const std::string before = Contents(ini);
    DesignProblem saved = shell->problem();
    saved.Note1 = "from last run";
    ShellState s;
    ASSERT_FALSE(WriteAnsFile(saved, "last-run.ini", programDir.string(), s, prompter));
    RegistryStore store;
    ASSERT_TRUE(SaveFileIn(store, "/data/run.dat").ok());
    installProgram(family / "plots");
    ASSERT_TRUE(newShell().start());
    EXPECT_EQ(Contents(ini), before);
    EXPECT_EQ(shell->state().waitFactor, 3);
    EXPECT_EQ(shell->state().userName, "Ada");
    EXPECT_EQ(shell->form().findChild<QLineEdit*>("Note1")->text(), "from last run");
    EXPECT_EQ(launched, std::vector<std::string>{(family / "plots").string()});
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(StartupTest, DialogStartsInTheLastFilePathWhenItIsAbsolute) {
    const std::tuple<std::string, bool> cases[] = {
        {"/data/filters", true}, {"data/more", false}, {"", false}, {"//host/data", false}};
    RegistryStore store;
    for (const auto& [stored, used] : cases) {
        ASSERT_TRUE(SaveLastFilePath(store, stored).ok());
        ASSERT_TRUE(newShell().start());
        EXPECT_EQ(shell->state().dialogInitialDir, used ? stored : user.string()) << stored;
    }
}

TEST_F(StartupTest, FirstStartShowsTheIntroAndRecordsTheAssociationSecondGoesStraightOn) {
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_NE(shell->intro(), nullptr);
    EXPECT_TRUE(shell->intro()->isVisible());
    EXPECT_FALSE(shell->form().isVisible());
    EXPECT_EQ(RegistryStore().stringValue(RegRoot::ClassesRoot, ".Out", ""), "Veltrana");

    click(shell->intro(), "cmdCreateIntro");
    EXPECT_FALSE(shell->intro()->isVisible());
    EXPECT_TRUE(shell->form().isVisible());

    // The first start has written the product ini file.
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    EXPECT_EQ(shell->intro(), nullptr);
    EXPECT_TRUE(shell->form().isVisible());
    EXPECT_TRUE(prompter.prompts.empty());
}

// Here the settings store cannot take the association: that is reported, and the intro goes
// on all the same.
TEST_F(StartupTest, DemoModeLeavesOnlyTheDemosTabAndHelpUntilCancel) {
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    ::setenv("VELTRANA_REGISTRY", in("blocked/registry").c_str(), 1);
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].title, "Settings store");
    click(shell->intro(), "cmdRunIntro");
    EXPECT_TRUE(shell->form().isVisible());
    EXPECT_EQ(controls(), "0001 1 1");
    click(shell->form().demosPage(), "cmdCancelDemo");
    EXPECT_EQ(controls(), "1111 0234567 0");
}

TEST_F(StartupTest, EveryDesktopKeyLeadsToOneMenuItem) {
    ASSERT_TRUE(newShell().start());
    QStringList keys;
    for (QAction* action : shell->form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuHelpManual")->shortcut(), QKeySequence("F1"));
}
