#pragma once

#include <string_view>

namespace veltrana {

/// The lines of a text held in memory, with their numbers: CR LF, LF and a lone CR all end a
/// line, and a byte-order mark at the start is skipped.
class LineReader {
public:
    explicit LineReader(std::string_view text);
    /// The next line without its line end; false once the text is used up.
    bool next(std::string_view& line);
    /// Number of the line `next` gave last, counted from 1.
    int number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_number = 0;
};

/// `text` without blanks and TABs at either end.
std::string_view TrimSpace(std::string_view text);

} // namespace veltrana
