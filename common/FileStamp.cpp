#include "FileStamp.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>

namespace veltrana {

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = (std::uint64_t{major(st.st_dev)} << 32) | minor(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.modifiedNs = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    return stamp;
}

std::int64_t FileClockNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

bool WrittenSince(const FileStamp& before, std::int64_t sinceNs, const FileStamp& now) {
    if (!now.exists)
        return false;
    const bool otherFile =
        !before.exists || before.device != now.device || before.inode != now.inode;
    return now.modifiedNs >= sinceNs || otherFile;
}

} // namespace veltrana
