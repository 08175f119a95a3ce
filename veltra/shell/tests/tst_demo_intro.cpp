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

namespace {

class DemoTest : public test::ShellTest {
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

TEST_F(DemoTest, FirstStartShowsTheIntroAndRecordsTheAssociationSecondGoesStraightOn) {
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
TEST_F(DemoTest, DemoModeLeavesOnlyTheDemosTabAndHelpUntilCancel) {
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

TEST_F(DemoTest, EveryDesktopKeyLeadsToOneMenuItem) {
    ASSERT_TRUE(newShell().start());
    QStringList keys;
    for (QAction* action : shell->form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            keys << action->shortcut().toString();
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuHelpManual")->shortcut(), QKeySequence("F1"));
}
