#include "CheckedFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace veltrana {

namespace {

std::int64_t Nanoseconds(const statx_timestamp& t) {
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

// What stands at the path instead of a regular file, for the message.
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "no regular file";
}

FileError NotAFile(const std::string& path, mode_t mode) {
    return {S_ISDIR(mode) ? EISDIR : EINVAL,
            "'" + path + "' is " + KindOf(mode) + ", not a regular file"};
}

FileError TooLarge(const std::string& path, std::uint64_t limit) {
    return {EFBIG, "'" + path + "' is larger than " + MegabytesText(limit)};
}

} // namespace

std::string MegabytesText(std::uint64_t bytes) {
    return std::to_string((bytes + (std::uint64_t{1} << 20) - 1) >> 20) + " MB";
}

CheckedFile::~CheckedFile() {
    close();
}

CheckedFile::CheckedFile(CheckedFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_limit(other.m_limit), m_path(std::move(other.m_path)) {
}

CheckedFile& CheckedFile::operator=(CheckedFile&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
        m_limit = other.m_limit;
        m_path = std::move(other.m_path);
    }
    return *this;
}

void CheckedFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

FileError CheckedFile::open(const std::string& path, std::uint64_t limit) {
    close();
    m_path = path;
    m_limit = limit;
    // Non-blocking: a pipe without a writer, or a device, would otherwise hold us in open().
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        const int err = errno;
        struct stat st {};
        // A socket cannot be opened at all; say what it is rather than "no such device".
        if (err == ENXIO && ::stat(path.c_str(), &st) == 0)
            return NotAFile(path, st.st_mode);
        if (err == ELOOP)
            return {ELOOP, "'" + path + "' is a loop of symbolic links"};
        return FileErrorFromErrno(err);
    }
    struct stat st {};
    FileError error;
    if (::fstat(fd, &st) != 0)
        error = FileErrorFromErrno(errno);
    else if (!S_ISREG(st.st_mode))
        error = NotAFile(path, st.st_mode);
    else if (static_cast<std::uint64_t>(st.st_size) > limit)
        error = TooLarge(path, limit);
    // Reads of a regular file never block; some file systems still answer EAGAIN with the flag.
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = FileErrorFromErrno(errno);
    if (!error.ok()) {
        ::close(fd);
        return error;
    }
    m_fd = fd;
    return {};
}

FileError CheckedFile::readAt(std::uint64_t offset, char* buffer, std::size_t count,
                              std::size_t& got) {
    got = 0;
    if (m_fd < 0)
        return FileErrorFromErrno(EBADF);
    // One byte beyond the limit is asked for, to tell a file that grew past it.
    const std::uint64_t allowed = offset < m_limit ? m_limit - offset : 0;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(count, allowed == kNoLimit ? allowed : allowed + 1));
    ssize_t n;
    do {
        n = ::pread(m_fd, buffer, want, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return FileErrorFromErrno(errno);
    if (static_cast<std::uint64_t>(n) > allowed)
        return {EFBIG,
                "'" + m_path + "' grew beyond " + MegabytesText(m_limit) + " while it was read"};
    got = static_cast<std::size_t>(n);
    return {};
}

FileError CheckedFile::stamp(FileStamp& out) const {
    struct statx st {};
    if (::statx(m_fd, "", AT_EMPTY_PATH, STATX_INO | STATX_SIZE | STATX_BTIME | STATX_MTIME, &st) !=
        0)
        return FileErrorFromErrno(errno);
    out.exists = true;
    out.device = (std::uint64_t{st.stx_dev_major} << 32) | st.stx_dev_minor;
    out.inode = st.stx_ino;
    out.bornNs = (st.stx_mask & STATX_BTIME) ? Nanoseconds(st.stx_btime) : 0;
    out.modifiedNs = Nanoseconds(st.stx_mtime);
    out.size = st.stx_size;
    return {};
}

} // namespace veltrana
