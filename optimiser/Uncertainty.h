#pragma once

#include "FitProblem.h"

#include <string>
#include <vector>

namespace veltrana {

/// How well the data determine a fit: the linearised covariance s^2 (J^T J)^-1 of the
/// locations and the gain at the fit, J the Jacobian of the residuals, s^2 the residual
/// variance (error sum over residuals less unknowns) standing in for the noise.
struct Uncertainty {
    bool estimated = false; ///< false: the standard errors are unknown (see why)
    std::string why;        ///< why they could not be estimated
    int residuals = 0;
    int unknowns = 0;                  ///< locations, and the gain when it enters a residual
    double residualVariance = 0;       ///< s^2
    std::vector<double> standardError; ///< per location; NaN when not estimated
    double gainStandardError = 0;      ///< NaN when not estimated
    bool gainFixed = false;            ///< the gain enters no residual: it keeps its start
    /// Per location: it sits on one of its limits, which hold it there rather than the data.
    /// It is taken as fixed: it has no standard error.
    std::vector<bool> onLimit;
    /// Per location: the Jacobian is singular (or nearly) in its direction, so that the error
    /// sum does not change to first order when it moves with others.
    std::vector<bool> singular;
    /// Per location: singular, or a standard error of at least half its magnitude.
    std::vector<bool> undetermined;

    /// True when a location is undetermined or on a limit: the listing warns of it.
    bool warns() const;
};

/// The uncertainty of the fit x with gain `gain`.
Uncertainty EstimateUncertainty(const FitProblem& problem, const std::vector<double>& x,
                                double gain);

/// The listing's lines on it: every location (as in H(s)) and the gain with its standard
/// error, f0 (MHz) and Q of each pair, and one warning line per location the data do not
/// determine or a limit holds.
std::vector<std::string> DescribeUncertainty(const FitProblem& problem,
                                             const std::vector<double>& x, double gain,
                                             const Uncertainty& u);

/// The resonance of a pair (a, b): f0 = |a + jb| freqNorm in MHz and Q = |a + jb| / (2 |a|).
struct Resonance {
    double f0MHz = 0;
    double q = 0;
};
Resonance ResonanceOf(const FitProblem& problem, double a, double b);

/// A location as H(s) has it: poles and zeros at -a, imaginary parts and omega zeros as
/// they are.
double SignedLocation(const FilterLayout& layout, const std::vector<double>& x, int i);

} // namespace veltrana
