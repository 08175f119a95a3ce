// The optimiser program among others: signals, the run lock and a listing that cannot be
// written. The program itself is run where a signal or a limit of its process counts.
#include "InputFile.h"
#include "OptimiserRun.h"
#include "ResultFileName.h"
#include "RunLock.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

class RunGuardTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        family = m_dir.string();
        user = (m_dir / "Veltr.hz" / "User").string();
        fs::create_directories(user);
        listing = ListingPath(family);
    }
    std::vector<std::string> args(const std::string& name) const {
        return {name, user, family, family.substr(0, 2), name.substr(0, 2)};
    }
    // An example problem installed under `name`, a quick one; with `points` a slow one with
    // that many pass-band points, whose fit takes some seconds.
    void install(const std::string& name, int points = 0) {
        DesignProblem d;
        ScriptedPrompter quiet;
        ASSERT_EQ(
            FileReadMe(points > 0 ? "Ex-Zpair.1" : "Ex-Delay.12", OPTIMISER_EXAMPLES, d, quiet),
            ReadOutcome::Read);
        if (points > 0) {
            d.nFreqPoints = points;
            for (auto* v : {&d.Freq, &d.Yin, &d.Yout, &d.Weight})
                v->assign(static_cast<size_t>(points) + 1, "1");
            for (int i = 1; i <= points; ++i) {
                const double f = 10.0 * i / points;
                d.Freq[i] = std::to_string(f);
                d.Yin[i] = std::to_string(std::exp(-f * f / 100));
                d.Yout[i] = std::to_string(std::max(0.0, 1 - f / 10));
            }
        }
        std::ofstream(fs::path(user) / name, std::ios::binary) << FormatAnsFile(d, name, {});
    }
    int temporaryFiles() const {
        int n = 0;
        for (const auto& e : fs::directory_iterator(user))
            n += e.path().filename().string().starts_with(".vt-");
        return n;
    }
    std::string lastLine() const {
        std::string text = Contents(listing);
        text.erase(text.find_last_not_of("\r\n") + 1);
        return text.substr(text.rfind('\n') + 1);
    }

    // The optimiser program on `name`, its stderr in a file, its file size limited to
    // `fileLimit` bytes when given. `during` runs once its fit has begun. Answers the exit
    // status (-1 when it did not end within 10 s of `during`, 128 + n when signal n ended it).
    int runProgram(const std::string& name, rlim_t fileLimit = RLIM_INFINITY,
                   const std::function<void(pid_t)>& during = {}) {
        const std::string errors = in("stderr");
        if (!fs::is_symlink(listing))
            fs::remove(listing); // what `during` waits for is this run's
        const pid_t pid = ::fork();
        if (pid == 0) {
            const rlimit limit{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 2);
            std::vector<std::string> a = args(name);
            std::vector<char*> argv{const_cast<char*>(OPTIMISER_PROGRAM)};
            for (auto& s : a)
                argv.push_back(s.data());
            argv.push_back(nullptr);
            ::execv(OPTIMISER_PROGRAM, argv.data());
            ::_exit(126);
        }
        if (during) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (Contents(listing).find("from the start") == std::string::npos &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            during(pid);
        }
        int status = 0;
        for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; ++waited) {
            if (waited == 1000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        errorOutput = Contents(errors);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string family, user, listing, errorOutput;
};

} // namespace

// Every signal a desktop or a shell sends to end a program cancels the run as veltra's Cancel
// does: within a moment, with the listing saying so, no result and no temporary file.
TEST_F(RunGuardTest, EndingSignalsCancelTheRunAndLeaveNoFileBehind) {
    install("Long.1", 3000);
    const std::string result = ResultFilePath("Long.1", user);
    const std::tuple<int, const char*> signals[] = {
        {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}, {SIGXFSZ, "SIGXFSZ"}};
    for (const auto& [signal, name] : signals) {
        SCOPED_TRACE(name);
        std::ofstream(result) << "older result";
        std::chrono::steady_clock::time_point sent;
        const int status = runProgram("Long.1", RLIM_INFINITY, [&](pid_t pid) {
            sent = std::chrono::steady_clock::now();
            ::kill(pid, signal);
        });
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
        EXPECT_EQ(status, RunCancelled);
        EXPECT_EQ(lastLine(), "Run cancelled by " + std::string(name) +
                                  (signal == SIGXFSZ ? " (file size limit)" : "") +
                                  ": no result file written.");
        EXPECT_EQ(Contents(result), "older result");
        EXPECT_EQ(temporaryFiles(), 0);
    }
}

// A listing that stops taking lines ends the run with status 3 and the reason on stderr, and
// no result is written: a run nobody can read about has not happened.
TEST_F(RunGuardTest, AListingThatCannotBeWrittenEndsTheRunWithItsReason) {
    install("Ex.1");
    // how the listing fails, a part of the reason on stderr
    const std::tuple<const char*, std::function<rlim_t()>, const char*> cases[] = {
        {"a full disk", [this] { return fs::create_symlink("/dev/full", listing), RLIM_INFINITY; },
         "No space left on device"},
        {"a file size limit", [] { return rlim_t{1500}; }, "File too large"},
    };
    for (const auto& [what, arrange, reason] : cases) {
        SCOPED_TRACE(what);
        fs::remove(listing);
        const rlim_t limit = arrange();
        EXPECT_EQ(runProgram("Ex.1", limit), RunUsage);
        EXPECT_NE(errorOutput.find(reason), std::string::npos) << errorOutput;
        EXPECT_NE(errorOutput.find("the run ended there"), std::string::npos) << errorOutput;
        EXPECT_FALSE(fs::exists(ResultFilePath("Ex.1", user)));
    }
}

// A second run, by hand or from another veltra, leaves the listing of the run in progress
// alone; a run veltra started goes on under veltra's lock.
TEST_F(RunGuardTest, ARunInProgressKeepsItsListingAndItsChildRunsUnderItsLock) {
    install("Ex.1");
    RunLock veltra;
    RunHolder other;
    std::string error;
    ASSERT_EQ(veltra.Take(listing, ThisProcess(user + "/Mine.1"), other, error),
              RunLock::Result::Taken);
    std::ofstream(listing) << "the listing of the run in progress";
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunOptimiser(args("Ex.1"), {}), RunUsage);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("A run of " + user + "/Mine.1 is in progress"), std::string::npos) << said;
    EXPECT_EQ(Contents(listing), "the listing of the run in progress");

    ::setenv(kRunLockFdVariable, std::to_string(::dup(veltra.descriptor())).c_str(), 1);
    EXPECT_EQ(RunOptimiser(args("Ex.1"), {}), RunOk) << lastLine();
    ::unsetenv(kRunLockFdVariable);
    EXPECT_TRUE(fs::exists(ResultFilePath("Ex.1", user)));
}

// A result name at the file system's limit of 255 bytes is written: the temporary file beside
// it has a short name of its own instead of the result's name with more appended.
TEST_F(RunGuardTest, AResultNameOfTheLongestKindIsWritten) {
    const std::string name = std::string(249, 'x') + ".1";
    const std::string result = ResultFilePath(name, user);
    ASSERT_EQ(fs::path(result).filename().string().size(), 255u);
    install(name);
    EXPECT_EQ(RunOptimiser(args(name), {}), RunOk) << lastLine();
    EXPECT_TRUE(fs::exists(result));
}
