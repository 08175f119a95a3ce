// File > Import Data ... on the real shell, through the real import dialog.
#include "FileBytes.h"
#include "ImportDialog.h"
#include "ShellTest.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>

#include <array>

using namespace veltrana;

namespace {

using Rows = std::vector<std::array<std::string, 3>>;
const std::string kReaderData =
    std::string(VELTRANA_TEST_DATA) + "/../../../../import/readers/tests/data/";

class ImportTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(newShell().start());
    }
    // File > Import Data ... on `path` (none: the file dialog is cancelled), `button` pressed
    // in the import dialog, which must come up unless there is none.
    void import(const std::optional<std::string>& path, const char* button) {
        prompter.answerFile(path ? std::optional(FileDialogAnswer{*path, 1}) : std::nullopt);
        bool pressed = false;
        if (button)
            test::WhenModal([&](QWidget* modal) {
                ASSERT_NE(qobject_cast<ImportDialog*>(modal), nullptr);
                modal->findChild<QPushButton*>(button)->click();
                pressed = true;
            });
        shell->form().findChild<QAction*>("mnuFileImport")->trigger();
        EXPECT_EQ(pressed, button != nullptr);
    }
    // The pass band grid's Frequency, Yin and Yout cells.
    Rows passBand() {
        const auto* grid = shell->form().findChild<QTableWidget*>("PassData");
        Rows rows;
        for (int r = 0; r < grid->rowCount() && grid->item(r, 0); ++r)
            rows.push_back({grid->item(r, 0)->text().toStdString(),
                            grid->item(r, 1)->text().toStdString(),
                            grid->item(r, 2)->text().toStdString()});
        return rows;
    }
};

// An import fills the pass band with the magnitudes in the file, in MHz, and marks the data
// changed; one that does not complete changes nothing, a refused file saying why.
TEST_F(ImportTest, TheImportFillsThePassBandOrChangesNothing) {
    ASSERT_EQ(ReplaceFileBytes(in("bad.s1p"), "# MHz S RI\n1 .5 0\n2 .5\n", 0644), 0);
    // the file chosen, the button pressed in the import dialog, a part of the message, the
    // pass band afterwards (none: as it was)
    const std::tuple<std::optional<std::string>, const char*, const char*, Rows> cases[] = {
        {std::nullopt, nullptr, "", {}},
        {in("bad.s1p"), nullptr, "Line 3: the last point holds 2 of the 3 numbers", {}},
        {in("none.s1p"), nullptr, "cannot be read", {}},
        {kReaderData + "one_port.s1p", "cmdCancel", "", {}},
        // RI in Hz, comments between the points, "+" signs, a point at 0 Hz left out:
        // |.6+.8j| = 1, |.3-.4j| = .5, |.05+.12j| = .13.
        {kReaderData + "filter_ri.s2p",
         "cmdOK",
         "",
         {{"100", "1", "1"}, {"200", "1", ".5"}, {"300", "1", ".13"}}},
        // MA in GHz, the extension in upper case: the magnitudes as written.
        {kReaderData + "filter_ma.S2P", "cmdOK", "", {{"100", "1", ".5"}, {"200", "1", ".25"}}},
        // Version 2.0 in the order 12_21.
        {kReaderData + "filter_v2.s2p", "cmdOK", "", {{"100", "1", "1"}, {"200", "1", ".5"}}},
    };
    for (const auto& [path, button, says, rows] : cases) {
        SCOPED_TRACE(path.value_or("none"));
        ASSERT_TRUE(newShell().start());
        reset();
        const Rows before = passBand();
        const DesignProblem problem = shell->problem();
        import(path, button);
        EXPECT_EQ(prompter.dialogs.at(0).initialDir, user.string());
        EXPECT_EQ(passBand(), rows.empty() ? before : rows);
        EXPECT_EQ(shell->state().dataChanged, !rows.empty());
        EXPECT_TRUE(!rows.empty() || shell->problem() == problem);
        EXPECT_EQ(shell->problem().nFreqPoints,
                  rows.empty() ? problem.nFreqPoints : static_cast<int>(rows.size()));
        EXPECT_EQ(shell->problem().nDelayPoints, problem.nDelayPoints); // no delay asked for
        ASSERT_EQ(titles(), *says ? Texts{"Import Data"} : Texts{});
        EXPECT_NE((*says ? prompter.prompts[0].text : "").find(says), std::string::npos);
    }
}

} // namespace
