#pragma once

#include <string>

namespace veltrana {

/// Who runs what, as a run lock records it for the one who finds the lock taken.
struct RunHolder {
    std::string user;
    long pid = 0;
    std::string host;
    std::string inputFile;
    std::string started; ///< local time, "YYYY-MM-DD HH:MM:SS"
    bool operator==(const RunHolder&) const = default;
};

/// This process running `inputFile`, now.
RunHolder ThisProcess(const std::string& inputFile);

/// "A run of <input> is in progress: started <time> by <user>, process <pid> on <host>."
/// What is not known is left out.
std::string DescribeRun(const RunHolder& holder);

/// The name of the environment variable through which `veltra` hands the descriptor of its
/// lock to the optimiser it starts, which then runs under its parent's lock.
inline constexpr const char* kRunLockFdVariable = "VELTRANA_RUN_LOCK_FD";

/// One run at a time per listing, across processes and programs: an exclusive flock(2) on a
/// hidden file beside the listing, which also records the holder. The kernel drops the lock
/// with the last descriptor of its holder, so the lock of a killed process is free at once.
/// A child that inherits the descriptor shares the lock: it lasts until both have let go.
class RunLock {
public:
    enum class Result { Taken, Busy, Failed };

    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    /// The lock file of `listing`: ".<name>.lock" in its directory.
    static std::string PathFor(const std::string& listing);

    /// Takes the lock of `listing` and records `me` in it. Busy: another holds it, `other`
    /// says who as far as its record tells. Failed: the lock file cannot be made or opened,
    /// `error` says why. Taking a lock already held here answers Taken.
    Result Take(const std::string& listing, const RunHolder& me, RunHolder& other,
                std::string& error);
    /// Takes the lock through `fd`, a descriptor of the lock file that a parent handed down:
    /// Taken when it is the lock file of `listing` and its lock is the parent's (or free);
    /// Busy with `other` when another run holds it; Failed when `fd` is no such descriptor.
    Result Adopt(int fd, const std::string& listing, RunHolder& other, std::string& error);
    /// Lets go of this descriptor. A lock shared with a child is held on by the child.
    void Release();

    bool held() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }

private:
    /// Locks `fd`, the lock file `path`, at once or not at all.
    static Result Lock(int fd, const std::string& path, RunHolder& other, std::string& error);

    int m_fd = -1;
};

} // namespace veltrana
