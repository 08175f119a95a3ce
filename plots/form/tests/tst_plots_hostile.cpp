#include "HostileFiles.h"
#include "PlotsFormFixture.h"
#include "PromptTitles.h"

#include <QPushButton>

using namespace veltrana;
using namespace veltrana::test;

namespace {

class PlotsHostileCase : public HostileCaseTest<PlotsFormFixture> {};

// Open Plot File on what is no result file: one message saying what it is, at once, and the
// window goes on without a file.
TEST_P(PlotsHostileCase, OpenPlotFileOnWhatIsNoResultFileSaysWhatItIs) {
    ASSERT_TRUE(startForm());
    prompter.prompts.clear();
    prompter.answerFile(FileDialogAnswer{path(), 1});
    {
        const Deadline deadline(std::string("Open Plot File on ") + GetParam().name);
        form->FileOld();
    }
    ASSERT_EQ(PromptTitles(prompter), std::vector<std::string>{"In 'FileOld' routine ..."});
    expectRefusal(prompter.prompts[0].text);
    EXPECT_EQ(form->dataFile(), "");
    EXPECT_FALSE(control<QPushButton>("cmdRun")->isEnabled());
}
INSTANTIATE_HOSTILE_CASES(PlotsHostileCase);

} // namespace
