#include "ExportCommand.h"
#include "PlotFileRoutines.h"
#include "PlotsFormFixture.h"

#include "FileBytes.h"

#include <QAction>

#include <cerrno>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

class ExportCommandTest : public test::PlotsFormFixture {
protected:
    bool exportAs(const std::string& name, int filter) {
        prompter.answerFile(FileDialogAnswer{in(name), filter});
        return form->findChild<ExportCommand*>()->Export();
    }
    std::string said() {
        return prompter.prompts.empty() ? std::string() : prompter.prompts.back().text;
    }
};

TEST_F(ExportCommandTest, FileMenuExportsTheConstellationAndTheShownPlot) {
    ASSERT_TRUE(startForm("model_m2.dat")); // the map of poles and zeros is shown
    ASSERT_NE(form->findChild<QAction*>("mnuFileExport"), nullptr);

    ASSERT_TRUE(exportAs("fit.csv", 1));
    const std::string csv = Contents(in("fit.csv"));
    EXPECT_TRUE(csv.starts_with("element,number,real,imaginary,real MHz,imaginary MHz,f0 MHz,Q\r\n"
                                "pole sigma axis,1,-0.34999999999999998,0,,,,\r\n"))
        << csv;
    ASSERT_EQ(prompter.dialogs.size(), 1u);
    EXPECT_EQ(prompter.dialogs[0].filterIndex, 1); // the map has no curves of its own
    EXPECT_EQ(prompter.dialogs[0].fileName, "model_m2");

    // A name without its extension gets the one of the kind chosen.
    ASSERT_TRUE(exportAs("fit", 2));
    EXPECT_TRUE(
        Contents(in("fit.json")).starts_with("{\n  \"title\": \"Matched filter for 5 MHz "));

    EXPECT_FALSE(exportAs("map.csv", 3));
    EXPECT_EQ(said(),
              "The map of poles and zeros has no curves: export the constellation instead.");

    form->Next(); // the error amplitude
    ASSERT_TRUE(exportAs("error.csv", 3));
    EXPECT_EQ(prompter.dialogs.back().filterIndex, 3);
    EXPECT_TRUE(
        Contents(in("error.csv"))
            .starts_with(
                "Frequency (MHz),Error amplitude\r\n0.10000000000000001,0.90000000000000002\r\n"));

    // An existing file is replaced only after a Yes.
    prompter.answer(PromptAnswer::No);
    EXPECT_FALSE(exportAs("fit.csv", 3));
    EXPECT_EQ(prompter.prompts.back(), ReplaceQuestion(in("fit.csv")));
    EXPECT_EQ(Contents(in("fit.csv")), csv);
}

TEST_F(ExportCommandTest, ConstellationNeedsAFilterAndExportNeedsAFile) {
    ASSERT_TRUE(startForm("model1.dat"));
    EXPECT_FALSE(exportAs("fit.csv", 1));
    EXPECT_EQ(said(), "The result file holds no filter (model 1): only the data of the plot shown "
                      "can be exported.");
    ASSERT_TRUE(exportAs("plot.csv", 3));
    EXPECT_TRUE(Contents(in("plot.csv")).starts_with("Time,Error amplitude\r\n"));

    form->resultFile().Close();
    prompter.prompts.clear();
    EXPECT_FALSE(form->findChild<ExportCommand*>()->Export());
    EXPECT_EQ(said(), "No result file is read: open one with Open Plot File ... first.");
}

TEST_F(ExportCommandTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
    ASSERT_TRUE(startForm("model_m2.dat"));
    ASSERT_EQ(ReplaceFileBytes(in("fit.csv"), "old", 0644), 0);
    const SaveFaultHook previous =
        SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write ? ENOSPC : 0; });
    prompter.answer(PromptAnswer::Yes);             // replace it
    prompter.fallbackAnswer = PromptAnswer::Cancel; // and give up after the failure
    EXPECT_FALSE(exportAs("fit.csv", 1));
    SetSaveFaultHook(previous);
    EXPECT_EQ(Contents(in("fit.csv")), "old");
    ASSERT_GE(prompter.prompts.size(), 2u);
    EXPECT_EQ(prompter.prompts[1].title, "In 'Export' routine ...");
}

} // namespace
