#include "SaveTemps.h"

#include <cctype>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrana {

bool IsSaveTempName(std::string_view name) {
    if (name.size() != kSaveTempPrefix.size() + 6 || !name.starts_with(kSaveTempPrefix))
        return false;
    for (char c : name.substr(kSaveTempPrefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

bool MarkSaveTempOwned(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

int RemoveStaleSaveTemps(const std::string& directory, int minAgeSeconds) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsSaveTempName(entry->d_name))
            continue;
        const int fd = ::openat(dirFd, entry->d_name,
                                O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat st {};
        // While we hold its lock no writer can be working on it, so the name is safe to drop.
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            now - st.st_mtime >= minAgeSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

} // namespace veltrana
