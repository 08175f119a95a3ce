#pragma once

#include "RunLock.h"

#include <atomic>
#include <string>

namespace veltrana {

/// Makes SIGTERM, SIGINT, SIGHUP and SIGXFSZ cancel the run instead of ending the process: the
/// run then stops at its next step, writes no result (a temporary result file is removed) and
/// its listing says it was cancelled. SIGPIPE is ignored, so that a reader of stderr that went
/// away cannot end the run in silence. Answers the flag the signals set.
const std::atomic<bool>& CatchCancelSignals();

/// The listing's last line for a cancelled run, naming the signal that cancelled it.
std::string CancelledLine();

/// Takes the run lock of `listing` for a run of `inputFile`: the lock handed down by a parent
/// through kRunLockFdVariable when there is one, else a lock of its own. False with the reason
/// (whose run goes on, or why there is no lock) when this run must not write the listing.
bool GuardListing(const std::string& listing, const std::string& inputFile, RunLock& lock,
                  std::string& error);

} // namespace veltrana
