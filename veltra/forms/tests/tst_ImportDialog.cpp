#include "ImportDialog.h"
#include "ImportPreviewPlot.h"
#include "QtTestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

// S21 falls by half at each step; S12 stays at .9. The first point is at 0 Hz.
constexpr const char* kTwoPort = "# MHz S MA R 50\n"
                                 "0  0 0  1 0      .9 0  0 0\n"
                                 "10 0 0  .5 -10   .9 0  0 0\n"
                                 "20 0 0  .25 -20  .9 0  0 0\n"
                                 "30 0 0  .125 -30 .9 0  0 0\n"
                                 "40 0 0  .0625 -40 .9 0  0 0\n";

constexpr const char* kTable = "Freq (kHz),Phase,Mag (dB),w\n"
                               "1000,0,0,1\n"
                               "2000,0,-20,2\n"
                               "3000,0,oops,1\n";

class ImportDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApp(); }
    void open(const char* name, const char* text) {
        ImportError error;
        ASSERT_TRUE(ParseMeasuredFile(name, text, file, error)) << error.text();
        dialog = std::make_unique<ImportDialog>(file);
    }
    template <class T> T* control(const char* name) {
        auto* w = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::string shown(const char* list) {
        return control<QComboBox>(list)->currentText().toStdString();
    }
    std::string preview() { return control<QLabel>("lblPreview")->text().toStdString(); }
    bool okEnabled() { return control<QPushButton>("cmdOK")->isEnabled(); }

    MeasuredFile file;
    std::unique_ptr<ImportDialog> dialog;
};

TEST_F(ImportDialogTest, TouchstoneChoicesGiveTheRowsTheyName) {
    open("filter.s2p", kTwoPort);
    EXPECT_EQ(control<QLabel>("lblFile")->text().toStdString(),
              "filter.s2p: Touchstone version 1, 2 ports, S parameters, 5 frequencies from 0 to "
              "40 MHz");
    // what the user does, and then the rows to come and what the preview says
    const std::tuple<std::function<void()>, std::size_t, const char*> steps[] = {
        {[] {}, 4,
         "4 rows of |S21| will replace the pass-band table. The point at 0 Hz is left out."},
        {[&] { control<QComboBox>("cboParameter")->setCurrentText("S12"); }, 4, "4 rows of |S12|"},
        {[&] { control<QLineEdit>("txtFrom")->setText("15"); }, 3, "3 rows"},
        {[&] { control<QSpinBox>("spnMaxPoints")->setValue(2); }, 2,
         "2 rows of |S12| will replace the pass-band table, thinned evenly from 3."},
        {[&] { control<QCheckBox>("chkDelay")->setChecked(true); }, 2,
         "The delay table gets as many rows"},
        {[&] { control<QLineEdit>("txtTo")->setText("1 GHz"); }, 0,
         "To: '1 GHz' is not a number of MHz."},
        {[&] { control<QLineEdit>("txtTo")->setText("12"); }, 0, "From lies above To."},
    };
    for (const auto& [act, rows, says] : steps) {
        SCOPED_TRACE(says);
        act();
        EXPECT_EQ(dialog->rowsToCome(), rows);
        EXPECT_NE(preview().find(says), std::string::npos) << preview();
        EXPECT_EQ(okEnabled(), rows > 0);
    }
    control<QLineEdit>("txtFrom")->setText("");
    const ImportChoices c = dialog->choices();
    EXPECT_EQ(std::tie(c.parameter, c.delay, c.range.fromMHz, c.range.toMHz, c.range.maxPoints),
              std::tuple("S12", true, std::optional<double>(), 12.0, 2));
}

TEST_F(ImportDialogTest, TableColumnsFollowTheHeaderAndABadCellNamesItsLine) {
    open("sweep.csv", kTable);
    EXPECT_EQ(shown("cboFreqColumn") + "; " + shown("cboUnit") + "; " + shown("cboYoutColumn") +
                  "; " + shown("cboYinColumn"),
              "1: Freq (kHz); kHz; 3: Mag (dB); (none)");
    EXPECT_TRUE(control<QCheckBox>("chkDecibels")->isChecked());
    EXPECT_FALSE(okEnabled());
    EXPECT_EQ(preview(), "Line 4: column 3 (Mag (dB)): 'oops' is not a number.");

    control<QComboBox>("cboYoutColumn")->setCurrentIndex(1);   // Phase
    control<QComboBox>("cboWeightColumn")->setCurrentIndex(4); // w
    EXPECT_EQ(std::tuple(okEnabled(), dialog->rowsToCome()), std::tuple(true, 3u));
    EXPECT_NE(preview().find("The weights switch question 3 on."), std::string::npos);
    EXPECT_EQ(std::tuple(dialog->choices().columns, dialog->choices().unit),
              std::tuple(TableColumns{0, 1, -1, 3}, FrequencyUnit::kHz));
}

TEST(ImportPreview, DrawsTheChosenPointsAndTheRangeBounds) {
    test::EnsureApp();
    PlotCanvas canvas(300, 150);
    std::vector<CanvasCall> calls;
    canvas.setRecorder([&](const CanvasCall& call) { calls.push_back(call); });
    DrawImportPreview(canvas, {{1, 2, 3, 4, 5}, {1, .8, .6, .4, .2}, {1, 2, 3}, 2, 4, "|S21|"});
    auto lines = [&](Rgb colour) {
        std::vector<std::array<double, 4>> found;
        for (const CanvasCall& c : calls)
            if (c.kind == CanvasCall::Kind::Line && c.colour == colour)
                found.push_back({c.x1, c.y1, c.x2, c.y2});
        return found;
    };
    // The chosen points 2 to 4 joined, over the grey curve of all five.
    EXPECT_EQ(lines(0xC04000),
              (std::vector<std::array<double, 4>>{{2, .8, 3, .6}, {3, .6, 4, .4}}));
    EXPECT_EQ(lines(0xB0B0B0).size(), 4u);
    // The bounds run from the bottom of the frame to its top (5 % above the largest value).
    EXPECT_EQ(lines(0x0000D0),
              (std::vector<std::array<double, 4>>{{2, 0, 2, 1.05}, {4, 0, 4, 1.05}}));
}

} // namespace
