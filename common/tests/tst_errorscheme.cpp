#include "ErrorScheme.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

using namespace veltrana;

namespace {

TEST(ErrorScheme, ErrnoMapsOntoTheSchemeNumbers) {
    // clang-format off
    const std::pair<int, int> rows[] = {{0, 0}, {ENOMEDIUM, 71}, {ENODEV, 68}, {ENXIO, 68},
        {EACCES, EACCES}, {EPROTO, EIO}, {EADV, EIO}}; // 71 and 68 as errno ask for no disk
    // clang-format on
    for (const auto& [err, number] : rows) {
        EXPECT_EQ(FileErrorFromErrno(err).number, number) << err;
        EXPECT_EQ(FileErrorFromErrno(err).description, err ? std::strerror(err) : "") << err;
    }
}

TEST(ErrorScheme, EachErrorShowsItsPromptAndSaysHowToGoOn) {
    struct Row {
        const char* label;
        FileError error;
        PromptAnswer answer;
        std::optional<Prompt> prompt;
        ErrorOutcome outcome;
    };
    const std::string title = "In 'FileOld' routine ...";
    const std::string disk = "Put a floppy disk in the drive and cloce the drive door.";
    const Row rows[] = {
        {"no medium, OK",
         {71, "No medium found"},
         PromptAnswer::Ok,
         Prompt{disk, title, PromptIcon::Exclamation, PromptButtons::OkCancel},
         ErrorOutcome::Retry},
        {"no medium, Cancel",
         {71, "No medium found"},
         PromptAnswer::Cancel,
         Prompt{disk, title, PromptIcon::Exclamation, PromptButtons::OkCancel},
         ErrorOutcome::GoOn},
        {"device missing",
         {68, "No such device"},
         PromptAnswer::Ok,
         Prompt{"This drive or path does not exist: /media/usb/run.dat", title,
                PromptIcon::Exclamation, PromptButtons::Ok},
         ErrorOutcome::Retry},
        {"dialog cancelled",
         {32755, "Cancel was selected"},
         PromptAnswer::Ok,
         std::nullopt,
         ErrorOutcome::Silent},
        {"other",
         {13, "Permission denied"},
         PromptAnswer::Ok,
         Prompt{"Unexpected error #13 occured: Permission denied", title, PromptIcon::Critical,
                PromptButtons::Ok},
         ErrorOutcome::Fatal},
    };
    for (const auto& row : rows) {
        ScriptedPrompter prompter;
        prompter.answer(row.answer);
        EXPECT_EQ(HandleFileError(prompter, "FileOld", row.error, "/media/usb/run.dat"),
                  row.outcome)
            << row.label;
        if (row.prompt) {
            ASSERT_EQ(prompter.prompts.size(), 1u) << row.label;
            EXPECT_EQ(prompter.prompts[0], *row.prompt) << row.label;
        } else {
            EXPECT_TRUE(prompter.prompts.empty()) << row.label;
        }
    }
}

TEST(ErrorScheme, RetriesAreBoundedAndEndWhenTheHandlingSaysSo) {
    const FileError noMedium{71, "No medium found"};
    struct Row {
        const char* label;
        FileError error;
        int failures; // the step fails this many times, then succeeds
        PromptAnswer answer;
        StepResult expected;
        int calls;
    };
    const Row rows[] = {
        {"device stays missing",
         {68, "No such device"},
         99,
         PromptAnswer::Ok,
         {false, ErrorOutcome::Retry},
         4},
        {"disk put in", noMedium, 1, PromptAnswer::Ok, {true, ErrorOutcome::GoOn}, 2},
        {"disk refused", noMedium, 1, PromptAnswer::Cancel, {false, ErrorOutcome::GoOn}, 1},
        {"dialog cancelled",
         DialogCancelledError(),
         1,
         PromptAnswer::Ok,
         {false, ErrorOutcome::Silent},
         1},
        {"unexpected",
         {5, "Input/output error"},
         1,
         PromptAnswer::Ok,
         {false, ErrorOutcome::Fatal},
         1},
    };
    for (const auto& row : rows) {
        ScriptedPrompter prompter;
        prompter.fallbackAnswer = row.answer;
        int calls = 0;
        StepResult r = RunFileStep(prompter, "FileSaveAs", "/x", 3, [&] {
            return ++calls <= row.failures ? row.error : FileError{};
        });
        EXPECT_EQ(r.done, row.expected.done) << row.label;
        EXPECT_EQ(r.outcome, row.expected.outcome) << row.label;
        EXPECT_EQ(calls, row.calls) << row.label;
    }
}

} // namespace
