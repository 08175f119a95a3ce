#pragma once

#include <QString>

#include <string_view>

namespace veltrana::forms {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Labels show the designer's "&&" as one "&" and have no access keys.
inline QString LabelText(std::string_view caption) {
    return ToQString(caption).replace(QLatin1String("&&"), QLatin1String("&"));
}

} // namespace veltrana::forms
