// Submit and the run of the optimiser, with a stand-in optimiser script as the child.
#include "FamilyDirTest.h"
#include "InputFile.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "PromptTitles.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "Settings.h"
#include "VeltraShell.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <fstream>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

struct Launch {
    std::string program;
    std::vector<std::string> arguments;
    bool operator==(const Launch&) const = default;
};

class RunTest : public test::FamilyDirTest {
protected:
    void SetUp() override {
        FamilyDirTest::SetUp();
        test::EnsureApp();
        fs::copy_file(fs::path(VELTRANA_TEST_DATA) / "optimiser-standin.sh", family / "optimiser");
        installProgram(family / "plots");
        ::setenv("VELTRANA_STANDIN", "ok", 1);
        StartupEnvironment env = SystemEnvironment();
        env.getenv = [this](const char* n) { return quillon(n); };
        env.launch = [this](const std::string& p) {
            launched.push_back({p, {}});
            return true;
        };
        env.launchWith = [this](const std::string& p, const std::vector<std::string>& a) {
            launched.push_back({p, a});
            return true;
        };
        shell = std::make_unique<VeltraShell>(&prompter, env);
        ASSERT_TRUE(shell->start());
    }
    void TearDown() override {
        shell.reset();
        ::unsetenv("VELTRANA_STANDIN");
        FamilyDirTest::TearDown();
    }

    // An input file on disk whose Note1 is `note`, made the current file.
    void openFile(const fs::path& path, const std::string& note) {
        fs::create_directories(path.parent_path());
        DesignProblem p;
        p.Note1 = note;
        ShellState s;
        ASSERT_FALSE(WriteAnsFile(p, path.filename(), path.parent_path(), s, prompter));
        shell->problem() = p;
        shell->state().currentFileName = path.filename();
        shell->state().currentDir = path.parent_path();
        shell->form().GetAnswers();
        shell->state().dataChanged = false;
    }
    bool waitForEnd() {
        return QTest::qWaitFor([this] { return !shell->runCommands().running(); }, 10000);
    }
    std::string listing() const { return Contents(user / "~Veltra.out"); }
    std::vector<std::string> titles() const { return test::PromptTitles(prompter); }
    bool enabled(const char* name) const {
        if (auto* menu = shell->form().findChild<QMenu*>(name))
            return menu->menuAction()->isEnabled();
        return shell->form().findChild<QPushButton*>(name)->isEnabled();
    }
    // Whether the run controls this form has are all enabled (1), all disabled (0), or mixed.
    int runControls() const {
        int on = 0;
        for (const auto* name : {"cmdSubmit", "cmdPlots", "mnuFile", "mnuView"})
            on += enabled(name);
        return on == 4 ? 1 : on == 0 ? 0 : -1;
    }
    std::string fileIn() const { return GetFileIn(RegistryStore()); }
    bool plotsStarted() const {
        return std::find(launched.begin(), launched.end(),
                         Launch{(family / "plots").string(), {}}) != launched.end();
    }

    ScriptedPrompter prompter;
    std::vector<Launch> launched;
    std::unique_ptr<VeltraShell> shell;
};

struct SaveCase {
    const char* what;
    bool exists;
    bool changed;
    std::vector<PromptAnswer> answers;
    bool chooseFile; ///< the Save As dialog picks "chosen.frq" (else it is cancelled)
    std::vector<std::string> titles;
    std::string runFile; ///< the file handed over; "" for no run
    const char* note;    ///< Note1 of that file (or of mine.frq) on disk; "": nothing saved
};

} // namespace

TEST_F(RunTest, SaveQuestionsDecideWhatRuns) {
    using A = PromptAnswer;
    const char* changed = "Data in form has changed!";
    const char* unsaved = "Data -not- saved!";
    // clang-format off
    const std::vector<SaveCase> cases = {
        {"unchanged existing file runs as it is", true, false, {}, false, {}, "mine.frq", "stored"},
        {"changed, No: the file runs as stored", true, true, {A::No}, false, {changed}, "mine.frq", "stored"},
        {"changed, Cancel: no run", true, true, {A::Cancel}, false, {changed}, "", "stored"},
        {"changed, Yes: saved under a new name, run", true, true, {A::Yes}, true, {changed}, "chosen.frq", "edited"},
        {"never saved: saved first, then run", false, true, {A::Ok}, true, {unsaved}, "chosen.frq", "edited"},
        {"never saved, Cancel: no run", false, true, {A::Cancel}, false, {unsaved}, "", ""},
        {"never saved, dialog cancelled: no run", false, true, {A::Ok}, false, {unsaved}, "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter = ScriptedPrompter();
        launched.clear();
        fs::remove(user / "chosen.frq");
        fs::remove(user / "mine.frq");
        RegistryStore store;
        SaveFileIn(store, "");
        if (c.exists) {
            openFile(user / "mine.frq", "stored");
        } else {
            shell->state().currentFileName = kStartupFileName;
            shell->state().currentDir = user;
        }
        if (c.changed)
            shell->form().findChild<QLineEdit*>("Note1")->setText("edited");
        for (auto a : c.answers)
            prompter.answer(a);
        if (c.chooseFile)
            prompter.answerFile(FileDialogAnswer{(user / "chosen.frq").string(), 1});
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(titles(), c.titles);
        EXPECT_EQ(plotsStarted(), !c.runFile.empty());
        EXPECT_EQ(listing().find("args=" + c.runFile + "|") == 0, !c.runFile.empty());
        DesignProblem onDisk;
        if (*c.note) {
            FileReadMe(c.runFile.empty() ? "mine.frq" : c.runFile, user.string(), onDisk, prompter);
            EXPECT_EQ(onDisk.Note1, c.note);
        } else {
            EXPECT_FALSE(fs::exists(user / "chosen.frq"));
        }
        if (!c.exists && c.runFile.empty()) {
            EXPECT_EQ(shell->state().currentFileName, kStartupFileName);
        }
        EXPECT_EQ(shell->state().runMode, " ");
    }
}

TEST_F(RunTest, OptimiserGetsTheFilesRealDirectoryAndPlotsItsResult) {
    const fs::path work = m_dir / "Work";
    openFile(work / "Test.frq", "elsewhere");
    shell->runCommands().SubmitCommand();
    EXPECT_EQ(fileIn(), (work / "test_frq.dat").string());
    ASSERT_TRUE(waitForEnd());
    const std::string f = family.string();
    EXPECT_NE(
        listing().find("args=Test.frq|" + work.string() + "|" + f + "|" + f.substr(0, 2) + "|Te\n"),
        std::string::npos)
        << listing();
    EXPECT_NE(listing().find("cwd=" + user.string() + "\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(work / "test_frq.dat"));
    EXPECT_EQ(GetLastFilePath(RegistryStore()), work.string());
    EXPECT_EQ(launched, (std::vector<Launch>{{(family / "plots").string(), {}}}));
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(RunTest, MissingOptimiserGivesTheMissingFileMessageAndNoRun) {
    fs::remove(family / "optimiser");
    openFile(user / "mine.frq", "x");
    shell->runCommands().SubmitCommand();
    EXPECT_FALSE(shell->runCommands().running());
    EXPECT_EQ(titles(), std::vector<std::string>{"A Veltrana File is missing!"});
    EXPECT_FALSE(fs::exists(user / "~Veltra.out"));
    EXPECT_EQ(runControls(), 1);
    EXPECT_EQ(shell->state().runMode, " ");
}

struct EndCase {
    const char* mode;
    const char* title; ///< "" for no message
    const char* says;  ///< part of the message's text
    bool plots;
};

TEST_F(RunTest, ControlsComeBackHoweverTheRunEnds) {
    const std::vector<EndCase> cases = {
        {"ok", "", "", true},
        {"fail", "Run failed", "exit status 3.\r\n\r\nLast lines of", false},
        {"crash", "Run failed", "ended abnormally", false},
        {"noresult", "Run failed", "wrote no result file", false},
    };
    openFile(user / "mine.frq", "x");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        prompter = ScriptedPrompter();
        launched.clear();
        fs::remove(user / "mine_frq.dat");
        ::setenv("VELTRANA_STANDIN", c.mode, 1);
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(shell->runCommands().running());
        EXPECT_EQ(shell->state().runMode, "*");
        EXPECT_TRUE(shell->optimiserRun().window().isVisible());
        EXPECT_EQ(runControls(), 0);
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(runControls(), 1);
        EXPECT_FALSE(shell->optimiserRun().window().isVisible());
        EXPECT_EQ(shell->state().runMode, " ");
        EXPECT_EQ(plotsStarted(), c.plots);
        EXPECT_EQ(fileIn().empty(), !c.plots);
        if (*c.title) {
            ASSERT_EQ(titles(), std::vector<std::string>{c.title});
            EXPECT_NE(prompter.prompts[0].text.find(c.says), std::string::npos)
                << prompter.prompts[0].text;
        } else {
            EXPECT_TRUE(prompter.prompts.empty());
        }
    }
}

TEST_F(RunTest, CancelEndsTheChildAndLosesNothing) {
    ::setenv("VELTRANA_STANDIN", "slow", 1);
    openFile(user / "mine.frq", "kept");
    const std::string before = Contents(user / "mine.frq");
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return listing().find("started") != std::string::npos; }, 5000));
    const auto at = listing().find("pid=");
    const pid_t pid = std::stoi(listing().substr(at + 4));

    // A second run while this one goes on is refused, from Submit and from a demo alike.
    shell->runCommands().SubmitCommand();
    EXPECT_FALSE(shell->RunOptimiser());
    EXPECT_EQ(titles(), std::vector<std::string>(2, "Run in progress"));

    auto* cancel = shell->optimiserRun().window().findChild<QPushButton*>("cmdCancel");
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(titles().back(), "Run cancelled");
    EXPECT_NE(::kill(pid, 0), 0);
    EXPECT_EQ(Contents(user / "mine.frq"), before);
    EXPECT_EQ(shell->form().findChild<QLineEdit*>("Note1")->text(), "kept");
    EXPECT_NE(listing().find("started"), std::string::npos);
    EXPECT_FALSE(plotsStarted());
    EXPECT_EQ(fileIn(), "");
    EXPECT_EQ(runControls(), 1);
}

// plots clears fileIn when a window of an earlier run closes; a demo asked for meanwhile must
// wait; closing veltra mid-run leaves nothing for the next start to show.
TEST_F(RunTest, WhatHappensMeanwhileDoesNotLoseTheRunsResult) {
    ::setenv("VELTRANA_STANDIN", "wait", 1);
    openFile(user / "mine.frq", "x");
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(shell->runCommands().running());
    RegistryStore store;
    SaveFileIn(store, "");
    shell->RunDemo();
    EXPECT_EQ(titles(), std::vector<std::string>{"Run in progress"});
    std::ofstream(user / "go");
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(plotsStarted());
    EXPECT_EQ(fileIn(), (user / "mine_frq.dat").string());

    ::setenv("VELTRANA_STANDIN", "slow", 1);
    shell->runCommands().SubmitCommand();
    prompter.answer(PromptAnswer::Yes); // end the run and exit
    shell->form().close();
    EXPECT_EQ(fileIn(), "");
}

TEST_F(RunTest, ViewMenuOpensTheListingAndPlotsOrSaysWhatIsMissing) {
    const std::string out = (user / "~Veltra.out").string();
    const std::string viewer = (family / "List/list").string();
    shell->runCommands().ViewLastOutput();
    EXPECT_EQ(titles(), std::vector<std::string>{out + " file not found."});
    EXPECT_EQ(prompter.prompts[0].text, "Try a 'Submit' command then retry this View option.");

    std::ofstream(out) << "listing\n";
    shell->runCommands().ViewLastOutput();
    EXPECT_EQ(titles().back(), "A Veltrana File is missing!"); // no viewer installed
    fs::create_directories(family / "List");
    fs::copy_file(family / "plots", viewer);
    shell->runCommands().ViewLastOutput();
    shell->form().findChild<QAction*>("mnuViewPlots")->trigger();
    EXPECT_EQ(launched, (std::vector<Launch>{{viewer, {out}}, {(family / "plots").string(), {}}}));
    fs::remove(family / "plots");
    shell->form().findChild<QPushButton*>("cmdPlots")->click();
    EXPECT_EQ(titles().back(), "Plots.exe file not found.");
}

// Run Demo as wired in the shell (the demo tests stand in for the run itself).
TEST_F(RunTest, DemoRunLeavesTheCurrentFileAndTheControlsAlone) {
    openFile(user / "mine.frq", "mine");
    std::ofstream(user / "Ex-Yzero.01") << "example\r\n";
    shell->RunDemo(); // the Demos tab's first example
    ASSERT_TRUE(shell->runCommands().running()) << titles().size();
    EXPECT_EQ(runControls(), 1);
    EXPECT_TRUE(shell->optimiserRun().window().isVisible());
    ASSERT_TRUE(waitForEnd());
    EXPECT_NE(listing().find("args=Ex-Yzero.01|" + user.string() + "|"), std::string::npos);
    EXPECT_TRUE(fs::exists(user / "ex-yzero_01.dat"));
    EXPECT_TRUE(plotsStarted());
    EXPECT_EQ(shell->state().currentFileName, "mine.frq");
    EXPECT_EQ(shell->state().runMode, " ");
}
