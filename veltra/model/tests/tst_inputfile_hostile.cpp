#include "HostileFiles.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using InputFileHostileTest = TempDirTest;

// The reader in a child: its outcome, then the text and title of each message.
std::string ReadInChild(const std::string& name, const std::string& directory) {
    ScriptedPrompter prompter;
    DesignProblem problem;
    const ReadOutcome outcome = FileReadMe(name, directory, problem, prompter);
    std::string text = std::to_string(static_cast<int>(outcome));
    for (const Prompt& p : prompter.prompts)
        text += "|" + p.text + "|" + p.title;
    return text;
}

class InputFileHostileCase : public InputFileHostileTest,
                             public ::testing::WithParamInterface<HostileCase> {};

// Whatever stands where an input file should be, the reader ends at once with one message
// and leaves the problem as it was.
TEST_P(InputFileHostileCase, WhatIsNoInputFileEndsInOneMessage) {
    const auto& [kind, name, id] = GetParam();
    const auto code = [](ReadOutcome o) { return std::to_string(static_cast<int>(o)); };
    const std::string unreadable = code(ReadOutcome::Unreadable) + "|Unexpected error # ";
    const std::string missing = code(ReadOutcome::Missing) + "|Missing '";
    if (!MakeHostile(kind, in(id)))
        GTEST_SKIP() << kSkipped;
    const ChildOutcome run = RunInChild([&] { return ReadInChild(id, m_dir.string()); });
    EXPECT_TRUE(run.finished) << "no answer within the deadline";
    // A directory, or a loop of links, is no file at all to the reader.
    const bool noFile = kind == Hostile::Directory || kind == Hostile::LinkLoop;
    EXPECT_EQ(run.text.substr(0, (noFile ? missing : unreadable).size()),
              noFile ? missing : unreadable)
        << run.text;
    const std::string said = kind == Hostile::Sparse1G ? "is larger than 4 MB"
                             : noFile                  ? "file?| File not found."
                                                       : RefusalText(kind);
    EXPECT_NE(run.text.find(said), std::string::npos) << run.text;
    EXPECT_LT(run.grownKb, 16 << 10);
}
INSTANTIATE_TEST_SUITE_P(Hostile, InputFileHostileCase, ::testing::ValuesIn(kHostileCases), CaseId);

TEST_F(InputFileHostileTest, AnInputFileSwappedWithAPipeIsReadWholeOrRefused) {
    PathSwapper swapper(in("Filter.1"), FileText(VELTRANA_TEST_DATA "/Filter.1"));
    const ChildOutcome run = RunInChild([&] {
        return TallyReads([&] {
            ScriptedPrompter prompter;
            DesignProblem problem;
            switch (FileReadMe("Filter.1", m_dir.string(), problem, prompter)) {
            case ReadOutcome::Read:
                return problem.Answers[0] == "Y" && prompter.prompts.empty() ? Verdict::Whole
                                                                             : Verdict::Other;
            case ReadOutcome::Unreadable:
                return prompter.prompts.size() == 1 ? Verdict::Refused : Verdict::Other;
            default:
                return Verdict::Other;
            }
        });
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(ParseTally(run.text).other, 0) << run.text;
}

} // namespace
