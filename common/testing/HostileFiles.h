#pragma once

#include <gtest/gtest.h>

#include <atomic>
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
///   INSTANTIATE_TEST_SUITE_P(Hostile, SomeTest, ::testing::ValuesIn(kHostileCases), CaseId);
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

/// Swaps what stands at `path` between a regular file holding `bytes` and a named pipe, by
/// renames, hundreds of times a second, from a thread of its own until it is destroyed.
class PathSwapper {
public:
    PathSwapper(std::string path, std::string bytes);
    ~PathSwapper();
    PathSwapper(const PathSwapper&) = delete;
    PathSwapper& operator=(const PathSwapper&) = delete;
    int swaps() const { return m_swaps.load(); }

private:
    void run();

    std::string m_path;
    std::string m_bytes;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_swaps{0};
    std::thread m_thread;
};

/// How one read under a PathSwapper ended.
enum class Verdict { Whole, Refused, Other };
struct Tally {
    int whole = 0, refused = 0, other = 0;
};
/// Reads again and again for `span`; the counts as text, for RunInChild.
std::string TallyReads(const std::function<Verdict()>& read,
                       std::chrono::milliseconds span = std::chrono::milliseconds(300));
Tally ParseTally(const std::string& text);

} // namespace veltrana::test
