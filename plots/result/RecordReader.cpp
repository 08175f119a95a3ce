#include "RecordReader.h"

#include "NumberText.h"
#include "Text.h"

#include <cstring>
#include <string_view>

namespace veltrana {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

RecordReader::RecordReader(std::unique_ptr<std::istream> stream)
    : m_stream(std::move(stream)), m_buffer(kBufferSize) {}

bool RecordReader::Fill() {
    if (!m_stream || !*m_stream)
        return false;
    m_stream->read(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_begin = 0;
    m_end = static_cast<std::size_t>(m_stream->gcount());
    return m_end > 0;
}

RecordReader::LineStatus RecordReader::ReadLine(std::string& line) {
    line.clear();
    if (m_overLong)
        return LineStatus::TooLong;
    bool any = false;
    while (m_begin < m_end || Fill()) {
        any = true;
        const char* start = m_buffer.data() + m_begin;
        const std::size_t available = m_end - m_begin;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        const std::size_t take = newline ? static_cast<std::size_t>(newline - start) : available;
        if (line.size() + take > kMaxLineLength) {
            // Reading on to the line's end could take minutes, or never end.
            m_overLong = true;
            line.clear();
            line.shrink_to_fit();
            return LineStatus::TooLong;
        }
        line.append(start, take);
        m_begin += take;
        m_offset += take;
        if (newline) {
            ++m_begin;
            ++m_offset;
            break;
        }
    }
    if (!any)
        return LineStatus::End;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return LineStatus::Ok;
}

void RecordReader::Rewind(std::uint64_t offset) {
    m_stream->clear();
    m_stream->seekg(static_cast<std::streamoff>(offset));
    m_begin = m_end = 0;
    m_offset = offset;
}

std::optional<std::string> RecordReader::ReadTextLine() {
    if (ReadLine(m_line) != LineStatus::Ok)
        return std::nullopt;
    return FromCp1252(TrimBlanks(m_line));
}

std::optional<double> RecordReader::ReadNumberLine() {
    if (ReadLine(m_line) != LineStatus::Ok)
        return std::nullopt;
    return ParseNumber(TrimBlanks(m_line));
}

bool RecordReader::ReadRecord(std::vector<double>& values, int n) {
    m_scratch.clear();
    bool started = false;
    do {
        if (ReadLine(m_line) != LineStatus::Ok)
            return false;
        const std::string_view text = m_line;
        // Blank lines may continue a record but never start one.
        if (!started && text.find_first_not_of(' ') == std::string_view::npos)
            return false;
        started = true;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t blank = text.find(' ', pos);
            if (blank == std::string_view::npos)
                blank = text.size();
            if (blank > pos) {
                std::optional<double> value = ParseNumber(text.substr(pos, blank - pos));
                if (!value)
                    return false;
                m_scratch.push_back(*value);
            }
            pos = blank + 1;
        }
    } while (static_cast<long long>(m_scratch.size()) < n);
    values.assign(m_scratch.begin(), m_scratch.end());
    m_lastCount = static_cast<int>(m_scratch.size());
    return true;
}

} // namespace veltrana
