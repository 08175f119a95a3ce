#pragma once

#include "RunSummary.h"

#include <string>

namespace veltrana {

/// What the caller of a run knows about it.
struct JsonRun {
    std::string inputPath, resultPath;
    int status = 0;      ///< exit status (RunStatus)
    std::string message; ///< the listing's last line
    double seconds = 0;  ///< the whole run
};

/// The machine-readable summary of a run, a JSON object (UTF-8): the problem's files, the
/// status, and once the fit has run its error sums, every location (as in H(s)) with its
/// standard error, the gain, f0 (MHz) and Q of each pair, evaluations, starts and time.
/// Numbers that are not finite (a standard error that cannot be estimated) are null.
std::string FormatJsonSummary(const JsonRun& run, const RunSummary& summary);

} // namespace veltrana
