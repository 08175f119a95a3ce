#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace veltrana {

/// One number in a printf format ("%.4g").
inline std::string NumberText(double value, const char* format) {
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

/// The numbers in a printf format, separated by one blank: an answer's list of locations.
inline std::string NumberList(const std::vector<double>& values, const char* format) {
    std::string line;
    for (double v : values) {
        line += (line.empty() ? "" : " ") + NumberText(v, format);
    }
    return line;
}

} // namespace veltrana
