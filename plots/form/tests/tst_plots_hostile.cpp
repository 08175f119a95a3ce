#include "HostileFiles.h"
#include "PlotsFormFixture.h"
#include "PromptTitles.h"

#include <gtest/gtest.h>

#include <QPushButton>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using PlotsHostileTest = PlotsFormFixture;

class PlotsHostileCase : public PlotsHostileTest,
                         public ::testing::WithParamInterface<HostileCase> {};

// Open Plot File on what is no result file: one message saying what it is, at once, and the
// window goes on without a file.
TEST_P(PlotsHostileCase, OpenPlotFileOnWhatIsNoResultFileSaysWhatItIs) {
    const auto& [kind, name, id] = GetParam();
    ASSERT_TRUE(startForm());
    const std::string path = in(id);
    if (!MakeHostile(kind, path))
        GTEST_SKIP() << kSkipped;
    prompter.prompts.clear();
    prompter.answerFile(FileDialogAnswer{path, 1});
    {
        const Deadline deadline(std::string("Open Plot File on ") + name);
        form->FileOld();
    }
    EXPECT_EQ(PromptTitles(prompter), std::vector<std::string>{"In 'FileOld' routine ..."});
    if (!prompter.prompts.empty()) {
        EXPECT_NE(prompter.prompts[0].text.find(RefusalText(kind)), std::string::npos)
            << prompter.prompts[0].text;
    }
    EXPECT_EQ(form->dataFile(), "");
    EXPECT_FALSE(control<QPushButton>("cmdRun")->isEnabled());
}
INSTANTIATE_TEST_SUITE_P(Hostile, PlotsHostileCase, ::testing::ValuesIn(kHostileCases), CaseId);

} // namespace
