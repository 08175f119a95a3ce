#pragma once

#include "Fit.h"
#include "FitProblem.h"
#include "Uncertainty.h"

namespace veltrana {

/// What a run found, for the machine-readable summary; RunOptimiser fills it once the fit
/// has run.
struct RunSummary {
    bool fitted = false; ///< the fields below hold a fit
    FitProblem problem;
    FitResult fit;
    Uncertainty uncertainty;
    double startError = 0; ///< with the start gain
    double fitSeconds = 0;
};

} // namespace veltrana
