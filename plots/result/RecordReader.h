#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// Reads the lines and numeric records of a result data file from a stream it owns.
/// Lines end in LF or CR LF. No valid record or text line comes near kMaxLineLength bytes:
/// reading stops as soon as a line is that long, and that read and every later one fail, so a
/// hostile file can make the reader neither allocate nor read without bound.
class RecordReader {
public:
    static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

    explicit RecordReader(std::unique_ptr<std::istream> stream);

    /// The next line trimmed of blanks, converted from Windows-1252 to UTF-8; nothing at the
    /// end of the file or for an over-long line.
    std::optional<std::string> ReadTextLine();

    /// Reads one numeric record of at least `n` numbers, starting on the next line and going
    /// on over following lines until `n` numbers are read; all numbers of the last line are
    /// kept. Numbers are separated by blanks only. On success `values` holds every number
    /// read; on failure (end of file, a record starting on a blank line, a token that is not
    /// a number, an over-long line) it is left as it was and false is returned. A record of
    /// n <= 0 numbers still reads one line.
    [[nodiscard]] bool ReadRecord(std::vector<double>& values, int n);

    /// True once a line was longer than kMaxLineLength; the reader then reads nothing more.
    bool overLong() const { return m_overLong; }

    /// Number of values stored by the last successful ReadRecord.
    int lastCount() const { return m_lastCount; }

    /// The next line as one number (the whole trimmed line must be a number); nothing
    /// otherwise, the line being consumed all the same.
    std::optional<double> ReadNumberLine();

    /// Byte offset of the next line; Rewind returns there, e.g. to give back the lines of a
    /// table row that failed.
    std::uint64_t position() const { return m_offset; }
    void Rewind(std::uint64_t offset);

private:
    enum class LineStatus { Ok, End, TooLong };
    LineStatus ReadLine(std::string& line);
    bool Fill();

    std::unique_ptr<std::istream> m_stream;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_offset = 0;
    std::string m_line;
    std::vector<double> m_scratch;
    int m_lastCount = 0;
    bool m_overLong = false;
};

} // namespace veltrana
