#pragma once

#include <vector>

namespace veltrana {

/// The phases (radians) made continuous: 2 pi is added or taken away wherever a step between
/// neighbours would otherwise be larger than pi.
std::vector<double> UnwrapPhase(const std::vector<double>& radians);

/// The group delay -dphi/domega in nanoseconds at every frequency of `freqHz` (ascending, at
/// least two), from the unwrapped phase `phase` (radians) by central differences on that grid;
/// the end points take the one-sided difference of the same order. Fewer than two points give
/// no delay.
std::vector<double> GroupDelayNs(const std::vector<double>& freqHz,
                                 const std::vector<double>& phase);

} // namespace veltrana
