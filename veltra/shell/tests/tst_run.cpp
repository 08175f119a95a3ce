// Submit, Run Demo and the View menu, with a stand-in optimiser script as the child.
#include "DemosPage.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "RunFixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

using test::RunTest;
using Texts = RunTest::Texts;

TEST_F(RunTest, SaveQuestionsDecideWhatRuns) {
    using A = PromptAnswer;
    const char* changed = "Data in form has changed!";
    const char* unsaved = "Data -not- saved!";
    // The form is changed each time: whether mine.frq exists, the answers, whether the Save As
    // dialog picks chosen.frq (else it is cancelled), the messages, the file handed over ("" for no
    // run) and a text of it, or of mine.frq, on disk ("": nothing saved)
    using Row =
        std::tuple<const char*, bool, std::vector<A>, bool, Texts, std::string, const char*>;
    // clang-format off
    const Row cases[] = {
        {"changed, No: the file runs as stored", true, {A::No}, false, {changed}, "mine.frq", "stored"},
        {"changed, Cancel: no run", true, {A::Cancel}, false, {changed}, "", "stored"},
        {"changed, Yes: saved under a new name, run", true, {A::Yes}, true, {changed}, "chosen.frq", "edited"},
        {"never saved: saved first, then run", false, {A::Ok}, true, {unsaved}, "chosen.frq", "edited"},
        {"never saved, Cancel: no run", false, {A::Cancel}, false, {unsaved}, "", ""},
        {"never saved, dialog cancelled: no run", false, {A::Ok}, false, {unsaved}, "", ""},
    };
    // clang-format on
    for (const auto& [what, exists, answers, chooseFile, asked, runFile, note] : cases) {
        SCOPED_TRACE(what);
        prompter = ScriptedPrompter();
        launched.clear();
        fs::remove(user / "chosen.frq");
        if (exists) {
            openFile(user / "mine.frq", "stored");
        } else {
            fillForm();
            shell->state().currentFileName = kStartupFileName;
            shell->state().currentDir = user;
        }
        shell->form().findChild<QLineEdit*>("Note1")->setText("edited");
        for (auto a : answers)
            prompter.answer(a);
        if (chooseFile)
            prompter.answerFile(FileDialogAnswer{(user / "chosen.frq").string(), 1});
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(titles(), asked);
        EXPECT_EQ(listing().find("args=" + runFile + "|") == 0, !runFile.empty());
        if (*note)
            EXPECT_NE(Contents(user / (runFile.empty() ? "mine.frq" : runFile)).find(note),
                      std::string::npos);
        else
            EXPECT_FALSE(fs::exists(user / "chosen.frq"));
        if (!exists && runFile.empty()) {
            EXPECT_EQ(shell->state().currentFileName, kStartupFileName);
        }
    }
}

// However a run ends, the controls come back, and only a good run brings plots up with its
// result. The optimiser gets the file's real directory, wherever the file lies, and runs under
// veltra's lock. No result is named for plots before the run has written it; an older result
// file is never taken for the run's, nor removed, and a listing the run did not write is
// never quoted.
TEST_F(RunTest, ControlsComeBackHoweverTheRunEnds) {
    // how the stand-in ends ("missing": no optimiser at all), whether an older result file is
    // there, the message ("" for none) and a part of its text, whether plots comes up
    const std::tuple<std::string, bool, const char*, std::string, bool> cases[] = {
        {"ok", true, "", "", true},
        // The last eight of the failed run's ten lines: from the third, cwd=, on.
        {"fail", false, "Run failed",
         "exit status 3.\r\n\r\nLast lines of " + (user / "~Veltra.out").string() + ":\r\ncwd=",
         false},
        {"crash", false, "Run failed", "ended abnormally", false},
        {"noresult", false, "Run failed", "wrote no result file", false},
        {"noresult", true, "Run failed", "The file there is from an earlier run", false},
        {"silent", true, "Run failed",
         "wrote no listing in this run (" + user.string() +
             "/~Veltra.out).\r\n\r\nThe optimiser "
             "said:\r\noptimiser: Cannot write the listing",
         false},
        {"missing", false, "A Veltrana File is missing!", "Re-Install Veltrana", false},
    };
    const fs::path work = m_dir / "Work";
    const std::string f = family.string(), result = (work / "test_frq.dat").string();
    openFile(work / "Test.frq", "x");
    for (const auto& [mode, older, title, says, plots] : cases) {
        SCOPED_TRACE(mode + (older ? " over an older result" : ""));
        prompter = ScriptedPrompter();
        launched.clear();
        fs::remove(result);
        if (older) {
            std::ofstream(result) << "Test.frq  an older result";
            backdate(result);
        }
        const std::string oldResult = Contents(result);
        std::ofstream(user / "~Veltra.out") << "Run completed: the listing of an earlier run\n";
        RegistryStore store;
        SaveFileIn(store, (work / "earlier.dat").string());
        ::setenv("VELTRANA_STANDIN", mode.c_str(), 1);
        const bool runs = mode != "missing";
        if (!runs)
            fs::remove(family / "optimiser");
        shell->runCommands().SubmitCommand();
        ASSERT_EQ(shell->runCommands().running(), runs);
        EXPECT_EQ(fileIn(), "");
        EXPECT_EQ(runControls(), runs ? 0 : 1);
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(runControls(), 1);
        EXPECT_FALSE(shell->optimiserRun().window().isVisible());
        EXPECT_EQ(launched, plots ? Texts{(family / "plots").string()} : Texts{});
        EXPECT_EQ(fileIn(), plots ? result : "");
        if (!plots) {
            EXPECT_EQ(Contents(result), oldResult);
        }
        const bool listed = runs && mode != "silent";
        EXPECT_EQ(listing().find("args=Test.frq|" + work.string() + "|" + f + "|" + f.substr(0, 2) +
                                 "|Te\n") != std::string::npos,
                  listed)
            << listing();
        EXPECT_EQ(listing().find("cwd=" + user.string() + "\n") != std::string::npos, listed);
        // The optimiser runs under veltra's lock: its descriptor is open in the child.
        EXPECT_EQ(listing().find(" open\n") != std::string::npos, listed) << listing();
        EXPECT_EQ(titles(), *title ? Texts{title} : Texts{});
        const std::string said = prompter.prompts.empty() ? "" : prompter.prompts[0].text;
        EXPECT_NE(said.find(says), std::string::npos) << said;
        EXPECT_EQ(said.find("the listing of an earlier run"), std::string::npos) << said;
    }
    EXPECT_EQ(GetLastFilePath(RegistryStore()), work.string());
}

// While a run goes on another is refused, from Submit, a demo and the shell alike, and plots
// clearing fileIn when a window of an earlier run closes does not lose this run's result.
// Cancel ends the child and loses nothing; closing veltra mid-run leaves nothing for the next
// start to show.
TEST_F(RunTest, WhatHappensDuringARunLosesNothing) {
    ::setenv("VELTRANA_STANDIN", "wait", 1);
    openFile(user / "mine.frq", "kept");
    const std::string before = Contents(user / "mine.frq");
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(shell->runCommands().running());
    RegistryStore store;
    SaveFileIn(store, "");
    shell->RunDemo();
    shell->runCommands().SubmitCommand();
    EXPECT_FALSE(shell->RunOptimiser());
    EXPECT_EQ(titles(), Texts(3, "Run in progress"));
    std::ofstream(user / "go");
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(plotsStarted());
    EXPECT_EQ(fileIn(), (user / "mine_frq.dat").string());

    ::setenv("VELTRANA_STANDIN", "slow", 1);
    launched.clear();
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return listing().find("started") != std::string::npos; }, 5000));
    const pid_t pid = std::stoi(listing().substr(listing().find("pid=") + 4));
    click(&shell->optimiserRun().window(), "cmdCancel");
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(titles().back(), "Run cancelled");
    EXPECT_NE(::kill(pid, 0), 0);
    EXPECT_EQ(Contents(user / "mine.frq"), before);
    EXPECT_EQ(shell->form().findChild<QLineEdit*>("Note1")->text(), "kept");
    EXPECT_FALSE(plotsStarted());
    EXPECT_EQ(fileIn(), "");

    shell->runCommands().SubmitCommand();
    prompter.answer(PromptAnswer::Yes); // end the run and exit
    shell->form().close();
    EXPECT_EQ(fileIn(), "");
}

// The View menu's last listing and example file come up in the suite's viewer, its plots item
// starts plots, each with a message for what is missing; the form's file stays as it was.
TEST_F(RunTest, ViewMenuOpensTheListingAnExampleAndPlotsOrSaysWhatIsMissing) {
    const std::string out = (user / "~Veltra.out").string();
    const std::string viewer = (family / "List/list").string();
    const std::string example = (user / "Ex-Delay.11").string();
    shell->runCommands().ViewLastOutput();
    std::ofstream(out) << "listing\n";
    shell->runCommands().ViewLastOutput(); // no viewer installed
    prompter.answerFile(FileDialogAnswer{example, 2});
    shell->ViewExampleFile();
    EXPECT_EQ(titles(), (Texts{out + " file not found.", "A Veltrana File is missing!",
                               "Text viewer not found."}));

    installProgram(viewer);
    shell->runCommands().ViewLastOutput();
    prompter.answerFile(FileDialogAnswer{example, 2});
    prompter.answerFile(std::nullopt);
    shell->ViewExampleFile();
    shell->ViewExampleFile();
    shell->form().findChild<QAction*>("mnuViewPlots")->trigger();
    EXPECT_EQ(launched,
              (Texts{viewer + " " + out, viewer + " " + example, (family / "plots").string()}));
    EXPECT_EQ(titles().size(), 3u);
    EXPECT_EQ(prompter.dialogs.back().initialDir, user.string());
    EXPECT_EQ(shell->state().currentFileName, "Start Up Values");
    EXPECT_EQ(shell->state().dialogInitialDir, user.string());
    fs::remove(family / "plots");
    click(&shell->form(), "cmdPlots");
    EXPECT_EQ(titles().back(), "Plots.exe file not found.");
}

// Run Demo as wired in the shell runs the chosen example from the user directory, leaving the
// form's file and the controls alone; a missing example is reported and leaves no result path
// for plots.
TEST_F(RunTest, RunDemoRunsTheChosenExampleAndLeavesTheFormAlone) {
    // the option clicked (nullptr: none), the example, its result ("": the example is missing)
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {nullptr, "Ex-Yzero.01", ""},
        {nullptr, "Ex-Yzero.01", "ex-yzero_01.dat"},
        {"Exam_4", "Ex-Delay.01", "ex-delay_01.dat"},
    };
    openFile(user / "mine.frq", "mine");
    shell->setDemoMode(true);
    for (const auto& [option, file, resultName] : cases) {
        SCOPED_TRACE(std::string(file) + " to " + resultName);
        const bool found = *resultName;
        prompter = ScriptedPrompter();
        launched.clear();
        if (found)
            std::ofstream(user / file) << "example\r\n";
        if (option)
            click(shell->form().demosPage(), option);
        click(shell->form().demosPage(), "cmdRunDemo");
        ASSERT_EQ(shell->runCommands().running(), found);
        EXPECT_EQ(shell->optimiserRun().window().isVisible(), found);
        EXPECT_TRUE(enabled("mnuHelp")); // the one run control demo mode leaves enabled
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(titles(), found ? Texts{} : Texts{"Example file not found."});
        EXPECT_EQ(listing().find("args=" + std::string(file) + "|" + user.string() + "|") == 0,
                  found);
        EXPECT_EQ(plotsStarted(), found);
        EXPECT_EQ(fileIn(), found ? (user / resultName).string() : "");
        EXPECT_EQ(shell->state().currentFileName, "mine.frq");
        EXPECT_FALSE(shell->state().dataChanged);
    }
}
