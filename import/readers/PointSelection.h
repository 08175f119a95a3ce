#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace veltrana {

/// Which of the measured points come in: those from `fromMHz` to `toMHz` (both included; no
/// bound when unset), at most `maxPoints` of them.
struct PointRange {
    std::optional<double> fromMHz;
    std::optional<double> toMHz;
    int maxPoints = 0; ///< 0: no limit here (the caller applies its own)
};

/// The indices of the points of `freqMHz` (ascending) that lie in the range and above 0 MHz,
/// thinned evenly to at most `range.maxPoints` when there are more. Thinning keeps the first
/// and the last point of the range, so a largest number below 2 keeps 2.
std::vector<std::size_t> SelectPoints(const std::vector<double>& freqMHz, const PointRange& range);

} // namespace veltrana
