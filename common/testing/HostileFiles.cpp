#include "HostileFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

namespace veltrana::test {

namespace {

// The process's resident memory now, and its peak so far, in kB.
std::pair<long, long> MemoryKb() {
    std::ifstream status("/proc/self/status");
    long now = 0, peak = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            now = std::stol(line.substr(6));
        else if (line.rfind("VmHWM:", 0) == 0)
            peak = std::stol(line.substr(6));
    }
    return {now, peak};
}

void WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0 && errno != EINTR)
            return;
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

} // namespace

bool MakeHostile(Hostile kind, const std::string& path) {
    bool made = false;
    switch (kind) {
    case Hostile::Fifo:
        made = ::mkfifo(path.c_str(), 0600) == 0;
        break;
    case Hostile::DevZero:
        made = ::symlink("/dev/zero", path.c_str()) == 0;
        break;
    case Hostile::Directory:
        made = ::mkdir(path.c_str(), 0700) == 0;
        break;
    case Hostile::LinkLoop:
        made = ::symlink(path.c_str(), path.c_str()) == 0;
        break;
    case Hostile::Unreadable:
        std::ofstream(path) << "secret\n";
        made = ::chmod(path.c_str(), 0) == 0;
        if (made && ::access(path.c_str(), R_OK) == 0)
            return false;
        break;
    case Hostile::Sparse1G:
        std::ofstream(path).close();
        made = ::truncate(path.c_str(), off_t{1} << 30) == 0;
        break;
    }
    if (!made)
        ADD_FAILURE() << "cannot make " << path << ": " << std::strerror(errno);
    return made;
}

const char* RefusalText(Hostile kind) {
    switch (kind) {
    case Hostile::Fifo:
        return "is a named pipe (FIFO), not a regular file";
    case Hostile::DevZero:
        return "is a device, not a regular file";
    case Hostile::Directory:
        return "is a directory, not a regular file";
    case Hostile::LinkLoop:
        return "is a loop of symbolic links";
    case Hostile::Unreadable:
        return "Permission denied";
    case Hostile::Sparse1G:
        return "is larger than";
    }
    return "";
}

ChildOutcome RunInChild(const std::function<std::string()>& work,
                        std::chrono::milliseconds deadline) {
    ChildOutcome outcome;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return outcome;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const long start = MemoryKb().first;
        const std::string text = work();
        WriteAll(fds[1], std::to_string(MemoryKb().second - start) + "\n" + text);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string received;
    const auto end = std::chrono::steady_clock::now() + deadline;
    bool closed = false;
    while (child > 0 && !closed) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd p{fds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) == 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
        closed = n == 0 || (n < 0 && errno != EINTR);
    }
    ::close(fds[0]);
    if (child > 0 && !closed)
        ::kill(child, SIGKILL);
    int status = 0;
    if (child > 0)
        ::waitpid(child, &status, 0);
    const std::size_t newline = received.find('\n');
    outcome.finished =
        closed && WIFEXITED(status) && WEXITSTATUS(status) == 0 && newline != std::string::npos;
    if (outcome.finished) {
        outcome.grownKb = std::stol(received.substr(0, newline));
        outcome.text = received.substr(newline + 1);
    }
    return outcome;
}

Deadline::Deadline(std::string what, std::chrono::milliseconds limit)
    : m_thread([this, what = std::move(what), limit] {
          std::unique_lock lock(m_mutex);
          if (m_done.wait_for(lock, limit, [this] { return m_over; }))
              return;
          std::fprintf(stderr, "%s did not end within %lld ms\n", what.c_str(),
                       static_cast<long long>(limit.count()));
          std::_Exit(1);
      }) {}

Deadline::~Deadline() {
    {
        std::lock_guard lock(m_mutex);
        m_over = true;
    }
    m_done.notify_one();
    m_thread.join();
}

namespace {

// Swaps what stands at a path between a regular file and a named pipe, by renames, until it
// is destroyed.
class PathSwapper {
public:
    PathSwapper(std::string path, std::string bytes)
        : m_path(std::move(path)), m_bytes(std::move(bytes)) {
        // The name holds something from the start, however late the thread begins.
        std::ofstream(m_path, std::ios::binary) << m_bytes;
        m_thread = std::thread([this] { run(); });
    }
    ~PathSwapper() {
        m_stop = true;
        m_thread.join();
    }
    int swaps() const { return m_swaps.load(); }

private:
    void run() {
        const std::string file = m_path + ".swap-file", pipe = m_path + ".swap-pipe";
        while (!m_stop) {
            // Each stays a moment, so that readers meet both.
            std::ofstream(file, std::ios::binary) << m_bytes;
            ::rename(file.c_str(), m_path.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            ::mkfifo(pipe.c_str(), 0600);
            ::rename(pipe.c_str(), m_path.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            ++m_swaps;
        }
    }

    std::string m_path;
    std::string m_bytes;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_swaps{0};
    std::thread m_thread;
};

} // namespace

void ExpectWholeOrRefusedWhileSwapped(const std::string& path, const std::string& bytes,
                                      const std::function<SwapRead()>& read) {
    PathSwapper swapper(path, bytes);
    const ChildOutcome run = RunInChild([&] {
        int counts[3] = {0, 0, 0};
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        while (std::chrono::steady_clock::now() < end) {
            const SwapRead r = read();
            ++counts[r.whole == r.refused ? 2 : r.whole ? 0 : 1];
        }
        return std::to_string(counts[0]) + " whole, " + std::to_string(counts[1]) + " refused, " +
               std::to_string(counts[2]) + " other";
    });
    ASSERT_TRUE(run.finished) << "no answer within the deadline";
    int whole = 0, refused = 0, other = -1;
    std::sscanf(run.text.c_str(), "%d whole, %d refused, %d other", &whole, &refused, &other);
    EXPECT_EQ(other, 0) << run.text;
    EXPECT_GT(whole + refused, 0) << run.text;
    EXPECT_GT(swapper.swaps(), 0);
}

} // namespace veltrana::test
