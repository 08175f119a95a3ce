#include "ErrorScheme.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <tuple>

using namespace veltrana;

namespace {

using Answer = PromptAnswer;
using Outcome = ErrorOutcome;

TEST(ErrorScheme, ErrnoMapsOntoTheSchemeNumbers) {
    // 71 and 68 as errno ask for no disk
    const std::pair<int, int> rows[] = {
        {0, 0}, {ENOMEDIUM, 71}, {ENXIO, 68}, {EACCES, EACCES}, {EPROTO, EIO}};
    for (const auto& [err, number] : rows)
        EXPECT_EQ(FileErrorFromErrno(err), (FileError{number, err ? std::strerror(err) : ""}))
            << err;
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
    // label, error, failures before the step succeeds, answer, prompt shown (how many times),
    // done, outcome, calls of the step
    using Row =
        std::tuple<const char*, FileError, int, Answer, Prompt, std::size_t, bool, Outcome, int>;
    // clang-format off
    const Row rows[] = {
        {"disk put in", {71, "No medium found"}, 1, Answer::Ok, disk, 1, true, Outcome::GoOn, 2},
        {"disk refused", {71, "No medium found"}, 1, Answer::Cancel, disk, 1, false, Outcome::GoOn, 1},
        {"device stays missing", {68, "No such device"}, 99, Answer::Ok, device, 4, false, Outcome::Retry, 4},
        {"dialog cancelled", DialogCancelledError(), 1, Answer::Ok, Prompt{}, 0, false, Outcome::Silent, 1},
        {"unexpected", {13, "Permission denied"}, 1, Answer::Ok, other, 1, false, Outcome::Fatal, 1},
    };
    // clang-format on
    for (const auto& [label, error, failures, answer, prompt, shown, done, outcome, calls] : rows) {
        SCOPED_TRACE(label);
        ScriptedPrompter prompter;
        prompter.fallbackAnswer = answer;
        int called = 0;
        StepResult r = RunFileStep(prompter, "FileOld", "/media/usb/run.dat", 3,
                                   [&] { return ++called <= failures ? error : FileError{}; });
        EXPECT_EQ(std::tie(r.done, r.outcome, called), std::tie(done, outcome, calls));
        EXPECT_EQ(prompter.prompts, std::vector<Prompt>(shown, prompt));
    }
}

} // namespace
