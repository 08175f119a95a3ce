#include "MeasuredFile.h"

#include "FileBytes.h"

namespace veltrana {

bool LoadMeasuredFile(const std::string& path, MeasuredFile& file, ImportError& error) {
    std::string bytes;
    if (const FileError read = ReadFileBytes(path, bytes, kMaxMeasuredFileBytes); !read.ok()) {
        error = {0, "The file cannot be read: " + read.description};
        return false;
    }
    const std::size_t slash = path.rfind('/');
    return ParseMeasuredFile(slash == std::string::npos ? path : path.substr(slash + 1), bytes,
                             file, error);
}

bool ParseMeasuredFile(std::string_view name, std::string_view bytes, MeasuredFile& file,
                       ImportError& error) {
    file = MeasuredFile{};
    file.name = name;
    const int ports = TouchstonePortsOfName(name);
    if (ports < 0) {
        file.kind = MeasuredFile::Kind::Table;
        return ReadTextTable(bytes, file.table, error);
    }
    file.kind = MeasuredFile::Kind::Touchstone;
    return ReadTouchstone(bytes, ports, file.touchstone, error);
}

} // namespace veltrana
