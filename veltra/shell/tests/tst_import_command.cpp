#include "FakeForm.h"
#include "FileBytes.h"
#include "ImportCommand.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class ImportCommandTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        state.currentDir = m_dir.string();
        problem.Freq = problem.Yin = problem.Yout = problem.Weight = {"", "1"};
        problem.nFreqPoints = 1;
        problem.DelFreq = problem.TX = {"", "2"};
        problem.nDelayPoints = 1;
        ASSERT_EQ(
            ReplaceFileBytes(in("sweep.s1p"), "# MHz S RI\n0 1 0\n5 .6 .8\n10 .3 -.4\n", 0644), 0);
    }
    void chooseFile(const std::string& name) { prompter.answerFile(FileDialogAnswer{in(name), 1}); }

    ShellState state;
    DesignProblem problem;
    FakeForm form{state};
    ScriptedPrompter prompter;
    std::optional<ImportChoices> answer = ImportChoices{};
    int asked = 0;
    ImportCommand command{state, problem, form, prompter, [this](const MeasuredFile&) {
                              ++asked;
                              return answer;
                          }};
};

TEST_F(ImportCommandTest, ImportedRowsReplaceThePassBandAndMarkTheProblemChanged) {
    chooseFile("sweep.s1p");
    ASSERT_TRUE(command.ImportData());
    // |.6+.8j| = 1, |.3-.4j| = .5; the 0 Hz point is left out.
    EXPECT_EQ(problem.Freq, (std::vector<std::string>{"", "5", "10"}));
    EXPECT_EQ(problem.Yout, (std::vector<std::string>{"", "1", ".5"}));
    EXPECT_EQ(problem.Yin, (std::vector<std::string>{"", "1", "1"}));
    EXPECT_EQ(problem.nDelayPoints, 1); // no delay asked for
    EXPECT_EQ(form.calls, "Put;Get;");
    EXPECT_TRUE(state.dataChanged);
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].title, "Import Measured Data");
    EXPECT_EQ(prompter.dialogs[0].initialDir, m_dir.string());
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(ImportCommandTest, NothingChangesUnlessTheImportCompletes) {
    ASSERT_EQ(ReplaceFileBytes(in("bad.s1p"), "# MHz S RI\n1 .5 0\n2 .5\n", 0644), 0);
    const DesignProblem before = problem;
    ImportChoices outOfRange;
    outOfRange.range.fromMHz = 100;
    const std::tuple<const char*, std::function<void()>, int, const char*> cases[] = {
        {"file dialog cancelled", [&] { prompter.answerFile(std::nullopt); }, 0, ""},
        {"file that does not read", [&] { chooseFile("bad.s1p"); }, 0,
         "Line 3: the last point holds 2 of the 3 numbers"},
        {"missing file", [&] { chooseFile("none.s1p"); }, 0, "cannot be read"},
        {"choices cancelled",
         [&] {
             chooseFile("sweep.s1p");
             answer.reset();
         },
         1, ""},
        {"no point in range",
         [&] {
             chooseFile("sweep.s1p");
             answer = outOfRange;
         },
         1, "No point above 0 MHz lies in the range chosen."},
    };
    for (const auto& [name, prepare, asks, says] : cases) {
        SCOPED_TRACE(name);
        prompter.prompts.clear();
        asked = 0;
        prepare();
        EXPECT_FALSE(command.ImportData());
        EXPECT_EQ(problem, before);
        EXPECT_EQ(form.calls, "");
        EXPECT_FALSE(state.dataChanged);
        EXPECT_EQ(asked, asks);
        if (*says == '\0') {
            EXPECT_TRUE(prompter.prompts.empty());
            continue;
        }
        ASSERT_EQ(prompter.prompts.size(), 1u);
        EXPECT_EQ(prompter.prompts[0].title, "Import Data");
        EXPECT_NE(prompter.prompts[0].text.find(says), std::string::npos)
            << prompter.prompts[0].text;
    }
}

} // namespace
