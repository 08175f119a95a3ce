// File > Import Data ...: the command on a stand-in form and choice dialog, and the real dialog
// on the real shell.
#include "FakeForm.h"
#include "FileBytes.h"
#include "ImportCommand.h"
#include "ImportDialog.h"
#include "ShellTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTableWidget>

#include <array>

using namespace veltrana;

namespace {

using Rows = std::vector<std::array<std::string, 3>>;

class ImportTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        state.currentDir = m_dir.string();
        problem.Freq = problem.Yin = problem.Yout = problem.Weight = {"", "1"};
        problem.nFreqPoints = 1;
        ASSERT_EQ(
            ReplaceFileBytes(in("sweep.s1p"), "# MHz S RI\n0 1 0\n5 .6 .8\n10 .3 -.4\n", 0644), 0);
    }
    void chooseFile(const std::string& name) { prompter.answerFile(FileDialogAnswer{in(name), 1}); }
    // File > Import Data ... on the real shell with `file` of the readers' test data, Import
    // pressed in the dialog as it comes up. The grid's Frequency, Yin and Yout cells afterwards.
    Rows importIntoTheForm(const char* file) {
        prompter.answerFile(FileDialogAnswer{
            std::string(VELTRANA_TEST_DATA) + "/../../../../import/readers/tests/data/" + file, 1});
        bool pressed = false;
        test::WhenModal([&](QWidget* modal) {
            ASSERT_NE(qobject_cast<ImportDialog*>(modal), nullptr);
            modal->findChild<QPushButton*>("cmdOK")->click();
            pressed = true;
        });
        shell->form().findChild<QAction*>("mnuFileImport")->trigger();
        EXPECT_TRUE(pressed) << "no import dialog came up";
        const auto* grid = shell->form().findChild<QTableWidget*>("PassData");
        Rows rows;
        for (int r = 0; r < grid->rowCount() && grid->item(r, 0); ++r)
            rows.push_back({grid->item(r, 0)->text().toStdString(),
                            grid->item(r, 1)->text().toStdString(),
                            grid->item(r, 2)->text().toStdString()});
        return rows;
    }

    ShellState state;
    DesignProblem problem;
    FakeForm form{state};
    std::optional<ImportChoices> answer = ImportChoices{};
    int asked = 0;
    ImportCommand command{state, problem, form, prompter, [this](const MeasuredFile&) {
                              ++asked;
                              return answer;
                          }};
};

TEST_F(ImportTest, NothingChangesUnlessTheImportCompletes) {
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
        EXPECT_EQ(form.shown, 0);
        EXPECT_FALSE(state.dataChanged);
        EXPECT_EQ(asked, asks);
        if (*says == '\0') {
            EXPECT_TRUE(prompter.prompts.empty());
            continue;
        }
        ASSERT_EQ(titles(), std::vector<std::string>{"Import Data"});
        EXPECT_NE(prompter.prompts[0].text.find(says), std::string::npos)
            << prompter.prompts[0].text;
    }
    EXPECT_EQ(prompter.dialogs.at(0).initialDir, m_dir.string());
}

TEST_F(ImportTest, EachFormatFillsThePassBandWithTheHandWorkedMagnitudes) {
    const std::pair<const char*, Rows> cases[] = {
        // RI in Hz, comments between the points, "+" signs, a point at 0 Hz left out:
        // |.6+.8j| = 1, |.3-.4j| = .5, |.05+.12j| = .13.
        {"filter_ri.s2p", {{"100", "1", "1"}, {"200", "1", ".5"}, {"300", "1", ".13"}}},
        // MA in GHz, the extension in upper case: the magnitudes as written.
        {"filter_ma.S2P", {{"100", "1", ".5"}, {"200", "1", ".25"}}},
        // DB: 10^(0/20) = 1, 10^(-20/20) = .1, 10^(-40/20) = .01.
        {"filter_db.s2p", {{"100", "1", "1"}, {"200", "1", ".1"}, {"300", "1", ".01"}}},
        // Version 2.0 in the order 12_21.
        {"filter_v2.s2p", {{"100", "1", "1"}, {"200", "1", ".5"}}},
    };
    for (const auto& [file, rows] : cases) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(newShell().start());
        shell->state().dataChanged = false;
        const int delayPoints = shell->problem().nDelayPoints;
        EXPECT_EQ(importIntoTheForm(file), rows);
        EXPECT_TRUE(shell->state().dataChanged);
        EXPECT_EQ(shell->problem().nFreqPoints, static_cast<int>(rows.size()));
        EXPECT_EQ(shell->problem().nDelayPoints, delayPoints); // no delay asked for
    }
    EXPECT_TRUE(prompter.prompts.empty());
}

} // namespace
