#include "RunLock.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
using Result = RunLock::Result;
using RunLockTest = test::TempDirTest;

// One run at a time: a second is told whose run goes on. A child that was handed the lock
// (the optimiser veltra starts) holds it on when its parent lets go or dies, and the lock of
// a killed holder is free at once.
TEST_F(RunLockTest, OneRunAtATimeAndTheLockEndsWithItsLastHolder) {
    const std::string listing = in("~Veltra.out");
    const RunHolder me = ThisProcess("/u/a.frq");
    RunHolder other;
    std::string error;
    RunLock parent, second;
    ASSERT_EQ(parent.Take(listing, me, other, error), Result::Taken) << error;
    EXPECT_EQ(second.Take(listing, ThisProcess("b"), other, error), Result::Busy);
    EXPECT_EQ(other, me);
    EXPECT_EQ(DescribeRun(other).rfind("A run of /u/a.frq is in progress: started ", 0), 0u);

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // Held until the child dies: its descriptor is never let go.
        const bool adopted =
            (new RunLock)->Adopt(parent.descriptor(), listing, other, error) == Result::Taken;
        (void)!::write(ready[1], adopted ? "y" : "n", 1);
        ::pause();
    }
    char adopted = 0;
    ASSERT_EQ(::read(ready[0], &adopted, 1), 1);
    EXPECT_EQ(adopted, 'y');
    parent.Release();
    EXPECT_EQ(second.Take(listing, ThisProcess("b"), other, error), Result::Busy);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(second.Take(listing, ThisProcess("b"), other, error), Result::Taken);
    EXPECT_EQ(RunLock::PathFor(listing), in(".~Veltra.out.lock"));
}
