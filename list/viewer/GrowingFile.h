#pragma once

#include <cstdint>
#include <string>

namespace veltrana {

/// A text file that another program may still be writing: each poll hands over what was
/// added since the last one, as UTF-8 with LF line ends. Bytes that are not UTF-8 are read
/// as Windows-1252 (the input files' code page). A file that shrank or was replaced is read
/// again from its start, so a viewer never shows a stale head with a new tail.
class GrowingFile {
public:
    explicit GrowingFile(std::string path) : m_path(std::move(path)) {}

    struct Update {
        bool exists = false;  ///< the file could be opened
        bool restart = false; ///< drop what was shown: `text` is the file from its start
        std::string text;     ///< text added since the last poll
    };
    Update poll();

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::uint64_t m_offset = 0;
    std::uint64_t m_inode = 0;
    bool m_seen = false;
    bool m_pendingCr = false;
    std::string m_partial; ///< an incomplete UTF-8 sequence at the end of the last read
};

/// The bytes as UTF-8: kept when they are valid UTF-8, else converted from Windows-1252.
std::string DecodeText(const std::string& bytes);

} // namespace veltrana
