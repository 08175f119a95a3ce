#include "Listing.h"

#include "Text.h"

#include <cerrno>
#include <cstring>

namespace veltrana {

Listing::~Listing() {
    if (m_file) {
        std::fclose(m_file);
    }
}

bool Listing::Open(const std::string& path, std::string& error) {
    m_path = path;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        error = "Cannot write the listing " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void Listing::Line(const std::string& text) {
    m_lastLine = text;
    if (!m_file || !ok()) {
        return;
    }
    const std::string bytes = ToCp1252(text) + "\r\n";
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() ||
        std::fflush(m_file) != 0) {
        m_error = "Cannot write the listing " + m_path + ": " +
                  (errno != 0 ? std::strerror(errno) : "write error");
    }
}

} // namespace veltrana
