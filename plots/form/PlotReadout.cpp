#include "PlotReadout.h"

#include <cctype>
#include <charconv>

namespace veltrana {

std::string ReadoutNumber(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::general, 4);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ReadoutText(double x, double y) {
    return "X = " + ReadoutNumber(x) + "   Y = " + ReadoutNumber(y);
}

} // namespace veltrana
