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
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        error = "Cannot write the listing " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void Listing::Line(const std::string& text) {
    m_lastLine = text;
    if (!m_file) {
        return;
    }
    const std::string bytes = ToCp1252(text) + "\r\n";
    std::fwrite(bytes.data(), 1, bytes.size(), m_file);
    std::fflush(m_file);
}

} // namespace veltrana
