#include "LineReader.h"

namespace veltrana {

LineReader::LineReader(std::string_view text) : m_text(text) {
    if (m_text.starts_with("\xEF\xBB\xBF"))
        m_pos = 3;
}

bool LineReader::next(std::string_view& line) {
    if (m_pos >= m_text.size())
        return false;
    const std::size_t end = m_text.find_first_of("\r\n", m_pos);
    if (end == std::string_view::npos) {
        line = m_text.substr(m_pos);
        m_pos = m_text.size();
    } else {
        line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        if (m_text[end] == '\r' && m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
    }
    ++m_number;
    return true;
}

std::string_view TrimSpace(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace veltrana
