#pragma once

#include "FitProblem.h"
#include "ImpulseResponse.h"
#include "Objective.h"

#include <string>
#include <utility>
#include <vector>

namespace veltrana {

/// One trailing section of the result file: a title and rows of two numbers.
struct ResultSectionData {
    std::string title;
    std::vector<std::pair<double, double>> rows;
};

/// The sidelobe section: 20 log10(|H| / Hmax) from w = 1 to 1.5 times the largest omega zero
/// (x in MHz), Hmax the largest |H| over the pass-band points. Levels are kept at or above
/// -200 dB so that a point on a zero stays a number.
ResultSectionData SidelobeSection(const FitProblem& fp, const std::vector<double>& x);

/// The ripple section: total delay minus the target, in ns, at each delay point (x in MHz).
ResultSectionData RippleSection(const FitProblem& fp, const std::vector<double>& x, double target);

/// Everything a result file of model -2 holds beyond the fit itself.
struct ResultHeader {
    std::string titleLine; ///< the input file's name and Note1
    std::string thirdLine;
};

/// The result data file (model -2) for parameters x with error parts `parts`, as bytes:
/// Windows-1252, CR LF. Sections follow in file order: sidelobe (two or more omega zeros),
/// ripple (delay equalised), impulse response (no ripple section).
std::string FormatResultFile(const FitProblem& fp, const std::vector<double>& x,
                             const ErrorParts& parts, const ResultHeader& header,
                             const ImpulseResponse& impulse);

/// Replaces `path` with `bytes` as every save of the suite does (ReplaceFileBytes), so that
/// `path` is either the old file or the complete new one. False with the reason.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

} // namespace veltrana
