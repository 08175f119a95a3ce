// Submit, Run Demo and the View menu with a stand-in optimiser script as the child, what keeps
// a run from being confused with another run, an old result or silence, and the progress
// window as a long run fills its listing.
#include "DemosPage.h"
#include "FollowingTextView.h"
#include "FormTexts.h"
#include "OptimiserRun.h"
#include "ProgressWindow.h"
#include "Settings.h"
#include "ShellTest.h"

#include <QProcess>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

namespace {

// The real shell over a stand-in optimiser (tests/data/optimiser-standin.sh, whose ending
// standIn() picks) and a stand-in plots.
class RunTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        fs::copy_file(fs::path(VELTRANA_TEST_DATA) / "optimiser-standin.sh", family / "optimiser");
        installProgram(family / "plots");
        standIn("ok");
        ASSERT_TRUE(newShell().start());
    }
    static void standIn(const char* ending) { ::setenv("VELTRANA_STANDIN", ending, 1); }

    bool waitForEnd() {
        return QTest::qWaitFor([this] { return !shell->runCommands().running(); }, 10000);
    }
    bool waitForListing(const std::string& text) {
        return QTest::qWaitFor([&] { return listing().find(text) != std::string::npos; }, 10000);
    }
    std::string listing() const { return Contents(user / "~Veltra.out"); }
    // The stand-in optimiser named in the listing has gone (or is a zombie nobody reaped yet).
    bool optimiserEnded() const {
        const std::string text = listing();
        const size_t at = text.find("pid=") + 4;
        std::ifstream stat("/proc/" + text.substr(at, text.find('\n', at) - at) + "/stat");
        std::string pid, name, state;
        return !(stat >> pid >> name >> state) || state == "Z";
    }
    std::string runControls() const {
        return enabled({"cmdSubmit", "cmdPlots", "mnuFile", "mnuView"});
    }
    std::string fileIn() const { return GetFileIn(RegistryStore()); }
    bool plotsStarted() const {
        return std::ranges::count(launched, (family / "plots").string()) > 0;
    }
};

// Sets or clears the flag that keeps a file from being written or removed; false where the
// file system or the user's rights refuse it.
bool Immutable(const fs::path& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// Gives a file the time of a clock set back, later than the run that follows.
void StampAhead(const fs::path& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() + std::chrono::hours(1));
}

} // namespace

// Before anything runs, Submit offers changed or never saved data for saving; it stops on
// what the optimiser would stop on, in its own words, on a result of another input file the
// user keeps ("a.frq.bak" gives a.frq's result file) and on a value refused in a grid, before
// its save question. What does not run touches no listing, fileIn or result file.
TEST_F(RunTest, SubmitAsksAndStopsBeforeWhatShouldNotRun) {
    using A = PromptAnswer;
    const fs::path result = user / "a_frq.dat";
    std::ofstream(result) << "a.frq.bak  its note\r\n-2\r\n";
    const std::string before = Contents(result);
    // "edited" on the form over mine.frq, which holds "stored", or over the start-up values
    // (never saved); the answer, and whether the Save As dialog picks chosen.frq (else it is
    // cancelled)
    const auto edited = [this](bool saved, A answer, bool chooseFile) {
        return [=, this] {
            openFile(user / "mine.frq", "stored");
            if (!saved)
                shell->state().currentFileName = kStartupFileName;
            field("Note1")->setText("edited");
            prompter.answer(answer);
            if (chooseFile)
                prompter.answerFile(FileDialogAnswer{(user / "chosen.frq").string(), 1});
        };
    };
    const auto tooLong = [](DesignProblem& d) {
        d.nFreqPoints = 5001;
        for (auto* v : {&d.Freq, &d.Yin, &d.Yout, &d.Weight})
            v->assign(5002, "1");
    };
    const std::string changed = "Data in form has changed!", notSaved = "Data -not- saved!";
    // what is submitted, the message and a part of its text, the file run ("": none), the
    // current file afterwards and a text it holds on disk
    const std::tuple<std::function<void()>, std::string, const char*, std::string, std::string,
                     const char*>
        cases[] = {
            {edited(true, A::No, false), changed, "", "mine.frq", "mine.frq", "stored"},
            {edited(true, A::Cancel, false), changed, "", "", "mine.frq", "stored"},
            {edited(true, A::Yes, true), changed, "", "chosen.frq", "chosen.frq", "edited"},
            {edited(false, A::Ok, true), notSaved, "", "chosen.frq", "chosen.frq", "edited"},
            {edited(false, A::Ok, false), notSaved, "", "", kStartupFileName, ""},
            {[&] {
                 openFile(user / "a.frq", "mine");
                 prompter.answer(A::Cancel);
             },
             "Result file of another input file", "holds the result of 'a.frq.bak'", "", "a.frq",
             "mine"},
            {[&] { openFile(user / "a.frq", "bad", tooLong); }, "Problem not ready",
             "does not hold 5001 points (at most 5000)", "", "a.frq", "bad"},
            {[&] {
                 openFile(user / "a.frq", "mine");
                 shell->form().tabs()->setCurrentIndex(forms::kPassTab);
                 field("txtPassCellEditor")->setText("0,83");
             },
             "Not a number", "", "", "a.frq", "mine"},
        };
    RegistryStore store;
    for (size_t row = 0; row < std::size(cases); ++row) {
        SCOPED_TRACE(row);
        const auto& [submitted, title, says, run, current, note] = cases[row];
        reset();
        fs::remove(user / "chosen.frq");
        fs::remove(user / "~Veltra.out");
        SaveFileIn(store, "kept");
        submitted();
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForEnd());
        ASSERT_EQ(titles(), Texts{title});
        EXPECT_NE(prompter.prompts[0].text.find(says), npos) << prompter.prompts[0].text;
        EXPECT_EQ(listing().substr(0, listing().find('|')), run.empty() ? "" : "args=" + run);
        EXPECT_EQ(fileIn() == "kept", run.empty());
        EXPECT_EQ(shell->state().currentFileName, current);
        EXPECT_NE(Contents(user / current).find(note), npos);
        EXPECT_EQ(fs::exists(user / "chosen.frq"), run == "chosen.frq");
        EXPECT_EQ(Contents(result), before);
    }
}

// However a run ends, the controls come back, and only a good run brings plots up with its
// result. The optimiser gets the file's real directory, wherever the file lies, and runs under
// veltra's lock. No result is named for plots before the run has written it. A result file
// there before the run is never taken for its result, nor removed, and a listing the run did
// not write is never quoted (the silent run's cannot be removed where the file system allows
// that), even when both bear a time later than the run's start. The result of another input
// file ("test.frq" for "Test.frq") is replaced only after a question, answered Ok here.
TEST_F(RunTest, ControlsComeBackHoweverTheRunEnds) {
    // how the stand-in ends ("missing": no optimiser at all), the input file an older result
    // file names ("": none there), the message ("" for none) and a part of its text, whether
    // plots comes up
    const std::tuple<std::string, std::string, const char*, std::string, bool> cases[] = {
        {"ok", "test.frq", "Result file of another input file", "the result of 'test.frq'", true},
        // The last eight of the failed run's ten lines: from the third, cwd=, on.
        {"fail", "", "Run failed",
         "exit status 3.\r\n\r\nLast lines of " + (user / "~Veltra.out").string() + ":\r\ncwd=",
         false},
        {"crash", "", "Run failed", "ended abnormally", false},
        {"noresult", "", "Run failed", "wrote no result file", false},
        {"noresult", "Test.frq", "Run failed", "The file there is from an earlier run", false},
        {"silent", "Test.frq", "Run failed",
         "wrote no listing in this run (" + user.string() +
             "/~Veltra.out).\r\n\r\nThe optimiser said:\r\noptimiser: Cannot write the listing",
         false},
        {"missing", "", "A Veltrana File is missing!", "Re-Install Veltrana", false},
    };
    const fs::path work = m_dir / "Work", out = user / "~Veltra.out";
    const std::string f = family.string(), result = (work / "test_frq.dat").string();
    openFile(work / "Test.frq", "x");
    for (const auto& [mode, older, title, says, plots] : cases) {
        SCOPED_TRACE(mode + " over a result of " + older);
        reset();
        fs::remove(result);
        if (!older.empty()) {
            std::ofstream(result) << older << "  an older result";
            StampAhead(result);
        }
        const std::string oldResult = Contents(result);
        std::ofstream(out) << "Run completed: the listing of an earlier run\n";
        StampAhead(out);
        const bool kept = mode == "silent" && Immutable(out, true);
        RegistryStore store;
        SaveFileIn(store, (work / "earlier.dat").string());
        standIn(mode.c_str());
        const bool runs = mode != "missing";
        if (!runs)
            fs::remove(family / "optimiser");
        shell->runCommands().SubmitCommand();
        EXPECT_EQ(shell->runCommands().running(), runs);
        EXPECT_EQ(fileIn(), "");
        EXPECT_EQ(runControls(), runs ? "0000" : "1111");
        const bool ended = waitForEnd();
        if (kept)
            Immutable(out, false);
        ASSERT_TRUE(ended);
        EXPECT_EQ(runControls(), "1111");
        EXPECT_FALSE(shell->optimiserRun().window().isVisible());
        EXPECT_EQ(launched, plots ? Texts{(family / "plots").string()} : Texts{});
        EXPECT_EQ(fileIn(), plots ? result : "");
        EXPECT_EQ(Contents(result) == oldResult, !plots);
        // The optimiser runs in the user directory under veltra's lock, open in the child.
        const std::string text = listing();
        EXPECT_EQ(text.starts_with("args=Test.frq|" + work.string() + "|" + f + "|" +
                                   f.substr(0, 2) + "|Te\npid=") &&
                      text.find("\ncwd=" + user.string() + "\nlock=") != npos &&
                      text.find(" open\n") != npos,
                  runs && mode != "silent")
            << text;
        EXPECT_EQ(titles(), *title ? Texts{title} : Texts{});
        const std::string said = prompter.prompts.empty() ? "" : prompter.prompts[0].text;
        EXPECT_NE(said.find(says), npos) << said;
        EXPECT_EQ(said.find("the listing of an earlier run"), npos) << said;
    }
    EXPECT_EQ(GetLastFilePath(RegistryStore()), work.string());
}

// While a run goes on another is refused, from Submit, a demo, the shell and another veltra
// alike, which is told whose run it is and runs once the first has ended. Plots clearing
// fileIn when a window of an earlier run closes does not lose this run's result.
TEST_F(RunTest, AnotherRunWaitsUntilTheRunningOneHasEnded) {
    standIn("wait");
    VeltraShell other(&prompter, env);
    ASSERT_TRUE(other.start());
    openFile(user / "other.frq", "other", {}, &other);
    openFile(user / "mine.frq", "mine");
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(shell->runCommands().running());
    RegistryStore store;
    SaveFileIn(store, "");
    shell->RunDemo();
    shell->runCommands().SubmitCommand();
    EXPECT_FALSE(shell->RunOptimiser());
    other.runCommands().SubmitCommand();
    EXPECT_EQ(titles(), Texts(4, "Run in progress"));
    EXPECT_NE(prompter.prompts[3].text.find("A run of " + (user / "mine.frq").string() +
                                            " is in progress: started "),
              npos);
    std::ofstream(user / "go");
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(plotsStarted());
    EXPECT_EQ(fileIn(), (user / "mine_frq.dat").string());
    EXPECT_NE(listing().find("args=mine.frq|"), npos);
    other.runCommands().SubmitCommand();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !other.runCommands().running(); }, 10000));
    EXPECT_NE(listing().find("args=other.frq|"), npos);
}

// Cancel ends the optimiser; Exit during a run does what Cancel does, asking the optimiser to
// stop first (it notes that in its listing) and killing one that does not listen two seconds
// later. Neither loses the form's data nor brings up a result.
TEST_F(RunTest, CancelOrExitDuringARunEndsTheOptimiserAndLosesNothing) {
    // how the stand-in runs and takes SIGTERM, whether the user exits (else cancels), the
    // listing's end once the run has gone
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"slow", false, "started\n"},
        {"term", true, "started\nRun cancelled on SIGTERM\n"},
        {"deaf", true, "started\n"}};
    for (const auto& [mode, exits, last] : cases) {
        SCOPED_TRACE(mode);
        standIn(mode);
        ASSERT_TRUE(newShell().start());
        reset();
        openFile(user / "long.frq", "kept");
        const std::string before = Contents(user / "long.frq");
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForListing("started"));
        if (exits) {
            prompter.answer(PromptAnswer::Yes); // end the run and exit
            shell->form().close();
        } else {
            click(&shell->optimiserRun().window(), "cmdCancel");
            ASSERT_TRUE(waitForEnd());
        }
        EXPECT_EQ(titles(), Texts{exits ? "Run in progress" : "Run cancelled"});
        EXPECT_TRUE(optimiserEnded());
        EXPECT_TRUE(listing().ends_with(last)) << listing();
        EXPECT_EQ(Contents(user / "long.frq"), before);
        EXPECT_EQ(field("Note1")->text(), "kept");
        EXPECT_FALSE(plotsStarted());
        EXPECT_EQ(fileIn(), "");
    }
}

// A killed veltra takes its optimiser with it, its next start brings up no result, and a run
// can be submitted again at once.
TEST_F(RunTest, KillingVeltraDuringARunEndsTheOptimiserAndTheNextStartShowsNothing) {
    standIn("slow");
    openFile(user / "long.frq", "long");
    std::ofstream(user / "long_frq.dat") << "long.frq  the result of an earlier run\r\n";
    RegistryStore store;
    SaveFileIn(store, (user / "long_frq.dat").string());
    QProcess veltra;
    veltra.setEnvironment(QProcess::systemEnvironment() << "Quillon=" + QString(family.c_str()));
    veltra.start(SUBMITTING_VELTRA, {"long.frq"});
    ASSERT_TRUE(waitForListing("started"));
    veltra.kill();
    // It ends at once; the margin is for a loaded machine (left alone it would run a minute).
    EXPECT_TRUE(QTest::qWaitFor([&] { return optimiserEnded(); }, 5000));
    reset();
    ASSERT_TRUE(newShell().start());
    EXPECT_EQ(launched, Texts{});
    standIn("ok");
    openFile(user / "long.frq", "long");
    shell->runCommands().SubmitCommand();
    EXPECT_TRUE(shell->runCommands().running());
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
// for plots. (Another option's example runs to plots in the end-to-end test.)
TEST_F(RunTest, RunDemoRunsTheChosenExampleAndLeavesTheFormAlone) {
    openFile(user / "mine.frq", "mine");
    shell->setDemoMode(true);
    for (const bool found : {false, true}) {
        SCOPED_TRACE(found);
        reset();
        if (found)
            std::ofstream(user / "Ex-Yzero.01") << "example\r\n";
        click(shell->form().demosPage(), "cmdRunDemo");
        ASSERT_EQ(shell->runCommands().running(), found);
        EXPECT_EQ(shell->optimiserRun().window().isVisible(), found);
        EXPECT_EQ(enabled({"mnuHelp"}), "1"); // the one run control demo mode leaves enabled
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(titles(), found ? Texts{} : Texts{"Example file not found."});
        EXPECT_EQ(listing().starts_with("args=Ex-Yzero.01|" + user.string() + "|"), found);
        EXPECT_EQ(plotsStarted(), found);
        EXPECT_EQ(fileIn(), found ? (user / "ex-yzero_01.dat").string() : "");
        EXPECT_EQ(shell->state().currentFileName, "mine.frq");
        EXPECT_FALSE(shell->state().dataChanged);
    }
}

// The window keeps to the end of the listing as a terminal does, while the listing grows to
// thousands of lines and the window is resized, until the user scrolls up to read.
TEST_F(RunTest, TheProgressWindowFollowsTheListingUnlessTheUserScrolledUp) {
    ProgressWindow window;
    window.begin("Long.1", QString::fromStdString(in("~Veltra.out")));
    window.show();
    auto* view = window.findChild<FollowingTextView*>("txtListing");
    QScrollBar* bar = view->verticalScrollBar();
    int lines = 0;
    // lines added, the window's height before they come, whether the user scrolled up first
    const std::tuple<int, int, bool> steps[] = {
        {400, 480, false}, {40, 300, false}, {2000, 600, false}, {100, 600, true}};
    for (const auto& [count, height, scrolledUp] : steps) {
        SCOPED_TRACE(count);
        window.resize(window.width(), height);
        QTest::qWait(50);
        EXPECT_EQ(bar->value(), bar->maximum()) << "after the resize alone";
        if (scrolledUp)
            bar->setValue(bar->maximum() / 2);
        const int kept = bar->value();
        std::ofstream out(in("~Veltra.out"), std::ios::app);
        for (const int end = lines + count; lines < end; ++lines)
            out << "  Descent 1, iteration " << lines << ": error sum = 0.5\r\n";
        out.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->blockCount() > lines; }, 3000));
        QTest::qWait(50);
        EXPECT_EQ(bar->value(), scrolledUp ? kept : bar->maximum());
    }
}
