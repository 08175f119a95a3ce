#pragma once

#include "FitProblem.h"
#include "Objective.h"
#include "SolverSettings.h"

#include <string>
#include <vector>

namespace veltrana {

/// What the fit tells while it runs; the listing writes it down.
class FitObserver {
public:
    virtual ~FitObserver() = default;
    virtual void StartBegins(int /*start*/, const std::vector<double>& /*x*/, double /*error*/) {}
    /// Every iteration of a descent; x is the current (accepted) point.
    virtual void Iteration(int /*start*/, int /*iteration*/, double /*error*/, bool /*successful*/,
                           const double* /*x*/) {}
    virtual void StartEnds(int /*start*/, const std::vector<double>& /*x*/, double /*error*/,
                           const std::string& /*why*/) {}
    /// True once the run is to stop (the user cancelled it).
    virtual bool Cancelled() { return false; }
};

struct FitResult {
    std::vector<double> x; ///< best parameters found
    ErrorParts parts;      ///< their error, best gain
    double startError = 0; ///< the start's error with the best gain
    int starts = 0;        ///< descents run (the first one and the restarts)
    int evaluations = 0;   ///< model evaluations (with or without derivatives)
    int iterations = 0;
    bool cancelled = false;
    bool polished = false;  ///< the final descent from the best point ran
    std::string stopReason; ///< why the run ended, one line
};

/// Fits the constellation of `problem` within its bounds: bounded trust-region least
/// squares with automatic differentiation, restarted around the best point while a descent
/// ends far from a good fit. The error of the result is never above the start's.
FitResult Fit(const FitProblem& problem, const SolverSettings& settings, FitObserver& observer,
              double timeLimitSeconds = 60, unsigned seed = 1);

} // namespace veltrana
