#pragma once

#include <string>

namespace veltrana {

/// A date and time of day on the local clock, as the summary and plot headers print them.
struct LocalDateTime {
    int year = 2000;
    int month = 1; ///< 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    /// The current local date and time.
    static LocalDateTime Now();

    /// The default date text, "2024-03-07".
    std::string DateText() const;
    /// The default time text, "14:05:09".
    std::string TimeText() const;
};

} // namespace veltrana
