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

TEST(ErrorScheme, ErrnoMapsOntoTheSchemeNumbers) {
    // 71 and 68 as errno ask for no disk
    const std::pair<int, int> rows[] = {
        {0, 0}, {ENOMEDIUM, 71}, {ENXIO, 68}, {EACCES, EACCES}, {EPROTO, EIO}};
    for (const auto& [err, number] : rows) {
        EXPECT_EQ(FileErrorFromErrno(err).number, number) << err;
        EXPECT_EQ(FileErrorFromErrno(err).description, err ? std::strerror(err) : "") << err;
    }
}

// Each error under the scheme: what the user sees, and how the step ends (a retry shows as a
// second call of the step).
TEST(ErrorScheme, EachErrorShowsItsPromptAndTheStepGoesOnAsTheAnswerSays) {
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
        int failures; // the step fails this many times, then succeeds
        Answer answer;
        std::optional<Prompt> prompt;
        std::size_t shown;
        bool done;
        Outcome outcome;
        int calls;
    };
    // clang-format off
    const Row rows[] = {
        {"disk put in", {71, "No medium found"}, 1, Answer::Ok, disk, 1, true, Outcome::GoOn, 2},
        {"disk refused", {71, "No medium found"}, 1, Answer::Cancel, disk, 1, false, Outcome::GoOn, 1},
        {"device stays missing", {68, "No such device"}, 99, Answer::Ok, device, 4, false, Outcome::Retry, 4},
        {"dialog cancelled", DialogCancelledError(), 1, Answer::Ok, std::nullopt, 0, false, Outcome::Silent, 1},
        {"unexpected", {13, "Permission denied"}, 1, Answer::Ok, other, 1, false, Outcome::Fatal, 1},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ScriptedPrompter prompter;
        prompter.fallbackAnswer = row.answer;
        int calls = 0;
        StepResult r = RunFileStep(prompter, "FileOld", "/media/usb/run.dat", 3, [&] {
            return ++calls <= row.failures ? row.error : FileError{};
        });
        EXPECT_EQ(r.done, row.done);
        EXPECT_EQ(r.outcome, row.outcome);
        EXPECT_EQ(calls, row.calls);
        ASSERT_EQ(prompter.prompts.size(), row.shown);
        if (row.prompt) {
            EXPECT_EQ(prompter.prompts[0], *row.prompt);
        }
    }
}

} // namespace
