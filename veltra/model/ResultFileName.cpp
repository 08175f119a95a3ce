#include "ResultFileName.h"

#include "FileBytes.h"
#include "InputFile.h"
#include "Text.h"

#include <algorithm>
#include <cctype>

namespace veltrana {

std::string ResultFilePath(std::string_view name, std::string_view directory) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string file;
    const auto dot = lower.find('.');
    if (dot == std::string::npos) {
        file = lower;
    } else {
        const auto next = lower.find('.', dot + 1);
        file =
            lower.substr(0, dot) + "_" +
            lower.substr(dot + 1, next == std::string::npos ? std::string::npos : next - dot - 1);
    }
    return JoinPath(directory, file + ".dat");
}

bool ResultOfAnotherInput(const std::string& path, std::string_view name, std::string& other) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes).ok())
        return false;
    std::string line = FromCp1252(bytes.substr(0, bytes.find('\n')));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::string named = TrimBlanks(line.substr(0, line.find("  ")));
    if (named.empty() || TrimBlanks(line) == name || line.starts_with(std::string(name) + "  "))
        return false;
    other = named;
    return true;
}

} // namespace veltrana
