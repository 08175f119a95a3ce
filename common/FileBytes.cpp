#include "FileBytes.h"

#include "SaveTemps.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

namespace {

SaveFaultHook& FaultHook() {
    static SaveFaultHook hook;
    return hook;
}

int Fault(SaveStep step) {
    return FaultHook() ? FaultHook()(step) : 0;
}

// errno of the step, or the injected fault instead of doing it.
template <class Step> int Run(SaveStep step, Step doStep) {
    if (int fault = Fault(step); fault > 0)
        return fault;
    return doStep() == 0 ? 0 : errno;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends in (it need not exist yet), so that a save
// replaces the linked file and leaves the link alone. "" for a loop of links.
std::string FinalTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(PATH_MAX, '\0');
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size())
            return path;
        target.resize(static_cast<size_t>(n));
        path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    return {}; // a loop of links: nothing to write to
}

int WriteAll(int fd, std::string_view bytes) {
    for (size_t done = 0; done < bytes.size();) {
        size_t chunk = bytes.size() - done;
        int fault = Fault(SaveStep::Write);
        if (fault > 0)
            return fault;
        if (fault == kShortWrite)
            chunk = (chunk + 1) / 2;
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO; // no progress: never spin
        done += static_cast<size_t>(n);
    }
    return 0;
}

} // namespace

SaveFaultHook SetSaveFaultHook(SaveFaultHook hook) {
    std::swap(FaultHook(), hook);
    return hook;
}

FileError ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit) {
    bytes.clear();
    CheckedFile file;
    FileStamp before;
    FileError error = file.open(path, limit);
    if (error.ok())
        error = file.stamp(before);
    if (error.ok())
        bytes.reserve(static_cast<std::size_t>(before.size));
    char buffer[1 << 16];
    for (std::size_t got = 1; error.ok() && got > 0;) {
        error = file.readAt(bytes.size(), buffer, sizeof buffer, got);
        bytes.append(buffer, got);
    }
    // Written in place while we read: what we hold may be half old, half new.
    FileStamp after;
    if (error.ok())
        error = file.stamp(after);
    if (error.ok() && (after.size != bytes.size() || after.modifiedNs != before.modifiedNs))
        error = {EAGAIN, "'" + path + "' changed while it was read"};
    if (!error.ok())
        bytes.clear();
    return error;
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

int ReplaceFileBytes(const std::string& path, std::string_view bytes, mode_t mode) {
    const std::string target = FinalTarget(path);
    if (target.empty())
        return ELOOP;
    const std::string dir = DirectoryOf(target);
    RemoveStaleSaveTemps(dir);
    // A short hidden name, so that a name near the 255-byte limit still has room beside it.
    std::string temp = dir + "/" + std::string(kSaveTempPrefix) + "XXXXXX";
    int fd = -1;
    if (int err = Run(SaveStep::Open, [&] { return (fd = ::mkstemp(temp.data())) < 0 ? -1 : 0; }))
        return err;
    MarkSaveTempOwned(fd);
    int err = WriteAll(fd, bytes);
    if (err == 0)
        err = Run(SaveStep::Chmod, [&] { return ::fchmod(fd, mode); });
    if (err == 0)
        err = Run(SaveStep::Sync, [&] { return ::fsync(fd); });
    // The descriptor is closed whatever happened, also when a fault stands in for the error.
    int closeFault = Fault(SaveStep::Close);
    int closeErr = ::close(fd) == 0 ? 0 : errno;
    if (err == 0)
        err = closeFault > 0 ? closeFault : closeErr;
    if (err == 0)
        err = Run(SaveStep::Rename, [&] { return ::rename(temp.c_str(), target.c_str()); });
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    // Make the rename itself durable, so that a crash cannot bring back the old file.
    // A directory we may not open, or a file system that cannot sync one, is no failure.
    if (int fault = Fault(SaveStep::DirSync); fault > 0)
        return fault;
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    int syncErr = ::fsync(dirFd) == 0 ? 0 : errno;
    ::close(dirFd);
    return syncErr == EINVAL ? 0 : syncErr;
}

} // namespace veltrana
