#pragma once

#include "FilterModel.h"

#include <vector>

namespace veltrana {

/// h(t) of H(s) sampled from t = 0.
struct ImpulseResponse {
    std::vector<double> timeNs; ///< nanoseconds
    std::vector<double> h;      ///< per normalised time unit
    /// True when H(s) is not strictly proper: the numerator's degree is not below the
    /// denominator's. h(t) is then that of the strictly proper remainder; the polynomial
    /// part (impulses at t = 0 and their derivatives) is left out.
    bool improper = false;
};

/// h(t) of G * N(s) / D(s) for the constellation p, over about ten time constants of the
/// slowest pole. nsPerUnit converts normalised time to nanoseconds.
ImpulseResponse ComputeImpulseResponse(const FilterLayout& layout, const std::vector<double>& p,
                                       double gain, double nsPerUnit);

} // namespace veltrana
