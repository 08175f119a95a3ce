// What keeps a run from being confused with another run, an old result or silence: the problem
// checked before anything starts, the result of another input file, two veltras at once, a
// killed veltra and Exit during a run.
#include "FormTexts.h"
#include "ProblemCheck.h"
#include "RunFixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProcess>
#include <QTableWidget>

#include <csignal>
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
        EXPECT_TRUE(veltra->waitForStarted(5000));
        return veltra;
    }
    std::string output(QProcess& veltra) {
        EXPECT_TRUE(veltra.waitForFinished(10000));
        return veltra.readAllStandardOutput().toStdString();
    }
    bool waitForListing(const std::string& text) {
        return QTest::qWaitFor([&] { return listing().find(text) != std::string::npos; }, 10000);
    }
    pid_t standInPid() const {
        const std::string text = listing();
        const size_t at = text.find("pid=");
        return at == std::string::npos ? 0 : std::stoi(text.substr(at + 4));
    }
    // Gone, or a zombie nobody has reaped yet: either way it does nothing more.
    static bool ended(pid_t pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        return !(stat >> pidText >> name >> state) || state == "Z";
    }
};

} // namespace

// The optimiser's own words, before any save question of Submit, a run or a change of fileIn.
TEST_F(RunSafety, SubmitRefusesAProblemTheOptimiserWouldStopOn) {
    // the problem's fault, a part of the optimiser's line for it
    const std::tuple<const char*, std::function<void(DesignProblem&)>, const char*> cases[] = {
        {"Yin 0 at a point", [](DesignProblem& d) { d.Yin[3] = "0"; },
         "Pass-band point 3: Yin is 0"},
        {"more points than the optimiser takes",
         [](DesignProblem& d) {
             d.nFreqPoints = kMaxTablePoints + 1;
             for (auto* v : {&d.Freq, &d.Yin, &d.Yout, &d.Weight})
                 v->assign(kMaxTablePoints + 2, "1");
             for (int i = 1; i <= kMaxTablePoints + 1; ++i)
                 d.Freq[i] = std::to_string(i);
         },
         "does not hold 5001 points (at most 5000)"},
        {"a count that disagrees with its list", [](DesignProblem& d) { d.Answers[16] = "1.1"; },
         "holds 1 values but its count says 3"},
    };
    for (const auto& [what, edit, says] : cases) {
        SCOPED_TRACE(what);
        prompter = ScriptedPrompter();
        fs::remove(user / "~Veltra.out");
        RegistryStore store;
        SaveFileIn(store, "kept");
        openFile(user / "bad.frq", "bad", edit);
        shell->runCommands().SubmitCommand();
        EXPECT_FALSE(shell->runCommands().running());
        ASSERT_EQ(titles(), Texts{"Problem not ready"});
        EXPECT_NE(prompter.prompts[0].text.find(says), std::string::npos)
            << prompter.prompts[0].text;
        EXPECT_FALSE(fs::exists(user / "~Veltra.out"));
        EXPECT_EQ(fileIn(), "kept");
        EXPECT_EQ(runControls(), 1);
    }
    // A text typed into a grid and refused there stops Submit before its save question.
    prompter = ScriptedPrompter();
    openFile(user / "good.frq", "good");
    shell->form().tabs()->setCurrentIndex(forms::kPassTab);
    auto* editor = shell->form().findChild<QLineEdit*>("txtPassCellEditor");
    editor->setText("0,83");
    shell->runCommands().SubmitCommand();
    EXPECT_EQ(titles(), Texts{"Not a number"});
    EXPECT_FALSE(shell->runCommands().running());
}

// "a.frq.bak" and "a.frq", "Test.frq" and "test.frq" give one result file: a run of one
// replaces the other's result only when the user says so.
TEST_F(RunSafety, AResultOfAnotherInputFileIsReplacedOnlyWhenTheUserSaysSo) {
    // the input file the result there names (nullptr: no result there), the answer, whether
    // the user is asked, whether it runs
    const std::tuple<std::string, const char*, PromptAnswer, bool, bool> cases[] = {
        {"a.frq", "a.frq.bak", PromptAnswer::Cancel, true, false},
        {"a.frq", "a.frq.bak", PromptAnswer::Ok, true, true},
        {"Test.frq", "test.frq", PromptAnswer::Cancel, true, false},
        {"a.frq", "a.frq", PromptAnswer::Cancel, false, true},
        {"a.frq", nullptr, PromptAnswer::Cancel, false, true},
    };
    for (const auto& [input, named, answer, asked, runs] : cases) {
        SCOPED_TRACE(input + " over a result of " + (named ? named : "none"));
        prompter = ScriptedPrompter();
        launched.clear();
        const fs::path result = user / (input == "a.frq" ? "a_frq.dat" : "test_frq.dat");
        fs::remove(result);
        if (named)
            std::ofstream(result) << named << "  its note\r\n-2\r\n";
        const std::string before = Contents(result);
        openFile(user / input, "mine");
        prompter.answer(answer);
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForEnd());
        ASSERT_EQ(titles(), asked ? Texts{"Result file of another input file"} : Texts{});
        if (asked) {
            EXPECT_NE(
                prompter.prompts[0].text.find("holds the result of '" + std::string(named) + "'"),
                std::string::npos);
        }
        EXPECT_EQ(plotsStarted(), runs);
        EXPECT_EQ(Contents(result) == before, !runs);
    }
}

// An older listing that cannot be removed is not this run's, and is never quoted as its
// reason: the optimiser's error output is.
TEST_F(RunSafety, AFailedRunNeverQuotesAListingItDidNotWrite) {
    const fs::path old = user / "~Veltra.out";
    std::ofstream(old) << "Run completed: result file of another problem\r\n";
    // Kept in place: immutable for root, in a read-only directory for anyone else.
    const int fd = ::open(old.c_str(), O_RDONLY);
    int flags = 0;
    const bool immutable = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                           (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    const std::shared_ptr<void> undo(nullptr, [&](void*) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        ::close(fd);
        fs::permissions(user, fs::perms::owner_all);
    });
    if (!immutable && ::geteuid() == 0)
        GTEST_SKIP() << "no way to keep a file from root here";
    if (!immutable)
        fs::permissions(user, fs::perms::owner_read | fs::perms::owner_exec);
    openFile(m_dir / "Work" / "mine.frq", "mine");
    ::setenv("VELTRANA_STANDIN", "silent", 1);
    shell->runCommands().SubmitCommand();
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(titles(), Texts{"Run failed"});
    const std::string said = prompter.prompts[0].text;
    EXPECT_EQ(said.find("another problem"), std::string::npos) << said;
    EXPECT_NE(said.find("The optimiser wrote no listing in this run"), std::string::npos) << said;
    EXPECT_NE(said.find("optimiser: Cannot write the listing"), std::string::npos) << said;
}

// Two veltras submit at once: one runs, the other is told whose run it is, and neither listing
// is lost: the second runs once the first has ended.
TEST_F(RunSafety, TwoVeltrasSubmittingAtOnceRunOneAfterTheOther) {
    ::setenv("VELTRANA_STANDIN", "wait", 1);
    openFile(user / "first.frq", "first");
    openFile(user / "second.frq", "second");
    auto first = startVeltra("first.frq");
    ASSERT_TRUE(waitForListing("args=first.frq|"));
    const std::string refused = output(*startVeltra("second.frq"));
    EXPECT_NE(refused.find("Run in progress: A run of " + (user / "first.frq").string() +
                           " is in progress: started "),
              std::string::npos)
        << refused;
    EXPECT_NE(refused.find("process " + std::to_string(first->processId())), std::string::npos);
    EXPECT_EQ(refused.find("started " + (family / "plots").string()), std::string::npos);

    std::ofstream(user / "go");
    EXPECT_EQ(output(*first), "running\nstarted " + (family / "plots").string() + "\n");
    EXPECT_NE(listing().find("result written to " + (user / "first_frq.dat").string()),
              std::string::npos);
    // plots comes up at its start with the first run's result, and again with its own.
    const std::string second = output(*startVeltra("second.frq"));
    EXPECT_TRUE(second.ends_with("running\nstarted " + (family / "plots").string() + "\n"))
        << second;
    EXPECT_NE(listing().find("args=second.frq|"), std::string::npos);
}

// A killed veltra takes its optimiser with it, and its next start finds no result to show.
TEST_F(RunSafety, KillingVeltraDuringARunEndsTheOptimiserAndTheNextStartShowsNothing) {
    ::setenv("VELTRANA_STANDIN", "slow", 1);
    openFile(user / "long.frq", "long");
    std::ofstream(user / "long_frq.dat") << "long.frq  the result of an earlier run\r\n";
    RegistryStore store;
    SaveFileIn(store, (user / "long_frq.dat").string());
    auto veltra = startVeltra("long.frq");
    ASSERT_TRUE(waitForListing("started"));
    const pid_t optimiser = standInPid();
    ASSERT_GT(optimiser, 0);
    veltra->kill();
    ASSERT_TRUE(veltra->waitForFinished(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended(optimiser); }, 1000));

    launched.clear();
    ASSERT_TRUE(newShell().start());
    EXPECT_EQ(launched, Texts{});
    EXPECT_EQ(fileIn(), "");
}

// Exit during a run does what Cancel does: the optimiser is asked to stop and notes it in its
// listing; one that does not listen is killed two seconds later.
TEST_F(RunSafety, ExitDuringARunAsksTheOptimiserToStopFirst) {
    // how the stand-in takes SIGTERM, the listing's last line once veltra has gone
    const std::tuple<const char*, const char*> cases[] = {
        {"term", "Run cancelled on SIGTERM"},
        {"deaf", "started"},
    };
    for (const auto& [mode, last] : cases) {
        SCOPED_TRACE(mode);
        ::setenv("VELTRANA_STANDIN", mode, 1);
        ASSERT_TRUE(newShell().start());
        openFile(user / "long.frq", "long");
        shell->runCommands().SubmitCommand();
        ASSERT_TRUE(waitForListing("started"));
        const pid_t optimiser = standInPid();
        prompter.answer(PromptAnswer::Yes); // end the run and exit
        shell->form().close();
        EXPECT_TRUE(ended(optimiser));
        std::string text = listing();
        text.erase(text.find_last_not_of('\n') + 1);
        EXPECT_EQ(text.substr(text.rfind('\n') + 1), last);
        EXPECT_EQ(fileIn(), "");
    }
}
