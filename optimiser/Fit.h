#pragma once

#include "FitObserver.h"
#include "FitProblem.h"
#include "Objective.h"
#include "SolverSettings.h"

#include <string>
#include <vector>

namespace veltrana {

struct FitOptions {
    double timeLimitSeconds = 60; ///< bound on the fit's wall time, whatever the settings say
    unsigned seed = 1;            ///< of the restarts' random numbers
    int threads = 0;              ///< descents run at once; 0: one per core
};

struct FitResult {
    std::vector<double> x; ///< best parameters found
    ErrorParts parts;      ///< their error, best gain
    double startError = 0; ///< the start's error with the best gain
    int starts = 0;        ///< descents run (the first one and the restarts)
    int evaluations = 0;   ///< model evaluations (with or without derivatives)
    int iterations = 0;
    int threads = 1; ///< threads the restarts ran on
    bool cancelled = false;
    bool good = false;      ///< the error sum is good by ACCURACY
    bool polished = false;  ///< the final descent from the best point ran
    std::string stopReason; ///< why the run ended, one line
};

/// Fits the constellation of `problem` within its bounds: bounded trust-region least squares
/// with automatic differentiation from the given start, then restarts (around the best point
/// and spread over the box of limits) as REMAX allows until the fit is good by ACCURACY, then
/// a final descent from the best point. Restarts run in parallel threads; the result does not
/// depend on their number. The error of the result is never above the start's.
FitResult Fit(const FitProblem& problem, const SolverSettings& settings, FitObserver& observer,
              const FitOptions& options = {});

} // namespace veltrana
