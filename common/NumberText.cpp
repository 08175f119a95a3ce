#include "NumberText.h"

#include "Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace veltrana {

namespace {

// The BASIC runtime printed doubles with at most 15 significant digits.
constexpr int kMaxGeneralDigits = 15;

struct Decimal {
    bool negative = false;
    std::string digits; // significant digits, no point, no trailing zeros
    int exponent = 0;   // decimal exponent of the first digit
};

// Splits the output of std::to_chars in scientific form ("-2.50e+07").
Decimal Decompose(std::string_view text) {
    Decimal d;
    size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        d.negative = true;
        ++i;
    }
    size_t e = text.find('e', i);
    for (size_t k = i; k < e; ++k)
        if (text[k] != '.')
            d.digits += text[k];
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::string_view exp = text.substr(e + 1);
    if (!exp.empty() && exp.front() == '+')
        exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), d.exponent);
    return d;
}

std::string_view ToScientific(char (&buffer)[64], double value, int precision) {
    auto result = precision < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value,
                                                std::chars_format::scientific)
                                : std::to_chars(buffer, buffer + sizeof buffer, value,
                                                std::chars_format::scientific, precision);
    return {buffer, static_cast<size_t>(result.ptr - buffer)};
}

std::string NonFinite(double value) {
    if (std::isnan(value))
        return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

} // namespace

std::string GeneralNumber(double value) {
    if (!std::isfinite(value))
        return NonFinite(value);
    if (value == 0)
        return "0";
    char buffer[64];
    Decimal d = Decompose(ToScientific(buffer, value, -1));
    if (d.digits.size() > static_cast<size_t>(kMaxGeneralDigits))
        d = Decompose(ToScientific(buffer, value, kMaxGeneralDigits - 1));

    std::string out = d.negative ? "-" : "";
    const int e = d.exponent;
    if (e < -4 || e >= 7) {
        out += d.digits.front();
        if (d.digits.size() > 1)
            out.append(".").append(d.digits, 1);
        out += e < 0 ? "E-" : "E+";
        int magnitude = std::abs(e);
        if (magnitude < 10)
            out += '0';
        out += std::to_string(magnitude);
    } else if (e < 0) {
        out.append(".").append(static_cast<size_t>(-e - 1), '0').append(d.digits);
    } else {
        const size_t intLength = static_cast<size_t>(e) + 1;
        if (d.digits.size() <= intLength)
            out.append(d.digits).append(intLength - d.digits.size(), '0');
        else
            out.append(d.digits, 0, intLength).append(".").append(d.digits, intLength);
    }
    return out;
}

std::string FormatScientific(double value, int maxDecimals) {
    if (!std::isfinite(value))
        return NonFinite(value);
    if (value == 0)
        value = 0; // no "-0"
    char buffer[64];
    Decimal d = Decompose(ToScientific(buffer, value, std::clamp(maxDecimals, 0, 17)));
    std::string out = d.negative ? "-" : "";
    out += d.digits.front();
    if (d.digits.size() > 1)
        out.append(".").append(d.digits, 1);
    out += d.exponent < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(d.exponent));
    return out;
}

std::string FormatE(double value) {
    return "\t" + ReplaceAll(FormatScientific(value, 2), "E+0", "");
}

std::string FormatEList(const std::vector<double>& values, int count) {
    std::string out = "\t";
    const size_t n = std::min(values.size(), static_cast<size_t>(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i)
        out.append(FormatScientific(values[i], 2)).append("\t");
    return TrimBlanks(ReplaceAll(out, "E+0", ""));
}

std::optional<double> ParseNumber(std::string_view token) {
    size_t i = 0;
    const size_t n = token.size();
    if (i < n && (token[i] == '+' || token[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        char c = token[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return std::nullopt;
    size_t exponentAt = std::string_view::npos;
    if (i < n && (token[i] == 'e' || token[i] == 'E' || token[i] == 'd' || token[i] == 'D')) {
        exponentAt = i++;
        if (i < n && (token[i] == '+' || token[i] == '-'))
            ++i;
        bool expDigits = false;
        for (; i < n && token[i] >= '0' && token[i] <= '9'; ++i)
            expDigits = true;
        if (!expDigits)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    // from_chars takes neither a leading '+' nor a Fortran 'D' exponent: only those spellings
    // are copied and rewritten.
    const bool plus = token.front() == '+';
    const bool fortran = exponentAt != std::string_view::npos &&
                         (token[exponentAt] == 'd' || token[exponentAt] == 'D');
    std::string rewritten;
    std::string_view text = token;
    if (plus || fortran) {
        rewritten.assign(token.substr(plus ? 1 : 0));
        if (fortran)
            rewritten[exponentAt - (plus ? 1 : 0)] = 'e';
        text = rewritten;
    }
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace veltrana
