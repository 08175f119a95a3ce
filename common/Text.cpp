#include "Text.h"

#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace veltrana {

std::string TrimBlanks(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    size_t e = text.find_last_not_of(' ');
    return std::string(text.substr(b, e - b + 1));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos)).append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

double NumericValue(std::string_view text) {
    // Gather the characters that can form a number, skipping blanks and TABs between them.
    std::string number;
    bool digits = false, point = false, exponent = false, expDigits = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if ((c == '+' || c == '-') &&
            (number.empty() || (exponent && !expDigits && (number.back() == 'E')))) {
            number += c;
        } else if (c >= '0' && c <= '9') {
            number += c;
            (exponent ? expDigits : digits) = true;
        } else if (c == '.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
            number += 'E';
            exponent = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (exponent && !expDigits) {
        while (!number.empty() &&
               (number.back() == 'E' || number.back() == '+' || number.back() == '-'))
            number.pop_back();
    }
    // from_chars reads the point as decimal separator whatever the user's locale says.
    double value = 0.0;
    const char* begin = number.data() + (number.front() == '+' ? 1 : 0);
    auto [end, error] = std::from_chars(begin, number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        bool tiny = number.find("E-") != std::string::npos;
        return tiny ? 0.0 : (number.front() == '-' ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

int RoundToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(std::nearbyint(value));
}

std::vector<std::string> SplitAt(std::string_view text, char separator) {
    std::vector<std::string> pieces;
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(separator, pos);
        if (hit == std::string_view::npos) {
            pieces.emplace_back(text.substr(pos));
            return pieces;
        }
        pieces.emplace_back(text.substr(pos, hit - pos));
        pos = hit + 1;
    }
}

std::string LeftChars(std::string_view utf8, size_t count) {
    size_t i = 0;
    for (size_t chars = 0; i < utf8.size() && chars < count; ++chars) {
        ++i;
        while (i < utf8.size() && (static_cast<std::uint8_t>(utf8[i]) & 0xC0) == 0x80)
            ++i;
    }
    return std::string(utf8.substr(0, i));
}

std::string Shortened(std::string_view utf8, size_t count) {
    std::string shown = LeftChars(utf8, count);
    if (shown.size() < utf8.size())
        shown += "...";
    return shown;
}

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 marks the five unassigned ones.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int Cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp && cp != 0)
            return static_cast<int>(0x80 + i);
    return '?';
}

} // namespace

std::string ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        auto b = static_cast<std::uint8_t>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        char32_t cp = len == 4 ? b & 0x07 : len == 3 ? b & 0x0F : b & 0x1F;
        bool valid = len > 1 && i + len <= utf8.size();
        for (int k = 1; valid && k < len; ++k) {
            auto c = static_cast<std::uint8_t>(utf8[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        out += valid ? static_cast<char>(Cp1252Byte(cp)) : '?';
        i += valid ? len : 1;
    }
    return out;
}

std::string FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto b = static_cast<std::uint8_t>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            AppendUtf8(out, kHighControls[b - 0x80] ? kHighControls[b - 0x80] : 0xFFFD);
        else
            AppendUtf8(out, b);
    }
    return out;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // As on the system the file commands come from, "x.*" also names "x" itself.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos &&
        WildcardMatch(pattern.substr(0, pattern.size() - 2), name))
        return true;
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace veltrana
