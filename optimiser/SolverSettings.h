#pragma once

#include <array>
#include <string>
#include <vector>

namespace veltrana {

/// The nine optimiser settings as numbers. A problem without settings uses the defaults
/// shown on the settings tab; the fit (Fit.cpp) says where each one steers the solver.
struct SolverSettings {
    std::array<int, 3> remax{5, 10, 7}; ///< starts; rejected steps in a row; (inner: unused)
    std::array<int, 3> detail{0, 0, 0}; ///< report intervals: starts, iterations, rejected steps
    std::array<double, 3> zero{1e-5, 1e-5, 1e-5}; ///< restart gain, cost change, step size
    int stepsLim = 100;                           ///< iterations per descent
    int stepOut = 10;                             ///< one progress line every N iterations
    int evalMax = 2000;                           ///< model evaluations over the whole run
    int setRho = 1;                               ///< 1 Levenberg-Marquardt, 2 dogleg
    double ratio = 16;      ///< restart radius shrinks by sqrt(RATIO) per start
    double accuracy = 1e-4; ///< a fit is good below ACCURACY x the error of H = 0
    bool fromFile = false;
};

/// Reads the nine texts (nSolverLines 9) or takes the defaults (0). An empty entry keeps its
/// default and adds a note. Returns false with a line naming the bad setting.
bool ParseSolverSettings(const std::array<std::string, 9>& texts, int nSolverLines,
                         SolverSettings& out, std::vector<std::string>& notes, std::string& error);

} // namespace veltrana
