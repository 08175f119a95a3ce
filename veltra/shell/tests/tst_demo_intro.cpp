// The intro form, demo mode and the menus' desktop keys on the real shell.
#include "DemosPage.h"
#include "IntroForm.h"
#include "ShellTest.h"

#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTabWidget>

#include <filesystem>
#include <fstream>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

using Texts = std::vector<std::string>;

class DemoTest : public test::ShellTest {
protected:
    std::vector<int> enabledTabs() const {
        std::vector<int> tabs;
        for (int i = 0; i < shell->form().tabs()->count(); ++i)
            if (shell->form().tabs()->isTabEnabled(i))
                tabs.push_back(i);
        return tabs;
    }
};

} // namespace

TEST_F(DemoTest, FirstStartShowsTheIntroAndRecordsTheAssociationSecondGoesStraightOn) {
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_NE(shell->intro(), nullptr);
    EXPECT_TRUE(shell->intro()->isVisible());
    EXPECT_FALSE(shell->form().isVisible());
    EXPECT_EQ(shell->state().currentDir, "null");
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

TEST_F(DemoTest, AnAssociationThatCannotBeRecordedIsReported) {
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    ::setenv("VELTRANA_REGISTRY", in("blocked/registry").c_str(), 1);
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].title, "Settings store");
}

TEST_F(DemoTest, DemoModeLeavesOnlyTheDemosTabAndHelpUntilCancel) {
    ASSERT_TRUE(newShell().startWithIntro(programDir.string()));
    click(shell->intro(), "cmdRunIntro");
    EXPECT_TRUE(shell->form().isVisible());
    for (const char* menu : {"mnuFile", "mnuDemos", "mnuView"})
        EXPECT_FALSE(enabled(menu)) << menu;
    EXPECT_TRUE(enabled("mnuHelp"));
    EXPECT_EQ(enabledTabs(), std::vector<int>{1});
    EXPECT_EQ(shell->form().tabs()->currentIndex(), 1);

    click(shell->form().demosPage(), "cmdCancelDemo");
    for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuHelp"})
        EXPECT_TRUE(enabled(menu)) << menu;
    EXPECT_EQ(enabledTabs(), (std::vector<int>{0, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shell->form().tabs()->currentIndex(), 0);
}

TEST_F(DemoTest, EveryDesktopKeyLeadsToOneMenuItem) {
    ASSERT_TRUE(newShell().start());
    QStringList keys;
    for (QAction* action : shell->form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuFileSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuHelpManual")->shortcut(), QKeySequence("F1"));
}
