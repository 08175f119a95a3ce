#pragma once

#include <ctime>

namespace veltrana::test {

/// A clock that always reads noon, 1 January 2026: saved files come out byte for byte the same.
inline std::tm Noon() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mday = 1;
    t.tm_hour = 12;
    return t;
}

} // namespace veltrana::test
