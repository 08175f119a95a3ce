#pragma once

#include <string>
#include <vector>

namespace veltrana {

/// Where a descent of the fit starts.
enum class StartKind {
    Given,      ///< the problem's own start
    AroundBest, ///< near the best point so far
    Spread,     ///< a point of a low-discrepancy set over the whole box of limits
    Polish,     ///< the final descent from the best point
};

/// What the fit tells while it runs; the listing writes it down. Every call but Cancelled
/// comes from the thread that called Fit, in start order, whatever the number of threads.
class FitObserver {
public:
    virtual ~FitObserver() = default;
    virtual void StartBegins(int /*start*/, StartKind /*kind*/, const std::vector<double>& /*x*/,
                             double /*error*/) {}
    /// Every iteration of a descent; x is the current (accepted) point.
    virtual void Iteration(int /*start*/, int /*iteration*/, double /*error*/, bool /*successful*/,
                           const double* /*x*/) {}
    virtual void StartEnds(int /*start*/, const std::vector<double>& /*x*/, double /*error*/,
                           const std::string& /*why*/) {}
    /// True once the run is to stop (the user cancelled it). Called from any thread.
    virtual bool Cancelled() { return false; }
};

} // namespace veltrana
