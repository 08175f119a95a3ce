#pragma once

#include "OptimiserRun.h"

#include <string>
#include <vector>

namespace veltrana {

inline constexpr const char* kUsage =
    "usage: optimiser [--listing FILE] [--json FILE] [--threads N] <name> <directory> "
    "<familyDir> <drive> <first2>\n";

/// The options for scripted use, given before the five arguments of the hand-over.
struct CommandLine {
    std::vector<std::string> handOver; ///< the five arguments (or what stands in their place)
    std::string listingPath;           ///< --listing: instead of <family>/Veltr.hz/User/~Veltra.out
    std::string jsonPath;              ///< --json: a summary of the run
    int threads = 0;                   ///< --threads: descents at once (0: one per core)
};

/// Takes the options off the front of `args` ("--" ends them). False with the reason when an
/// option is unknown, given twice or lacks its value.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

/// The optimiser program: parses the options, runs the fit and writes the summary when one
/// is asked for. Returns the exit status (RunStatus); a summary that cannot be written is
/// told on stderr and gives RunUsage.
int RunCommandLine(const std::vector<std::string>& args, RunOptions options);

} // namespace veltrana
