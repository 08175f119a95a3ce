#include "GrowingFile.h"

#include "Text.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

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

std::string ReadAt(std::FILE* f, std::uint64_t offset, std::uint64_t count) {
    std::string bytes;
    if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0)
        return bytes;
    bytes.resize(static_cast<std::size_t>(count));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    return bytes;
}

} // namespace

std::string DecodeText(const std::string& bytes) {
    return ValidUtf8(bytes) ? bytes : FromCp1252(bytes);
}

GrowingFile::Update GrowingFile::poll() {
    Update update;
    struct statx st {};
    if (::statx(AT_FDCWD, m_path.c_str(), 0, STATX_INO | STATX_SIZE | STATX_BTIME, &st) != 0) {
        // Gone: whatever comes back under this name starts afresh.
        update.restart = m_seen;
        m_seen = false;
        m_offset = 0;
        m_partial.clear();
        m_pendingCr = false;
        return update;
    }
    std::FILE* f = std::fopen(m_path.c_str(), "rb");
    if (!f)
        return update;
    const auto size = static_cast<std::uint64_t>(st.stx_size);
    // A new file under the old name may get the old one's inode back: its birth time tells
    // where the file system keeps one, else a change of its first bytes.
    const std::int64_t born = (st.stx_mask & STATX_BTIME)
                                  ? st.stx_btime.tv_sec * 1'000'000'000LL + st.stx_btime.tv_nsec
                                  : 0;
    const bool replaced = st.stx_ino != m_inode || born != m_born || size < m_offset ||
                          ReadAt(f, 0, m_head.size()) != m_head;
    if (!m_seen || replaced) {
        update.restart = true;
        m_offset = 0;
        m_partial.clear();
        m_pendingCr = false;
        m_head.clear();
    }
    update.exists = true;
    m_seen = true;
    m_inode = st.stx_ino;
    m_born = born;
    const std::uint64_t count = std::min(size - m_offset, kChunkBytes);
    std::string added = ReadAt(f, m_offset, count);
    std::fclose(f);
    if (m_offset < kHeadBytes)
        m_head += added.substr(0, kHeadBytes - m_offset);
    m_offset += added.size();
    update.more = m_offset < size;

    // An incomplete character at the end waits for the rest, unless the file stopped there.
    m_idlePolls = added.empty() ? m_idlePolls + 1 : 0;
    std::string bytes = m_partial + added;
    const std::size_t keep = m_idlePolls < kIdlePollsBeforeTail ? IncompleteTail(bytes) : 0;
    m_partial = bytes.substr(bytes.size() - keep);
    bytes.resize(bytes.size() - keep);

    // CR LF and lone CR become LF; a CR at the end waits for its LF.
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        if (m_pendingCr) {
            m_pendingCr = false;
            text += '\n';
            if (c == '\n')
                continue;
        }
        if (c == '\r')
            m_pendingCr = true;
        else
            text += c;
    }
    update.text = DecodeText(text);
    return update;
}

} // namespace veltrana
