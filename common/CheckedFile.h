#pragma once

#include "ErrorScheme.h"
#include "FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace veltrana {

/// Largest file the whole-file readers take in: far beyond any input file, ini file or store.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

/// A file opened for reading through the one checked open of the suite. Every reader opens
/// its files this way, so that a named pipe, a device, a directory or a loop of links where a
/// file was expected is refused at once with a message, and never blocks or streams forever.
///
/// The open does not wait (a pipe without a writer, a device), and the checks are made on the
/// opened descriptor, so a file swapped for another after someone looked at the path cannot
/// get past them. The descriptor is held until close(): a file replaced under its name later
/// goes on being read as it was opened.
class CheckedFile {
public:
    static constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

    CheckedFile() = default;
    ~CheckedFile();
    CheckedFile(CheckedFile&& other) noexcept;
    CheckedFile& operator=(CheckedFile&& other) noexcept;
    CheckedFile(const CheckedFile&) = delete;
    CheckedFile& operator=(const CheckedFile&) = delete;

    /// Opens `path` when it is a regular file of at most `limit` bytes (links followed). On
    /// failure nothing is left open and the error's description names the file and says what
    /// it is instead (a directory, a named pipe, a device) or what went wrong.
    FileError open(const std::string& path, std::uint64_t limit = kMaxFileBytes);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }

    /// Reads up to `count` bytes at `offset`; `got` is 0 at the end of the file. Bytes beyond
    /// the limit (the file grew after it was opened) are an error, never delivered.
    FileError readAt(std::uint64_t offset, char* buffer, std::size_t count, std::size_t& got);

    /// The file as it is now (its size may have changed since open).
    FileError stamp(FileStamp& out) const;

private:
    int m_fd = -1;
    std::uint64_t m_limit = kMaxFileBytes;
    std::string m_path;
};

/// "<n> MB", rounded up, for messages about sizes.
std::string MegabytesText(std::uint64_t bytes);

} // namespace veltrana
