#include "HostileFiles.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"

using namespace veltrana;
using namespace veltrana::test;

namespace {

using InputFileHostileTest = TempDirTest;
class InputFileHostileCase : public HostileCaseTest<> {};

// Whatever stands where an input file should be, the reader ends at once with one message:
// a directory, or a loop of links, is no file at all to it.
TEST_P(InputFileHostileCase, WhatIsNoInputFileEndsInOneMessage) {
    const std::string said = readInChild([this](const std::string&) {
        ScriptedPrompter prompter;
        DesignProblem problem;
        const ReadOutcome read = FileReadMe(GetParam().id, m_dir.string(), problem, prompter);
        const Prompt first = prompter.prompts.empty() ? Prompt{} : prompter.prompts[0];
        return std::to_string(static_cast<int>(read)) + std::to_string(prompter.prompts.size()) +
               first.text + "|" + first.title;
    });
    const bool noFile = kind() == Hostile::Directory || kind() == Hostile::LinkLoop;
    const ReadOutcome outcome = noFile ? ReadOutcome::Missing : ReadOutcome::Unreadable;
    EXPECT_TRUE(said.starts_with(std::to_string(static_cast<int>(outcome)) + "1")) << said;
    EXPECT_NE(said.find(noFile                        ? "| File not found."
                        : kind() == Hostile::Sparse1G ? "is larger than 4 MB"
                                                      : RefusalText(kind())),
              std::string::npos)
        << said;
}
INSTANTIATE_HOSTILE_CASES(InputFileHostileCase);

TEST_F(InputFileHostileTest, AnInputFileSwappedWithAPipeIsReadWholeOrRefused) {
    ExpectWholeOrRefusedWhileSwapped(in("Filter.1"), FileText(VELTRANA_TEST_DATA "/Filter.1"), [&] {
        ScriptedPrompter prompter;
        DesignProblem problem;
        const ReadOutcome read = FileReadMe("Filter.1", m_dir.string(), problem, prompter);
        return SwapRead{read == ReadOutcome::Read && problem.Answers[0] == "Y" &&
                            prompter.prompts.empty(),
                        read == ReadOutcome::Unreadable && prompter.prompts.size() == 1};
    });
}

} // namespace
