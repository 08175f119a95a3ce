#pragma once

#include "Prompter.h"
#include "RegistryStore.h"

#include <functional>
#include <string>
#include <string_view>

namespace veltrana {

inline constexpr int kErrMediumNotReady = 71;
inline constexpr int kErrDeviceMissing = 68;
inline constexpr int kErrDialogCancelled = 32755;

/// An error of a file or dialog routine; number 0 means none.
struct FileError {
    int number = 0;
    std::string description;
    bool ok() const { return number == 0; }
    bool operator==(const FileError&) const = default;
};

/// The error for an errno value: no medium gives 71, a missing device or mount point 68,
/// any other its own number and text.
FileError FileErrorFromErrno(int err);
/// The error of a cancelled file dialog (32755).
FileError DialogCancelledError();

/// What the routine does after HandleFileError.
enum class ErrorOutcome {
    Retry,  ///< try the failing step again
    GoOn,   ///< go on with the next step
    Silent, ///< end the routine without a word
    Fatal,  ///< the unexpected-error message was shown; start-up routines end the program
};

/// Shows the prompt the error calls for, titled "In '<routineName>' routine ...", and says
/// how to go on. Callers bound their retries: a device-missing error always asks for one.
ErrorOutcome HandleFileError(Prompter& prompter, std::string_view routineName,
                             const FileError& error, std::string_view path);

/// How a step run under the scheme ended: done, or the handling's last outcome (Retry when
/// the retries ran out).
struct StepResult {
    bool done = false;
    ErrorOutcome outcome = ErrorOutcome::GoOn;
};

/// Runs `step` (which returns its error, number 0 for success) and handles each error with
/// HandleFileError, trying again while the handling says Retry, at most `maxRetries` times,
/// so that a persisting error always lets the user out.
StepResult RunFileStep(Prompter& prompter, std::string_view routineName, std::string_view path,
                       int maxRetries, const std::function<FileError()>& step);

/// "In '<routineName>' routine ...".
std::string RoutineTitle(std::string_view routineName);

/// Shows the store's trouble with its file, or else `error`, when there is one.
void ReportStoreProblem(const RegistryStore& store, const RegError& error, Prompter& prompter);

/// Has the store's notices (a read-only store file) shown through `prompter`, which must
/// outlive the store's use.
void ShowStoreNotices(RegistryStore& store, Prompter& prompter);

} // namespace veltrana
