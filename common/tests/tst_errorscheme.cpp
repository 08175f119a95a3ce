#include "ErrorScheme.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace veltrana;

namespace {

using Answer = PromptAnswer;
using Outcome = ErrorOutcome;

const FileError kNoMedium{71, "No medium found"};
const FileError kNoDevice{68, "No such device"};

TEST(ErrorScheme, ErrnoMapsOntoTheSchemeNumbers) {
    // 71 and 68 as errno ask for no disk
    const std::pair<int, int> rows[] = {
        {0, 0}, {ENOMEDIUM, 71}, {ENXIO, 68}, {EACCES, EACCES}, {EPROTO, EIO}};
    for (const auto& [err, number] : rows) {
        EXPECT_EQ(FileErrorFromErrno(err).number, number) << err;
        EXPECT_EQ(FileErrorFromErrno(err).description, err ? std::strerror(err) : "") << err;
    }
}

TEST(ErrorScheme, EachErrorShowsItsPromptAndSaysHowToGoOn) {
    const std::string title = "In 'FileOld' routine ...";
    const Prompt disk{"Put a floppy disk in the drive and cloce the drive door.", title,
                      PromptIcon::Exclamation, PromptButtons::OkCancel};
    const Prompt device{"This drive or path does not exist: /media/usb/run.dat", title,
                        PromptIcon::Exclamation, PromptButtons::Ok};
    const Prompt other{"Unexpected error #13 occured: Permission denied", title,
                       PromptIcon::Critical, PromptButtons::Ok};
    struct Row {
        const char* label;
        FileError error;
        Answer answer;
        std::optional<Prompt> prompt;
        Outcome outcome;
    };
    const Row rows[] = {
        {"no medium, OK", kNoMedium, Answer::Ok, disk, Outcome::Retry},
        {"no medium, Cancel", kNoMedium, Answer::Cancel, disk, Outcome::GoOn},
        {"device missing", kNoDevice, Answer::Ok, device, Outcome::Retry},
        {"dialog cancelled", DialogCancelledError(), Answer::Ok, std::nullopt, Outcome::Silent},
        {"other", {13, "Permission denied"}, Answer::Ok, other, Outcome::Fatal},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ScriptedPrompter prompter;
        prompter.answer(row.answer);
        EXPECT_EQ(HandleFileError(prompter, "FileOld", row.error, "/media/usb/run.dat"),
                  row.outcome);
        EXPECT_EQ(prompter.prompts,
                  row.prompt ? std::vector<Prompt>{*row.prompt} : std::vector<Prompt>{});
    }
}

TEST(ErrorScheme, RetriesAreBoundedAndEndWhenTheHandlingSaysSo) {
    struct Row {
        const char* label;
        FileError error;
        int failures; // the step fails this many times, then succeeds
        Answer answer;
        bool done;
        Outcome outcome;
        int calls;
    };
    const Row rows[] = {
        {"device stays missing", kNoDevice, 99, Answer::Ok, false, Outcome::Retry, 4},
        {"disk put in", kNoMedium, 1, Answer::Ok, true, Outcome::GoOn, 2},
        {"disk refused", kNoMedium, 1, Answer::Cancel, false, Outcome::GoOn, 1},
        {"dialog cancelled", DialogCancelledError(), 1, Answer::Ok, false, Outcome::Silent, 1},
        {"unexpected", {5, "Input/output error"}, 1, Answer::Ok, false, Outcome::Fatal, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ScriptedPrompter prompter;
        prompter.fallbackAnswer = row.answer;
        int calls = 0;
        StepResult r = RunFileStep(prompter, "FileSaveAs", "/x", 3, [&] {
            return ++calls <= row.failures ? row.error : FileError{};
        });
        EXPECT_EQ(r.done, row.done);
        EXPECT_EQ(r.outcome, row.outcome);
        EXPECT_EQ(calls, row.calls);
    }
}

} // namespace
