#pragma once

#include "FitObserver.h"
#include "FitProblem.h"
#include "Objective.h"
#include "SolverSettings.h"

#include <string>
#include <vector>

namespace veltrana {

/// The limits and tolerances of one descent.
struct DescentPlan {
    int iterations = 100; ///< trust-region iterations at most
    int evaluations = 0;  ///< model evaluations at most (this descent's share of EVALMAX)
    double functionTolerance = 1e-5;
    double parameterTolerance = 1e-5;
    double gradientTolerance = 1e-14; ///< of the projected gradient's largest component
    double seconds = 60;
    /// The first trust region, in Jacobi-scaled units. A moderate one for a descent from far
    /// away: undamped first steps throw pairs against their limits. A wide one for the final
    /// descent from a good point, where heavily damped first steps are so short that the
    /// step tolerance ends the descent at once.
    double firstRadius = 1;
    std::vector<int> held; ///< locations that stay where they start
};

/// How one descent ended. x lies inside the problem's bounds.
struct DescentOutcome {
    std::vector<double> x;
    ErrorParts parts;
    int evaluations = 0;
    int iterations = 0;
    bool cancelled = false;
    bool evaluationLimit = false; ///< its share of EVALMAX ran out
    bool iterationLimit = false;  ///< it ended on STEPSLIM
    bool converged = false;       ///< it ended on a tolerance
    std::string why;              ///< one line for the listing
};

/// One bounded trust-region descent from `start`, reported to `observer` as start number
/// `number` (its iterations only: the caller tells where it begins and ends).
///
/// The imaginary part b of a pole or zero pair is fitted as b^2: the model is even in b, so
/// in b its derivative vanishes on the real axis, and a pair that a step put there (or near
/// it) would stay there; in b^2 it does not vanish.
DescentOutcome Descend(const FitProblem& problem, const SolverSettings& settings,
                       const std::vector<double>& start, const DescentPlan& plan,
                       FitObserver& observer, int number);

} // namespace veltrana
