#include "ErrorScheme.h"

#include <cerrno>
#include <cstring>

namespace veltrana {

namespace {

constexpr const char* kTextInsertDisk = "Put a floppy disk in the drive and cloce the drive door.";
constexpr const char* kTextNoSuchPath = "This drive or path does not exist: ";

void ShowStoreMessage(const RegError& shown, Prompter& prompter) {
    prompter.message(
        {shown.description, "Settings store", PromptIcon::Exclamation, PromptButtons::Ok});
}

} // namespace

FileError FileErrorFromErrno(int err) {
    std::string text = std::strerror(err);
    switch (err) {
    case 0:
        return {};
    case ENOMEDIUM:
        return {kErrMediumNotReady, text};
    case ENODEV:
    case ENXIO:
        return {kErrDeviceMissing, text};
    case kErrMediumNotReady:
    case kErrDeviceMissing:
        // errno values that happen to share a number with the scheme (EPROTO, EADV) must not
        // ask for a floppy disk; they are reported as I/O errors with their own text.
        return {EIO, text};
    default:
        return {err, text};
    }
}

FileError DialogCancelledError() {
    return {kErrDialogCancelled, "Cancel was selected"};
}

std::string RoutineTitle(std::string_view routineName) {
    return "In '" + std::string(routineName) + "' routine ...";
}

ErrorOutcome HandleFileError(Prompter& prompter, std::string_view routineName,
                             const FileError& error, std::string_view path) {
    Prompt prompt;
    prompt.title = RoutineTitle(routineName);
    switch (error.number) {
    case 0:
        return ErrorOutcome::GoOn; // nothing went wrong
    case kErrMediumNotReady:
        prompt.text = kTextInsertDisk;
        prompt.icon = PromptIcon::Exclamation;
        prompt.buttons = PromptButtons::OkCancel;
        return prompter.message(prompt) == PromptAnswer::Ok ? ErrorOutcome::Retry
                                                            : ErrorOutcome::GoOn;
    case kErrDeviceMissing:
        prompt.text = kTextNoSuchPath + std::string(path);
        prompt.icon = PromptIcon::Exclamation;
        prompt.buttons = PromptButtons::Ok;
        prompter.message(prompt);
        return ErrorOutcome::Retry;
    case kErrDialogCancelled:
        return ErrorOutcome::Silent;
    default:
        prompt.text =
            "Unexpected error #" + std::to_string(error.number) + " occured: " + error.description;
        prompt.icon = PromptIcon::Critical;
        prompt.buttons = PromptButtons::Ok;
        prompter.message(prompt);
        return ErrorOutcome::Fatal;
    }
}

StepResult RunFileStep(Prompter& prompter, std::string_view routineName, std::string_view path,
                       int maxRetries, const std::function<FileError()>& step) {
    for (int attempt = 0;; ++attempt) {
        FileError error = step();
        if (error.ok())
            return {true, ErrorOutcome::GoOn};
        ErrorOutcome outcome = HandleFileError(prompter, routineName, error, path);
        if (outcome != ErrorOutcome::Retry || attempt >= maxRetries)
            return {false, outcome};
    }
}

void ReportStoreProblem(const RegistryStore& store, const RegError& error, Prompter& prompter) {
    const RegError& shown = store.problem().ok() ? error : store.problem();
    if (!shown.ok())
        ShowStoreMessage(shown, prompter);
}

void ShowStoreNotices(RegistryStore& store, Prompter& prompter) {
    store.setNoticeHandler(
        [&prompter](const RegError& notice) { ShowStoreMessage(notice, prompter); });
}

} // namespace veltrana
