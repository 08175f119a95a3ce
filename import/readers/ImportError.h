#pragma once

#include <string>

namespace veltrana {

/// Why measured data could not be taken in: the line of the file (counted from 1; 0 when the
/// fault belongs to no line) and what is wrong there.
struct ImportError {
    int line = 0;
    std::string what;

    /// "Line 12: 'abc' is not a number." or just `what` when no line is named.
    std::string text() const {
        return line > 0 ? "Line " + std::to_string(line) + ": " + what : what;
    }
    bool operator==(const ImportError&) const = default;
};

} // namespace veltrana
