#include "CheckedStream.h"

#include <utility>

namespace veltrana {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}

CheckedInputStream::Buffer::Buffer(CheckedFile file)
    : m_file(std::move(file)), m_bytes(kBufferBytes) {
    setg(m_bytes.data(), m_bytes.data(), m_bytes.data());
}

CheckedInputStream::Buffer::int_type CheckedInputStream::Buffer::underflow() {
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    m_start += static_cast<std::uint64_t>(egptr() - eback());
    setg(m_bytes.data(), m_bytes.data(), m_bytes.data());
    if (!m_error.ok())
        return traits_type::eof();
    std::size_t got = 0;
    m_error = m_file.readAt(m_start, m_bytes.data(), m_bytes.size(), got);
    if (got == 0)
        return traits_type::eof();
    setg(m_bytes.data(), m_bytes.data(), m_bytes.data() + got);
    return traits_type::to_int_type(*gptr());
}

CheckedInputStream::Buffer::pos_type
CheckedInputStream::Buffer::seekoff(off_type offset, std::ios_base::seekdir dir,
                                    std::ios_base::openmode which) {
    if (!(which & std::ios_base::in))
        return pos_type(off_type(-1));
    const auto here = static_cast<off_type>(m_start + (gptr() - eback()));
    off_type target = offset;
    if (dir == std::ios_base::cur) {
        target = here + offset;
    } else if (dir == std::ios_base::end) {
        FileStamp now;
        if (!m_file.stamp(now).ok())
            return pos_type(off_type(-1));
        target = static_cast<off_type>(now.size) + offset;
    }
    if (target < 0)
        return pos_type(off_type(-1));
    const auto start = static_cast<off_type>(m_start);
    if (target >= start && target <= start + (egptr() - eback())) {
        setg(eback(), eback() + (target - start), egptr());
    } else {
        m_start = static_cast<std::uint64_t>(target);
        setg(m_bytes.data(), m_bytes.data(), m_bytes.data());
    }
    return pos_type(target);
}

CheckedInputStream::Buffer::pos_type
CheckedInputStream::Buffer::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

CheckedInputStream::CheckedInputStream(CheckedFile file)
    : std::istream(nullptr), m_buffer(std::move(file)) {
    rdbuf(&m_buffer);
}

std::unique_ptr<CheckedInputStream> OpenCheckedStream(const std::string& path, FileError& error,
                                                      std::uint64_t limit) {
    CheckedFile file;
    error = file.open(path, limit);
    if (!error.ok())
        return nullptr;
    return std::make_unique<CheckedInputStream>(std::move(file));
}

} // namespace veltrana
