#pragma once

#include <ctime>

namespace veltrana::test {

/// A clock that always reads noon, 1 January 2026: saved files come out byte for byte the same.
inline std::tm Noon() {
    return std::tm{.tm_hour = 12, .tm_mday = 1, .tm_year = 126};
}

} // namespace veltrana::test
