#pragma once

#include "DesignProblem.h"
#include "FilterModel.h"
#include "ProblemCheck.h"

#include <string>
#include <vector>

namespace veltrana {

/// A design problem in numbers, checked and ready to fit. Frequencies are kept in MHz for
/// the result file and normalised (w = f / freqNorm) for the model.
struct FitProblem {
    FilterLayout layout;
    std::vector<double> start; ///< parameter vector (FilterLayout order), inside the bounds
    std::vector<double> lower, upper;
    double startGain = 1;
    double freqNorm = 1;
    double lowest = 0, highest = 0; ///< questions 13 and 14

    std::vector<double> freqMHz, w, yin, yout;
    std::vector<double> k; ///< residual factor of each pass-band point
    double iPower = 0;
    double magnVSripple = 0;
    bool useWeights = false;

    bool equaliseDelay = false;
    std::vector<double> delFreqMHz, dw, tx;
    double tmin = 0;
    double delayPower = 2; ///< q: delay residuals are sign(e) |e|^(q/2)
    double nsPerUnit = 0;  ///< nanoseconds per normalised time unit

    std::vector<std::string> notes; ///< what was changed in the start (moved to a bound)

    bool sidelobes() const { return layout.nOmegaZeros >= 2; }
};

/// Turns the texts of `design` into a FitProblem. Returns false with the line of CheckProblem
/// saying what is wrong.
bool BuildFitProblem(const DesignProblem& design, FitProblem& out, std::string& error);

} // namespace veltrana
