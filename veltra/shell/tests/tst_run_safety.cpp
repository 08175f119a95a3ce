// What keeps a run from being confused with another run, an old result or silence.
#include "FormTexts.h"
#include "ResultFileName.h"
#include "RunFixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProcess>

#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <sys/ioctl.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

using Texts = test::RunTest::Texts;

class RunSafety : public test::RunTest {
protected:
    // A veltra process of its own submitting `file` of the user directory.
    std::unique_ptr<QProcess> startVeltra(const std::string& file) {
        auto veltra = std::make_unique<QProcess>();
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("Quillon", QString::fromStdString(family.string()));
        veltra->setProcessEnvironment(e);
        veltra->start(SUBMITTING_VELTRA, {QString::fromStdString(file)});
        return veltra;
    }
    static std::string output(QProcess& veltra) {
        EXPECT_TRUE(veltra.waitForFinished(10000));
        return veltra.readAllStandardOutput().toStdString();
    }
    bool waitForListing(const std::string& text) {
        return QTest::qWaitFor([&] { return listing().find(text) != std::string::npos; }, 10000);
    }
    // The stand-in optimiser has gone (or is a zombie nobody reaped yet).
    bool optimiserEnded() const {
        const std::string text = listing();
        std::ifstream stat("/proc/" + text.substr(text.find("pid=") + 4, 8) + "/stat");
        std::string pid, name, state;
        return !(stat >> pid >> name >> state) || state == "Z";
    }
    std::string plots() const { return "started " + (family / "plots").string() + "\n"; }
};

} // namespace

// The optimiser's own words, before a run or a change of fileIn; a value refused in a grid
// stops Submit before its save question.
TEST_F(RunSafety, SubmitRefusesAProblemTheOptimiserWouldStopOn) {
    const std::tuple<std::function<void(DesignProblem&)>, const char*> cases[] = {
        {[](DesignProblem& d) { d.Yin[3] = "0"; }, "Pass-band point 3: Yin is 0"},
        {[](DesignProblem& d) {
             d.nFreqPoints = 5001;
             for (auto* v : {&d.Freq, &d.Yin, &d.Yout, &d.Weight})
                 v->assign(5002, "1");
         },
         "does not hold 5001 points (at most 5000)"},
    };
    RegistryStore store;
    SaveFileIn(store, "kept");
    for (const auto& [edit, says] : cases) {
        SCOPED_TRACE(says);
        prompter = ScriptedPrompter();
        openFile(user / "bad.frq", "bad", edit);
        shell->runCommands().SubmitCommand();
        ASSERT_EQ(titles(), Texts{"Problem not ready"});
        EXPECT_NE(prompter.prompts[0].text.find(says), std::string::npos);
        EXPECT_FALSE(shell->runCommands().running() || fs::exists(user / "~Veltra.out"));
        EXPECT_EQ(fileIn(), "kept");
    }
    prompter = ScriptedPrompter();
    shell->form().tabs()->setCurrentIndex(forms::kPassTab);
    shell->form().findChild<QLineEdit*>("txtPassCellEditor")->setText("0,83");
    shell->runCommands().SubmitCommand();
    EXPECT_EQ(titles(), Texts{"Not a number"});
}

// "a.frq.bak" and "a.frq", "Test.frq" and "test.frq" give one result file: a run of one
// replaces the other's result only when the user says so.
TEST_F(RunSafety, AResultOfAnotherInputFileIsReplacedOnlyWhenTheUserSaysSo) {
    // input file, the one its result file names, the answer, whether it runs
    const std::tuple<std::string, const char*, PromptAnswer, bool> cases[] = {
        {"a.frq", "a.frq.bak", PromptAnswer::Cancel, false},
        {"Test.frq", "test.frq", PromptAnswer::Ok, true},
        {"a.frq", "a.frq", PromptAnswer::Cancel, true},
    };
    for (const auto& [input, named, answer, runs] : cases) {
        SCOPED_TRACE(input + " over a result of " + named);
        prompter = ScriptedPrompter();
        launched.clear();
        const fs::path result = ResultFilePath(input, user.string());
        std::ofstream(result) << named << "  its note\r\n-2\r\n";
        const std::string before = Contents(result);
        openFile(user / input, "mine");
        prompter.answer(answer);
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(titles().size(), input == named ? 0u : 1u);
        EXPECT_EQ(plotsStarted(), runs);
        EXPECT_EQ(Contents(result) == before, !runs);
    }
}

// An older listing that cannot be removed is not this run's and is never quoted as its
// reason; the optimiser's error output is.
TEST_F(RunSafety, AFailedRunNeverQuotesAListingItDidNotWrite) {
    const fs::path old = user / "~Veltra.out";
    std::ofstream(old) << "Run completed: result file of another problem\r\n";
    const int fd = ::open(old.c_str(), O_RDONLY);
    int flags = 0;
    ::ioctl(fd, FS_IOC_GETFLAGS, &flags);
    flags |= FS_IMMUTABLE_FL;
    if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)
        GTEST_SKIP() << "no file can be kept from being removed here";
    openFile(user / "mine.frq", "mine");
    ::setenv("VELTRANA_STANDIN", "silent", 1);
    shell->runCommands().SubmitCommand();
    const bool ended = waitForEnd();
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);
    ASSERT_TRUE(ended);
    ASSERT_EQ(titles(), Texts{"Run failed"});
    const std::string said = prompter.prompts[0].text;
    EXPECT_EQ(said.find("another problem"), std::string::npos) << said;
    EXPECT_NE(said.find("optimiser: Cannot write the listing"), std::string::npos) << said;
}

// Two veltras submit at once: one runs, the other is told whose run it is, and neither
// listing is lost: the second runs once the first has ended.
TEST_F(RunSafety, TwoVeltrasSubmittingAtOnceRunOneAfterTheOther) {
    ::setenv("VELTRANA_STANDIN", "wait", 1);
    openFile(user / "first.frq", "first");
    openFile(user / "second.frq", "second");
    auto first = startVeltra("first.frq");
    ASSERT_TRUE(waitForListing("args=first.frq|"));
    const std::string told = output(*startVeltra("second.frq"));
    EXPECT_NE(told.find("Run in progress: A run of " + (user / "first.frq").string() +
                        " is in progress: started "),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("process " + std::to_string(first->processId())), std::string::npos);
    std::ofstream(user / "go");
    EXPECT_EQ(output(*first), "running\n" + plots());
    EXPECT_NE(listing().find("result written to " + (user / "first_frq.dat").string()),
              std::string::npos);
    EXPECT_TRUE(output(*startVeltra("second.frq")).ends_with("running\n" + plots()));
    EXPECT_NE(listing().find("args=second.frq|"), std::string::npos);
}

// A killed veltra takes its optimiser with it, its next start brings up no result, and a run
// can be submitted again at once.
TEST_F(RunSafety, KillingVeltraDuringARunEndsTheOptimiserAndTheNextStartShowsNothing) {
    ::setenv("VELTRANA_STANDIN", "slow", 1);
    openFile(user / "long.frq", "long");
    std::ofstream(user / "long_frq.dat") << "long.frq  the result of an earlier run\r\n";
    auto veltra = startVeltra("long.frq");
    ASSERT_TRUE(waitForListing("started"));
    veltra->kill();
    EXPECT_TRUE(QTest::qWaitFor([&] { return optimiserEnded(); }, 1000));
    launched.clear();
    ASSERT_TRUE(newShell().start());
    EXPECT_EQ(launched, Texts{});
    ::setenv("VELTRANA_STANDIN", "ok", 1);
    openFile(user / "long.frq", "long");
    shell->runCommands().SubmitCommand();
    EXPECT_TRUE(shell->runCommands().running());
}

// Exit during a run does what Cancel does: the optimiser is asked to stop and notes it in its
// listing; one that does not listen is killed two seconds later.
TEST_F(RunSafety, ExitDuringARunAsksTheOptimiserToStopFirst) {
    // how the stand-in takes SIGTERM, the listing's last line once veltra has gone
    const std::tuple<const char*, const char*> cases[] = {
        {"term", "started\nRun cancelled on SIGTERM\n"}, {"deaf", "started\n"}};
    for (const auto& [mode, last] : cases) {
        SCOPED_TRACE(mode);
        ::setenv("VELTRANA_STANDIN", mode, 1);
        ASSERT_TRUE(newShell().start());
        openFile(user / "long.frq", "long");
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForListing("started"));
        prompter.answer(PromptAnswer::Yes); // end the run and exit
        shell->form().close();
        EXPECT_TRUE(optimiserEnded());
        EXPECT_TRUE(listing().ends_with(last)) << listing();
    }
}
