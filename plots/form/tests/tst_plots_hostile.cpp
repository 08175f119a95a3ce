#include "HostileFiles.h"
#include "PlotsFormFixture.h"
#include "PromptTitles.h"

#include <gtest/gtest.h>

#include <QPushButton>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using PlotsHostileTest = PlotsFormFixture;

// Open Plot File on what is no result file: one message saying what it is, at once, and the
// window goes on without a file.
TEST_F(PlotsHostileTest, OpenPlotFileOnWhatIsNoResultFileSaysWhatItIs) {
    ASSERT_TRUE(startForm());
    std::string skipped;
    for (const auto& [kind, name] : kHostileCases) {
        SCOPED_TRACE(name);
        const std::string path = in(name);
        if (!MakeHostile(kind, path)) {
            skipped = SkippedRow(name);
            continue;
        }
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
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
}

} // namespace
