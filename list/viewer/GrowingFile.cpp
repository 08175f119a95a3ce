#include "GrowingFile.h"

#include "CheckedFile.h"
#include "Text.h"

#include <cerrno>

#include <algorithm>

namespace veltrana {

namespace {

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that cannot lead one.
int SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0)
        return c >= 0xC2 ? 2 : 0;
    if ((c & 0xF0) == 0xE0)
        return 3;
    if ((c & 0xF8) == 0xF0)
        return c <= 0xF4 ? 4 : 0;
    return 0;
}

bool ValidUtf8(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        int n = SequenceLength(static_cast<unsigned char>(bytes[i]));
        if (n == 0 || i + n > bytes.size())
            return false;
        for (int k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

// How many bytes at the end start a UTF-8 sequence that the next read will complete.
std::size_t IncompleteTail(const std::string& bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        int n = SequenceLength(c);
        return n > static_cast<int>(back) ? back : 0;
    }
    return 0;
}

constexpr std::size_t kHeadBytes = 256;
// A writer pauses mid-character for a moment at most; a lead byte left alone for this many
// polls is no start of a character but a Windows-1252 letter at the file's end.
constexpr int kIdlePollsBeforeTail = 4;

std::string ReadAt(CheckedFile& file, std::uint64_t offset, std::uint64_t count) {
    std::string bytes(static_cast<std::size_t>(count), '\0');
    std::size_t got = 0;
    if (!file.readAt(offset, bytes.data(), bytes.size(), got).ok())
        got = 0;
    bytes.resize(got);
    return bytes;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// What the view says when the path holds nothing it can show.
std::string StatusFor(const FileError& error, const std::string& path, bool wasThere) {
    switch (error.number) {
    case ENOENT:
        return "'" + path + (wasThere ? "' was removed." : "' does not exist yet.");
    case EISDIR:
    case EINVAL:
    case ELOOP:
        return error.description + "."; // names the path and what stands there
    default:
        return "'" + path + "' cannot be read: " + error.description + ".";
    }
}

} // namespace

std::string DecodeText(const std::string& bytes) {
    return ValidUtf8(bytes) ? bytes : FromCp1252(bytes);
}

void GrowingFile::forget() {
    m_seen = false;
    m_offset = 0;
    m_partial.clear();
    m_pendingCr = false;
    m_lineBytes = 0;
    m_cutting = false;
    m_head.clear();
}

GrowingFile::Update GrowingFile::poll() {
    Update update;
    CheckedFile file;
    FileStamp st;
    FileError error = file.open(m_path, CheckedFile::kNoLimit);
    if (error.ok())
        error = file.stamp(st);
    if (!error.ok()) {
        // Whatever comes back under this name starts afresh.
        update.status = StatusFor(error, m_path, m_everSeen);
        update.restart = m_seen;
        forget();
        return update;
    }
    // A new file under the old name may get the old one's inode back: its birth time tells
    // where the file system keeps one, else a change of its first bytes.
    const std::string head = ReadAt(file, 0, kHeadBytes);
    const bool replaced = st.inode != m_inode || st.device != m_device || st.bornNs != m_born ||
                          st.size < m_offset || head.compare(0, m_head.size(), m_head) != 0;
    std::uint64_t skipped = 0;
    if (!m_seen || replaced) {
        forget();
        update.restart = true;
        // A view holds no more than this: a larger file is shown from near its end.
        if (st.size > kMaxShownBytes)
            skipped = m_offset = st.size - kMaxShownBytes;
    }
    update.exists = true;
    m_seen = m_everSeen = true;
    m_device = st.device;
    m_inode = st.inode;
    m_born = st.bornNs;
    m_head = head;
    std::string added = ReadAt(file, m_offset, std::min(st.size - m_offset, kChunkBytes));
    m_offset += added.size();
    update.more = m_offset < st.size;
    if (skipped > 0) {
        // Start on a whole character; the line it is in shows from there.
        std::size_t first = 0;
        while (first < 3 && first < added.size() && IsContinuation(added[first]))
            ++first;
        added.erase(0, first);
    }

    // An incomplete character at the end waits for the rest, unless the file stopped there.
    m_idlePolls = added.empty() ? m_idlePolls + 1 : 0;
    std::string bytes = m_partial + added;
    const std::size_t keep = m_idlePolls < kIdlePollsBeforeTail ? IncompleteTail(bytes) : 0;
    m_partial = bytes.substr(bytes.size() - keep);
    bytes.resize(bytes.size() - keep);

    update.text = DecodeText(ShapeText(bytes));
    if (skipped > 0)
        update.text.insert(0, "[... the first " + MegabytesText(skipped) +
                                  " of this file are not shown]\n");
    return update;
}

// CR LF and lone CR become LF (a CR at the end waits for its LF); a line grown beyond
// kMaxLineBytes gets the cut mark and loses its rest. Cuts fall between characters.
std::string GrowingFile::ShapeText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    auto endLine = [&] {
        text += '\n';
        m_lineBytes = 0;
        m_cutting = false;
    };
    for (char c : bytes) {
        if (m_pendingCr) {
            m_pendingCr = false;
            endLine();
            if (c == '\n')
                continue;
        }
        if (c == '\r') {
            m_pendingCr = true;
        } else if (c == '\n') {
            endLine();
        } else if (!m_cutting) {
            if (m_lineBytes >= kMaxLineBytes && !IsContinuation(c)) {
                text += kCutMark;
                m_cutting = true;
            } else {
                text += c;
                ++m_lineBytes;
            }
        }
    }
    return text;
}

} // namespace veltrana
