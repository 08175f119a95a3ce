#include "ResultFileName.h"

#include "InputFile.h"

#include <algorithm>
#include <cctype>

namespace veltrana {

std::string ResultFilePath(std::string_view name, std::string_view directory)
{
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string file;
    const auto dot = lower.find('.');
    if (dot == std::string::npos) {
        file = lower;
    } else {
        const auto next = lower.find('.', dot + 1);
        file = lower.substr(0, dot) + "_" +
               lower.substr(dot + 1, next == std::string::npos ? std::string::npos : next - dot - 1);
    }
    return JoinPath(directory, file + ".dat");
}

} // namespace veltrana
