#pragma once

#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace veltrana::test {

/// What a user, or a mishap, can leave where a reader expects a text file.
enum class Hostile { Fifo, DevZero, Directory, LinkLoop, Unreadable, Sparse1G };

struct HostileCase {
    Hostile kind;
    const char* name;
    const char* id; ///< the case's name in test names
};
/// Every case, for value-parameterised tests: one test per case, so that a case that cannot be
/// made here is skipped alone.
inline constexpr HostileCase kHostileCases[] = {
    {Hostile::Fifo, "a named pipe without writer", "Fifo"},
    {Hostile::DevZero, "a link to /dev/zero", "DevZero"},
    {Hostile::Directory, "a directory", "Directory"},
    {Hostile::LinkLoop, "a link to itself", "LinkLoop"},
    {Hostile::Unreadable, "a file without read permission", "Unreadable"},
    {Hostile::Sparse1G, "1 GB of zero bytes without a line end (sparse)", "Sparse1G"},
};
inline std::string CaseId(const ::testing::TestParamInfo<HostileCase>& info) {
    return info.param.id;
}
inline void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.id;
}

/// Puts `kind` at `path`, which must not exist yet. False when this process could read the
/// result all the same (Unreadable for root, whom permission bits do not stop): skip the case.
/// A case that cannot be made for any other reason fails the test.
bool MakeHostile(Hostile kind, const std::string& path);

/// What the checked open's message says of each kind.
const char* RefusalText(Hostile kind);

/// Why a case MakeHostile could not make is skipped.
inline constexpr const char* kSkipped = "permission bits do not stop this process (root)";

/// What work run by RunInChild left.
struct ChildOutcome {
    bool finished = false; ///< it ended by itself before the deadline
    std::string text;      ///< what it returned
    long grownKb = 0;      ///< its peak memory above what it started with
};

/// Runs `work` in a child process and waits at most `deadline`: work that would hang is
/// killed, and the test fails by this deadline instead of stalling the run.
ChildOutcome RunInChild(const std::function<std::string()>& work,
                        std::chrono::milliseconds deadline = std::chrono::seconds(5));

/// Ends the test program with a message when it is still alive `limit` after it was made: for
/// steps that cannot run in a child process (widgets), so that one that hangs fails the run
/// instead of stalling it.
class Deadline {
public:
    Deadline(std::string what, std::chrono::milliseconds limit = std::chrono::seconds(5));
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_over = false;
    std::thread m_thread;
};

/// What one read of a name that keeps changing between a file and a pipe gave: all of the
/// file, or a refusal that says why. Both, or neither, is a fault.
struct SwapRead {
    bool whole = false;
    bool refused = false;
};

/// Reads `path` again and again in a child process while, from a thread of its own, renames
/// swap what stands there between a regular file holding `bytes` and a named pipe, hundreds
/// of times a second: every read must end by the deadline, with the whole file or a refusal.
void ExpectWholeOrRefusedWhileSwapped(const std::string& path, const std::string& bytes,
                                      const std::function<SwapRead()>& read);

/// A test run once for each hostile case, on a fixture with a temporary directory; path()
/// holds the case when the test begins, and a case that cannot be made here is skipped.
///   class SomeCase : public HostileCaseTest<SomeFixture> {};
///   TEST_P(SomeCase, ...) { ... }
///   INSTANTIATE_HOSTILE_CASES(SomeCase);
template <class Fixture = TempDirTest>
class HostileCaseTest : public Fixture, public ::testing::WithParamInterface<HostileCase> {
protected:
    void SetUp() override {
        Fixture::SetUp();
        if (!MakeHostile(kind(), path()))
            GTEST_SKIP() << kSkipped;
    }

    Hostile kind() const { return this->GetParam().kind; }
    std::string path() const { return this->in(this->GetParam().id); }

    /// What `read` returns of path() in a child process; "" and a failure when it does not
    /// end by the deadline or takes more than `maxGrowthKb` of memory.
    std::string readInChild(const std::function<std::string(const std::string&)>& read,
                            long maxGrowthKb = 16 << 10) {
        const ChildOutcome run = RunInChild([&] { return read(path()); });
        EXPECT_TRUE(run.finished) << "no answer within the deadline";
        EXPECT_LT(run.grownKb, maxGrowthKb);
        return run.text;
    }

    /// Expects `said` to begin with `start` and to say what stands at path().
    void expectRefusal(const std::string& said, const std::string& start = "") const {
        EXPECT_TRUE(said.starts_with(start)) << said;
        EXPECT_NE(said.find(RefusalText(kind())), std::string::npos) << said;
    }
};
#define INSTANTIATE_HOSTILE_CASES(Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(Hostile, Suite, ::testing::ValuesIn(kHostileCases), CaseId)

} // namespace veltrana::test
