#include "RunLock.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace veltrana {

namespace {

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string RecordText(const RunHolder& h) {
    return "user=" + OneLine(h.user) + "\npid=" + std::to_string(h.pid) +
           "\nhost=" + OneLine(h.host) + "\ninput=" + OneLine(h.inputFile) +
           "\nstarted=" + OneLine(h.started) + "\n";
}

RunHolder ParseRecord(const std::string& text) {
    RunHolder h;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "user")
            h.user = value;
        else if (key == "pid")
            h.pid = std::strtol(value.c_str(), nullptr, 10);
        else if (key == "host")
            h.host = value;
        else if (key == "input")
            h.inputFile = value;
        else if (key == "started")
            h.started = value;
    }
    return h;
}

RunHolder ReadRecord(int fd) {
    // The holder writes its record just after taking the lock: give it a moment.
    for (int attempt = 0;; ++attempt) {
        char buffer[4096];
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
        RunHolder h = ParseRecord(n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : "");
        if (h.pid != 0 || attempt == 5)
            return h;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

RunLock::Result RunLock::Lock(int fd, const std::string& path, RunHolder& other,
                              std::string& error) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            other = ReadRecord(fd);
            return Result::Busy;
        }
        if (errno != EINTR) {
            error = "Cannot lock " + path + ": " + std::strerror(errno);
            return Result::Failed;
        }
    }
    return Result::Taken;
}

RunHolder ThisProcess(const std::string& inputFile) {
    RunHolder h;
    if (const passwd* pw = ::getpwuid(::geteuid()))
        h.user = pw->pw_name;
    else if (const char* user = std::getenv("USER"))
        h.user = user;
    h.pid = static_cast<long>(::getpid());
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0)
        h.host = host;
    h.inputFile = inputFile;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    h.started = when;
    return h;
}

std::string DescribeRun(const RunHolder& h) {
    std::string text = "A run " +
                       (h.inputFile.empty() ? std::string() : "of " + h.inputFile + " ") +
                       "is in progress";
    std::string who;
    if (!h.started.empty())
        who += " started " + h.started;
    if (!h.user.empty())
        who += " by " + h.user;
    if (h.pid != 0)
        who += (who.empty() ? " " : ", ") + std::string("process ") + std::to_string(h.pid);
    if (!h.host.empty())
        who += " on " + h.host;
    return text + (who.empty() ? "" : ":" + who) + ".";
}

RunLock::~RunLock() {
    Release();
}

std::string RunLock::PathFor(const std::string& listing) {
    const std::size_t slash = listing.rfind('/');
    if (slash == std::string::npos)
        return "." + listing + ".lock";
    return listing.substr(0, slash + 1) + "." + listing.substr(slash + 1) + ".lock";
}

RunLock::Result RunLock::Take(const std::string& listing, const RunHolder& me, RunHolder& other,
                              std::string& error) {
    if (held())
        return Result::Taken;
    const std::string path = PathFor(listing);
    // One user's file: no other account can hold our runs up through it.
    const int fd = ::open(path.c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK, 0600);
    if (fd < 0) {
        error = "Cannot open the run lock " + path + ": " + std::strerror(errno);
        return Result::Failed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "The run lock " + path + " is not a regular file.";
        ::close(fd);
        return Result::Failed;
    }
    if (const Result locked = Lock(fd, path, other, error); locked != Result::Taken) {
        ::close(fd);
        return locked;
    }
    const std::string record = RecordText(me);
    // The lock is what counts; the record only names the holder in others' messages.
    const bool recorded =
        ::ftruncate(fd, 0) == 0 &&
        ::pwrite(fd, record.data(), record.size(), 0) == static_cast<ssize_t>(record.size());
    static_cast<void>(recorded);
    m_fd = fd;
    return Result::Taken;
}

RunLock::Result RunLock::Adopt(int fd, const std::string& listing, RunHolder& other,
                               std::string& error) {
    if (held())
        return Result::Taken;
    const std::string path = PathFor(listing);
    struct stat handed {};
    struct stat named {};
    if (fd < 0 || ::fstat(fd, &handed) != 0) {
        error = "The run lock handed down (descriptor " + std::to_string(fd) + ") is not open.";
        return Result::Failed;
    }
    if (::stat(path.c_str(), &named) != 0 || named.st_dev != handed.st_dev ||
        named.st_ino != handed.st_ino) {
        error = "The run lock handed down is not " + path + ".";
        return Result::Failed;
    }
    if (const Result locked = Lock(fd, path, other, error); locked != Result::Taken)
        return locked;
    // Ours from here on; it must not reach programs this one may start.
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    m_fd = fd;
    return Result::Taken;
}

void RunLock::Release() {
    // Never LOCK_UN: on a descriptor shared with a child it would free the child's run too.
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace veltrana
