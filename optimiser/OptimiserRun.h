#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace veltrana {

struct RunSummary;

struct RunOptions {
    /// Set from outside (a signal handler) to cancel the run; may be null.
    const std::atomic<bool>* cancel = nullptr;
    /// Bound on the fit's wall time, whatever the settings say.
    double timeLimitSeconds = 60;
    /// The listing to write; empty: ListingPath(family).
    std::string listingPath;
    /// Descents run at once; 0: one per core.
    int threads = 0;
    /// Receives the fit's result when given.
    RunSummary* summary = nullptr;
};

/// Exit statuses of the optimiser.
enum RunStatus : int {
    RunOk = 0,
    RunFailed = 1,    ///< the problem could not be fitted or the result not written
    RunCancelled = 2, ///< cancelled; no result file written
    RunUsage = 3,     ///< wrong arguments or no listing can be written (told on stderr)
};

/// The whole optimiser run with the five arguments of the hand-over: name, directory,
/// family directory, drive, first two characters. Reads directory/name, writes the listing
/// "~Veltra.out" in <family>/Veltr.hz/User as it goes and, on success only, the result data
/// file at ResultFilePath(name, directory). On failure the listing's last line says why and
/// no result file is written or removed.
int RunOptimiser(const std::vector<std::string>& args, const RunOptions& options);

/// <family>/Veltr.hz/User/~Veltra.out
std::string ListingPath(const std::string& familyDir);

} // namespace veltrana
