#pragma once

#include <cstdio>
#include <string>

namespace veltrana {

/// The output listing "~Veltra.out", written line by line and flushed after every line so
/// that a progress window can follow it while the run goes on. Windows-1252, CR LF, like
/// every other file of the suite.
class Listing {
public:
    Listing() = default;
    ~Listing();
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    /// Creates (or empties) the listing; false with the reason when it cannot be written.
    bool Open(const std::string& path, std::string& error);
    /// Writes one line (UTF-8 text). Once a line could not be written (a full disk, a file
    /// size limit) nothing more is written and ok() is false for good.
    void Line(const std::string& text);
    const std::string& lastLine() const { return m_lastLine; }
    bool ok() const { return m_error.empty(); }
    /// Why the listing could not be written; "" while it can.
    const std::string& error() const { return m_error; }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_lastLine;
    std::string m_error;
};

} // namespace veltrana
