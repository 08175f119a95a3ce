#pragma once

#include "CheckedFile.h"

#include <istream>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace veltrana {

/// An input stream over a file opened through the checked open, for readers that go through a
/// file line by line and keep it open. Seeking works, so a reader may return to a line. A read
/// error, or a file grown beyond its limit, ends the stream as the end of the file would;
/// error() says which it was.
class CheckedInputStream : public std::istream {
public:
    explicit CheckedInputStream(CheckedFile file);
    const FileError& error() const { return m_buffer.error(); }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(CheckedFile file);
        const FileError& error() const { return m_error; }

    protected:
        int_type underflow() override;
        pos_type seekoff(off_type offset, std::ios_base::seekdir dir,
                         std::ios_base::openmode which) override;
        pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

    private:
        CheckedFile m_file;
        std::vector<char> m_bytes;
        std::uint64_t m_start = 0; ///< file offset of the buffer's first byte
        FileError m_error;
    };
    Buffer m_buffer;
};

/// Opens `path` through the checked open as a stream; null, with `error` saying why, when it
/// cannot be opened.
std::unique_ptr<CheckedInputStream> OpenCheckedStream(const std::string& path, FileError& error,
                                                      std::uint64_t limit = kMaxFileBytes);

} // namespace veltrana
