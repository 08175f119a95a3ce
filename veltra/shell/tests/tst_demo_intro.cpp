// The intro form, demo mode, Run Demo and View > Example File on the real shell.
#include "DemosPage.h"
#include "FamilyDirTest.h"
#include "IntroForm.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <tuple>

#include <filesystem>
#include <fstream>
#include <map>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class DemoTest : public test::FamilyDirTest {
protected:
    void SetUp() override {
        FamilyDirTest::SetUp();
        test::EnsureApp();
        env = SystemEnvironment();
        env.getenv = [this](const char* n) { return quillon(n); };
        env.launch = [](const std::string&) { return true; };
    }
    std::unique_ptr<VeltraShell> makeShell() {
        auto shell = std::make_unique<VeltraShell>(&prompter, env);
        shell->runDemo = [this](const std::string& name, const std::string& dir) {
            demos.push_back(name + " in " + dir);
        };
        shell->startDetached = [this](const std::string& program,
                                      const std::vector<std::string>& args) {
            started.push_back(program + " " + (args.empty() ? "" : args[0]));
            return true;
        };
        return shell;
    }
    static bool menuEnabled(VeltraShell& s, const char* name) {
        return s.form().findChild<QMenu*>(name)->menuAction()->isEnabled();
    }
    static std::vector<int> enabledTabs(VeltraShell& s) {
        std::vector<int> tabs;
        for (int i = 0; i < s.form().tabs()->count(); ++i)
            if (s.form().tabs()->isTabEnabled(i))
                tabs.push_back(i);
        return tabs;
    }
    static void click(QWidget& parent, const char* name) {
        auto* b = parent.findChild<QAbstractButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    void makeExample(const char* name) { std::ofstream(user / name) << "example\r\n"; }

    StartupEnvironment env;
    ScriptedPrompter prompter;
    std::vector<std::string> demos, started;
};

} // namespace

TEST_F(DemoTest, FirstStartShowsTheIntroAndRecordsTheAssociationSecondGoesStraightOn) {
    auto first = makeShell();
    ASSERT_TRUE(first->startWithIntro(programDir.string()));
    ASSERT_NE(first->intro(), nullptr);
    EXPECT_TRUE(first->intro()->isVisible());
    EXPECT_FALSE(first->form().isVisible());
    EXPECT_EQ(first->state().currentDir, "null");
    EXPECT_EQ(RegistryStore().stringValue(RegRoot::ClassesRoot, ".Out", ""), "Veltrana");

    click(*first->intro(), "cmdCreateIntro");
    EXPECT_FALSE(first->intro()->isVisible());
    EXPECT_TRUE(first->form().isVisible());
    EXPECT_TRUE(fs::exists(programDir / "Veltrana.ini"));
    first.reset();

    auto second = makeShell();
    ASSERT_TRUE(second->startWithIntro(programDir.string()));
    EXPECT_EQ(second->intro(), nullptr);
    EXPECT_TRUE(second->form().isVisible());
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(DemoTest, AnAssociationThatCannotBeRecordedIsReported) {
    std::ofstream(m_dir / "blocked") << "a file where the store's directory should be";
    ::setenv("VELTRANA_REGISTRY", in("blocked/registry").c_str(), 1);
    auto shell = makeShell();
    ASSERT_TRUE(shell->startWithIntro(programDir.string()));
    ASSERT_FALSE(prompter.prompts.empty());
    EXPECT_EQ(prompter.prompts[0].title, "Settings store");
}

TEST_F(DemoTest, DemoModeLeavesOnlyTheDemosTabAndHelpUntilCancel) {
    auto shell = makeShell();
    ASSERT_TRUE(shell->startWithIntro(programDir.string()));
    click(*shell->intro(), "cmdRunIntro");
    EXPECT_TRUE(shell->form().isVisible());
    for (const char* menu : {"mnuFile", "mnuDemos", "mnuView"})
        EXPECT_FALSE(menuEnabled(*shell, menu)) << menu;
    EXPECT_TRUE(menuEnabled(*shell, "mnuHelp"));
    EXPECT_EQ(enabledTabs(*shell), std::vector<int>{1});
    EXPECT_EQ(shell->form().tabs()->currentIndex(), 1);

    click(*shell->form().demosPage(), "cmdCancelDemo");
    for (const char* menu : {"mnuFile", "mnuDemos", "mnuView", "mnuHelp"})
        EXPECT_TRUE(menuEnabled(*shell, menu)) << menu;
    EXPECT_EQ(enabledTabs(*shell), (std::vector<int>{0, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shell->form().tabs()->currentIndex(), 0);
}

TEST_F(DemoTest, RunDemoHandsTheChosenExampleOverAndLeavesTheFormsFileAlone) {
    // option is nullptr where no option is clicked
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {nullptr, "Ex-Yzero.01", "ex-yzero_01.dat"},
        {"Exam_4", "Ex-Delay.01", "ex-delay_01.dat"},
        {"Exam_7", "Ex-Zpair.1", "ex-zpair_1.dat"},
    };
    for (const auto& [option, file, resultName] : cases) {
        RegistryStore store;
        SaveFileIn(store, ""); // no finished run to show at start-up
        auto shell = makeShell();
        ASSERT_TRUE(shell->start());
        makeExample(file);
        shell->setDemoMode(true);
        if (option)
            click(*shell->form().demosPage(), option);
        demos.clear();
        click(*shell->form().demosPage(), "cmdRunDemo");
        EXPECT_EQ(demos, std::vector<std::string>{std::string(file) + " in " + user.string()});
        EXPECT_EQ(shell->state().runMode, "Demo");
        EXPECT_EQ(GetFileIn(RegistryStore()), (user / resultName).string());
        EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
        EXPECT_EQ(shell->state().currentDir, user.string());
        EXPECT_FALSE(shell->state().dataChanged);
    }
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(DemoTest, RunDemoReportsAMissingExample) {
    auto shell = makeShell();
    ASSERT_TRUE(shell->start());
    shell->RunDemo();
    EXPECT_TRUE(demos.empty());
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Example file not found.");
    EXPECT_EQ(GetFileIn(RegistryStore()), "");
}

TEST_F(DemoTest, ExampleFileOpensInTheViewerWithoutTouchingTheForm) {
    auto shell = makeShell();
    ASSERT_TRUE(shell->start());
    const std::string viewer = (family / "List/list").string();
    installProgram(viewer);

    const std::string example = (user / "Ex-Delay.11").string();
    prompter.answerFile(FileDialogAnswer{example, 2});
    prompter.answerFile(std::nullopt);
    shell->ViewExampleFile();
    shell->ViewExampleFile();
    ASSERT_EQ(prompter.dialogs.size(), 2u);
    FileDialogRequest expected;
    expected.title = "Open an Example File for illustration";
    expected.filters = {{"All Files (*.*)", "*.*"}, {"Example Input Files (ex-*.*)", "ex-*.*"}};
    expected.filterIndex = 2;
    expected.initialDir = user.string();
    EXPECT_EQ(prompter.dialogs[0], expected);
    EXPECT_EQ(started, std::vector<std::string>{viewer + " " + example});
    EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
    EXPECT_EQ(shell->state().dialogInitialDir, user.string());
    EXPECT_TRUE(prompter.prompts.empty());

    fs::remove(viewer);
    EXPECT_FALSE(shell->openInViewer(example));
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].title, "Text viewer not found.");
}

TEST_F(DemoTest, EveryDesktopKeyLeadsToOneMenuItem) {
    auto shell = makeShell();
    ASSERT_TRUE(shell->start());
    std::map<QString, int> uses;
    for (QAction* action : shell->form().menuBar()->findChildren<QAction*>())
        if (!action->shortcut().isEmpty())
            ++uses[action->shortcut().toString()];
    for (const auto& [key, count] : uses)
        EXPECT_EQ(count, 1) << key.toStdString();
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuFileSave")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(shell->form().findChild<QAction*>("mnuHelpManual")->shortcut(), QKeySequence("F1"));
}
