#include "RunLock.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
using Result = RunLock::Result;

namespace {

class RunLockTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        listing = in("~Veltra.out");
    }
    // Takes the lock as a new holder would.
    Result take(RunLock& lock, RunHolder* found = nullptr) {
        RunHolder other;
        std::string error;
        const Result r = lock.Take(listing, ThisProcess("b.frq"), other, error);
        if (found)
            *found = other;
        return r;
    }
    // A child process runs `role`, reports whether it did as expected and waits to be killed
    // (what it holds is never let go before); answers its pid.
    template <class Role> pid_t child(Role role) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const char result = role() ? 'y' : 'n';
            (void)!::write(ready[1], &result, 1);
            ::pause();
            ::_exit(0);
        }
        char result = 0;
        EXPECT_EQ(::read(ready[0], &result, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(result, 'y');
        return pid;
    }
    static void kill(pid_t pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }

    std::string listing;
};

} // namespace

TEST_F(RunLockTest, ASecondRunIsToldWhoseRunGoesOnAndGetsTheLockOnceItIsLetGo) {
    RunLock first, second;
    RunHolder me = ThisProcess("a.frq"), other;
    std::string error;
    ASSERT_EQ(first.Take(listing, me, other, error), Result::Taken) << error;
    EXPECT_EQ(first.Take(listing, me, other, error), Result::Taken);
    EXPECT_EQ(take(second, &other), Result::Busy);
    EXPECT_EQ(other, me);
    EXPECT_FALSE(second.held());
    first.Release();
    EXPECT_EQ(take(second, &other), Result::Taken);
    // The lock file stays hidden beside the listing, the only trace of a run.
    EXPECT_EQ(RunLock::PathFor(listing), in(".~Veltra.out.lock"));
    EXPECT_EQ(RunLock::PathFor("x.out"), ".x.out.lock");
}

// The lock of a killed holder is free at once; its stale record gives way to the new one.
TEST_F(RunLockTest, AKilledHoldersLockIsTakenOver) {
    const pid_t holder = child([this] { return take(*new RunLock) == Result::Taken; });
    RunLock lock;
    RunHolder other;
    EXPECT_EQ(take(lock, &other), Result::Busy);
    EXPECT_EQ(other.pid, holder);
    kill(holder);
    EXPECT_EQ(take(lock, &other), Result::Taken);
    lock.Release();
    EXPECT_EQ(take(lock, &other), Result::Taken);
    EXPECT_NE(test::FileText(RunLock::PathFor(listing)).find("pid=" + std::to_string(::getpid())),
              std::string::npos);
}

// veltra hands its descriptor to the optimiser: the child runs under its parent's lock, keeps
// it when the parent lets go (or dies), and nobody else gets it until both have.
TEST_F(RunLockTest, AChildRunsUnderTheLockItsParentHandedDown) {
    RunLock parent;
    ASSERT_EQ(take(parent), Result::Taken);
    const int handed = parent.descriptor();
    const pid_t optimiser = child([&] {
        RunHolder other;
        std::string error;
        return (new RunLock)->Adopt(handed, listing, other, error) == Result::Taken &&
               (::fcntl(handed, F_GETFD) & FD_CLOEXEC);
    });
    parent.Release();
    RunLock next;
    EXPECT_EQ(take(next), Result::Busy);
    kill(optimiser);
    EXPECT_EQ(take(next), Result::Taken);
}

TEST_F(RunLockTest, AnAdoptedDescriptorMustBeTheListingsFreeOrParentalLock) {
    RunLock holder;
    ASSERT_EQ(take(holder), Result::Taken);
    const int own = ::open(RunLock::PathFor(listing).c_str(), O_RDONLY | O_CLOEXEC);
    const int elsewhere = ::open(in("other").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // descriptor handed down, result
    const std::tuple<const char*, int, Result> cases[] = {
        {"not open", 1000, Result::Failed},
        {"another file", elsewhere, Result::Failed},
        {"the lock file, held by another run", own, Result::Busy},
    };
    for (const auto& [what, fd, expected] : cases) {
        SCOPED_TRACE(what);
        RunLock lock;
        RunHolder other;
        std::string error;
        EXPECT_EQ(lock.Adopt(fd, listing, other, error), expected);
        EXPECT_EQ(error.empty(), expected != Result::Failed) << error;
        EXPECT_FALSE(lock.held());
    }
    ::close(own);
    ::close(elsewhere);
}

TEST_F(RunLockTest, ALockFileThatCannotBeMadeOrIsNoFileIsAFailureWithItsReason) {
    // how the place of the lock file is spoilt, a part of the reason
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        {"a directory", [this] { std::filesystem::create_directory(RunLock::PathFor(listing)); },
         "Is a directory"},
        {"a FIFO", [this] { ::mkfifo(RunLock::PathFor(listing).c_str(), 0600); },
         "not a regular file"},
        {"a symbolic link",
         [this] { std::filesystem::create_symlink("x", RunLock::PathFor(listing)); },
         "Too many levels of symbolic links"},
        {"no such directory", [this] { listing = in("gone/~Veltra.out"); }, "No such file"},
    };
    for (const auto& [what, spoil, reason] : cases) {
        SCOPED_TRACE(what);
        listing = in("~Veltra.out");
        std::filesystem::remove_all(RunLock::PathFor(listing));
        spoil();
        RunLock lock;
        RunHolder other;
        std::string error;
        EXPECT_EQ(lock.Take(listing, ThisProcess("a"), other, error), Result::Failed);
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST_F(RunLockTest, TheDescriptionNamesWhatTheRecordKnows) {
    EXPECT_EQ(DescribeRun({"ann", 42, "lab", "/u/a.frq", "2026-12-07 10:00:00"}),
              "A run of /u/a.frq is in progress: started 2026-12-07 10:00:00 by ann, process 42 "
              "on lab.");
    EXPECT_EQ(DescribeRun({}), "A run is in progress.");
}
