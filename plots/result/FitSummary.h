#pragma once

#include "ResultData.h"

#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// How closely a fit meets its data, from the point table of a result file.
struct FitFigures {
    std::optional<double> errorSum; ///< the second header line, when it is a number
    int points = 0;                 ///< rows measured (none when every data value is 0)
    double rmsPercent = 0;          ///< RMS of error / largest |data|, per cent
    double maxPercent = 0;          ///< the largest |error| / largest |data|, per cent
    double maxAt = 0;               ///< the X value where the error is largest
    std::optional<double> rippleNs; ///< the group delay's ripple, peak to peak, in ns
};

/// `value` to `digits` significant digits, the point as decimal separator whatever the locale,
/// an exponent such as E+06 when it is very large or small: 1234567 to 4 digits is 1.235E+06.
std::string SignificantDigits(double value, int digits);

/// Whether results of `model` fit a model to data (all but the ODE models 0 and 110).
bool HasFit(int model);

/// The figures of `data`'s point table: the data are the second column (models 1 to 8) or the
/// sum of the second and third (the others), the error the third column. `ripple` is the
/// ripple section's second column when the group delay was matched.
FitFigures MeasureFit(const ResultData& data, const std::vector<double>* ripple);

/// The figures in words, as lines to append to the run summary (each CR LF TAB and a line).
/// Model -2's X values are frequencies in MHz.
std::string FitSummaryText(const FitFigures& figures, int model);

/// The ripple section of the result file at `path`, read ahead on a handle of its own without
/// a word when anything fails; nothing, too, unless the file still holds `data`'s table (it may
/// have been rewritten since `data` was read).
std::optional<std::vector<double>> ReadRippleAhead(const std::string& path, const ResultData& data);

} // namespace veltrana
