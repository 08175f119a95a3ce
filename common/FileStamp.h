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

/// Now, on the clock the file system stamps files with (a coarse one, so that a file written
/// after this moment never carries an earlier time).
std::int64_t FileClockNow();

/// Whether `now` is a file written since `sinceNs`, when `before` stood at its place then:
/// it exists and either its modification time is not older than that moment or it is another
/// file than before (a clock set back must not hide a new file).
bool WrittenSince(const FileStamp& before, std::int64_t sinceNs, const FileStamp& now);

} // namespace veltrana
