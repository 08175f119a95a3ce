#pragma once

#include <array>
#include <string>
#include <string_view>

namespace veltrana {

/// Captions of the 22 question labels, in answer-slot order. The input file's comments are
/// their first 50 characters.
inline constexpr std::array<std::string_view, 22> kQuestionCaptions = {
    "1. \u00bb Equalize Group Delay?",
    "1a. \u00bb Desire a specific group delay value, Tmin?  If not, enter a '0' for a Tmin "
    "value.  Tmin units are 1000 * ( seconds / 'FreqNorm')... normally Nano-seconds.",
    "1b. \u00bb Power for weighting Delay's flat fit; ie. 'DelError' to what power?",
    "2. \u00bb 'Ipower' value for Passband Error=Error / (Yout^Ipower) definition?",
    "3. \u00bb Want ERROR array weighted; i.e. Error_i = Error_i * Weight_i (see 'Passband "
    "Data' Weight Array)?",
    "4. \u00bb Weight importance of Magnitude fit vs. Group Delay ripple?",
    "5. \u00bb Freq Norm ... upper passband Frequency limit && 1st sidelobe zero on omega-axis "
    "if one exists.  Units are assumed to be mega-hertz.",
    "6. \u00bb No. of Poles on Sigma axis and pairs; e.g. 0 4 => 0 Sigma + 4 pairs?",
    "7. \u00bb Sigma-axis Pole ... REAL value?",
    "8. \u00bb Pole pairs ... REAL values?",
    "9. \u00bb                  ... IMAGINARY values?",
    "10. \u00bb Want a -Zero- on the Sigma-axis?",
    "10a. \u00bb Sigma Zero -initial- value?",
    "10b. \u00bb Is Sigma Zero a 'Doublet'?",
    "10c. \u00bb Is Sigma Zero 'Lossless'?",
    "11. \u00bb  No. of Zero types; ie. S. omega axis, P. pairs && Q. quads?",
    "11a \u00bb  Omega-axis Zero ... IMAGINARY values (>= 1.0)?",
    "11b \u00bb  Zero pairs then quads ... REAL values?",
    "11c \u00bb                                     ... IMAGINARY values?",
    "12. \u00bb  Initial GAIN value for H(s)?",
    "13. \u00bb  Smallest |Sigma-axis value| for Poles and  Zeros?",
    "14. \u00bb  Max. |Omega-axis| and -|Sigma-axis| parameter values for Poles and  Zeros?",
};

/// Captions of the nine optimiser-setting labels, in setting order.
inline constexpr std::array<std::string_view, 9> kSolverCaptions = {
    "1. \u00bb REMAX: Maximum iterations for 3 nested solvers; i.e.,           ULMO outer, "
    "VESK middle, and TORBY inner solvers.",
    "2. \u00bb  DETAIL: Detailed report every Nth iteration (for each solver)",
    "3. \u00bb ZERO: Iteration convergent tolerance (for each solver)",
    "4. \u00bb STEPSLIM: Limit # of steps per iteration (for Outer solver, ULMO).",
    "5. \u00bb STEPOUT: Provides snapshot prints every N steps",
    "6. \u00bb EVALMAX: Limit total # of model evaluations",
    "7. \u00bb SETRHO: 1=> Newton-Raphson method; and,                        2=> Same but use "
    "gradient when Hessian is indefinite.",
    "8. \u00bb RATIO: Factor used to reduce RHO between successive        unconstrained "
    "problems (must be >2)",
    "9. \u00bb ACCURACY: Final convergence tolerance",
};

/// Start texts of the two notes.
inline constexpr std::string_view kNote1Start = "Keep notes for future runs";
inline constexpr std::string_view kNote2Start = "Your notes go here";

/// Comment of a setting line in the input file: the caption less its last 15 characters,
/// trimmed of blanks (the writer cuts it to 50 characters).
std::string SolverComment(int entry);

} // namespace veltrana
