#include "ImportDialog.h"
#include "ShellTest.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <array>

using namespace veltrana;

namespace {

using Rows = std::vector<std::array<std::string, 3>>;

class ImportThroughTheDialog : public test::ShellTest {
protected:
    // File > Import Data ... on `file` of the readers' test data, with Import pressed in the
    // dialog as it comes up. The grid's Frequency, Yin and Yout cells afterwards.
    Rows import(const char* file) {
        prompter.answerFile(FileDialogAnswer{
            std::string(VELTRANA_TEST_DATA) + "/../../../../import/readers/tests/data/" + file, 1});
        bool pressed = false;
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget())) {
                dialog->findChild<QPushButton*>("cmdOK")->click();
                pressed = true;
            }
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
};

TEST_F(ImportThroughTheDialog, EachFormatFillsThePassBandWithTheHandWorkedMagnitudes) {
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
        EXPECT_EQ(import(file), rows);
        EXPECT_TRUE(shell->state().dataChanged);
        EXPECT_EQ(shell->problem().nFreqPoints, static_cast<int>(rows.size()));
    }
    EXPECT_TRUE(prompter.prompts.empty());
}

} // namespace
