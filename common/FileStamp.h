#pragma once

#include <cstdint>
#include <string>

namespace veltrana {

/// One version of a file: which file it is (device, inode), when it was made and last
/// written, and its size.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0; ///< major << 32 | minor
    std::uint64_t inode = 0;
    std::int64_t modifiedNs = 0; ///< since the epoch
    std::int64_t bornNs = 0;     ///< birth time, where the file system keeps one; else 0
    std::uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

/// The stamp of what `path` names now (symbolic links followed); `exists` false when nothing.
FileStamp StampOf(const std::string& path);

/// Whether `now` is a file written since `before` was taken at its place: it exists and it is
/// another file, or the same file written again (its time or size changed). No clock is
/// compared, so a file written just before the stamp, or a clock set back, cannot pass for one
/// written after it.
bool WrittenSince(const FileStamp& before, const FileStamp& now);

} // namespace veltrana
