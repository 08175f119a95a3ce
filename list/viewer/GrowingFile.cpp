#include "GrowingFile.h"

#include "Text.h"

#include <cstdio>
#include <sys/stat.h>

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

} // namespace

std::string DecodeText(const std::string& bytes) {
    return ValidUtf8(bytes) ? bytes : FromCp1252(bytes);
}

GrowingFile::Update GrowingFile::poll() {
    Update update;
    struct stat st {};
    if (::stat(m_path.c_str(), &st) != 0) {
        // Gone: whatever comes back under this name starts afresh.
        update.restart = m_seen;
        m_seen = false;
        m_offset = 0;
        m_partial.clear();
        m_pendingCr = false;
        return update;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (!m_seen || st.st_ino != m_inode || size < m_offset) {
        update.restart = true;
        m_offset = 0;
        m_partial.clear();
        m_pendingCr = false;
    }
    std::FILE* f = std::fopen(m_path.c_str(), "rb");
    if (!f)
        return update;
    update.exists = true;
    m_seen = true;
    m_inode = st.st_ino;
    std::string bytes = m_partial;
    const std::uint64_t before = m_offset;
    if (std::fseek(f, static_cast<long>(m_offset), SEEK_SET) == 0) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            bytes.append(buffer, n);
            m_offset += n;
        }
    }
    std::fclose(f);

    // A file that stopped growing hands over its last bytes as they are.
    std::size_t keep = m_offset > before ? IncompleteTail(bytes) : 0;
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
