#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace veltrana {

/// A text file that another program may still be writing: each poll hands over what was
/// added since the last one, as UTF-8 with LF line ends. Bytes that are not UTF-8 are read
/// as Windows-1252 (the input files' code page). A file that shrank or was replaced (another
/// inode or birth time, or its first bytes changed) is read again from its start, so a viewer
/// never shows a stale head with a new tail.
///
/// Every poll opens the path afresh through the checked open: a pipe, device or directory
/// that takes the file's place is never read, and the poll's status says what is there
/// instead. What is handed over is bounded: a poll reads at most kChunkBytes, of a file
/// larger than kMaxShownBytes only the end is read, and a line longer than kMaxLineBytes is
/// cut, with kCutMark in place of its rest.
class GrowingFile {
public:
    explicit GrowingFile(std::string path) : m_path(std::move(path)) {}

    struct Update {
        bool exists = false;  ///< the file could be opened
        bool restart = false; ///< drop what was shown: `text` is the file from its start
        std::string text;     ///< text added since the last poll
        bool more = false;    ///< the file holds more than this poll read
        std::string status;   ///< why nothing can be shown; "" while the file reads well
    };
    static constexpr std::uint64_t kChunkBytes = std::uint64_t{128} << 10;
    static constexpr std::uint64_t kMaxShownBytes = std::uint64_t{8} << 20;
    static constexpr std::size_t kMaxLineBytes = 10000;
    static constexpr const char* kCutMark = " [... line cut: too long to show]";
    Update poll();

    const std::string& path() const { return m_path; }

private:
    void forget();
    std::string ShapeText(const std::string& bytes);

    std::string m_path;
    std::uint64_t m_offset = 0;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::int64_t m_born = 0; ///< birth time in ns, where the file system keeps one
    bool m_seen = false;
    bool m_everSeen = false;
    bool m_pendingCr = false;
    std::size_t m_lineBytes = 0; ///< bytes of the current line handed over
    bool m_cutting = false;      ///< the current line was cut: its rest is left out
    std::string m_partial;       ///< an incomplete UTF-8 sequence at the end of the last read
    int m_idlePolls = 0;         ///< polls since m_partial last grew
    std::string m_head;          ///< the file's first bytes, to tell a replaced file by
};

/// The bytes as UTF-8: kept when they are valid UTF-8, else converted from Windows-1252.
std::string DecodeText(const std::string& bytes);

} // namespace veltrana
