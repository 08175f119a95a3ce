#pragma once

#include "DesignProblem.h"

#include <string>
#include <vector>

namespace veltrana {

/// Beyond these sizes a problem is not a filter design any more and would only make the fit
/// slow: the optimiser refuses it, and veltra refuses to submit it.
inline constexpr int kMaxLocationCount = 30;
inline constexpr int kMaxTablePoints = 5000;

/// A design problem's answers in numbers, checked the way the optimiser needs them.
/// Frequencies are in MHz; locations are the normalised values the user typed.
struct CheckedProblem {
    bool equaliseDelay = false;
    bool useWeights = false;
    double iPower = 0;
    double magnVSripple = 0;
    double freqNorm = 1;
    double startGain = 1;

    /// Pass band: one entry per point. `factor` is the point's residual factor
    /// sqrt(magnVSripple) * Weight / Yout^Ipower.
    std::vector<double> freqMHz, yin, yout, factor;

    /// Delay table (empty unless the delay is equalised). delayPower is |DelRipplePower|,
    /// 2 when it is 0.
    std::vector<double> delFreqMHz, tx;
    double tmin = 0;
    double delayPower = 2;

    int nSigmaPoles = 0, nPolePairs = 0;
    bool sigmaZero = false, doublet = false, lossless = false;
    int nOmegaZeros = 0, nZeroPairs = 0, nZeroQuads = 0;
    double lowest = 0, highest = 0; ///< questions 13 and 14

    double sigmaPole = 0;                   ///< when nSigmaPoles is 1
    std::vector<double> poleReal, poleImag; ///< one per pole pair
    double sigmaZeroValue = 0;              ///< when sigmaZero
    std::vector<double> omegaZeros;         ///< one per omega-axis zero
    std::vector<double> zeroReal, zeroImag; ///< zero pairs, then zero quads
};

/// Checks everything the optimiser needs of `design` and returns it in numbers. Returns false
/// with one line saying what is wrong (a missing or non-numeric answer, a count that
/// disagrees with its list, no pass-band points, a repeated frequency, limits that cannot
/// hold a location, ...). veltra uses the same check before a run, so that a problem the
/// optimiser would refuse is refused with the same words before anything starts.
bool CheckProblem(const DesignProblem& design, CheckedProblem& out, std::string& error);

/// Reads the input file directory/name as the optimiser does and checks its problem: false with
/// the line saying what the optimiser would stop on.
bool CheckInputFile(const std::string& name, const std::string& directory, std::string& error);

/// Blank- or comma-separated numbers; false when a token is not a number.
bool ParseNumberList(const std::string& text, std::vector<double>& values);

} // namespace veltrana
