#include "FileStamp.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

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

bool WrittenSince(const FileStamp& before, const FileStamp& now) {
    return now.exists && !(now == before);
}

} // namespace veltrana
