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
    EXPECT_EQ(control<QComboBox>("cboParameter")->currentText().toStdString(), "S21");
    EXPECT_EQ(dialog->rowsToCome(), 4u);
    EXPECT_EQ(preview(), "4 rows of |S21| will replace the pass-band table. The point at 0 Hz is "
                         "left out.");

    struct Step {
        const char* what;
        std::function<void()> act;
        std::size_t rows;
        const char* says;
    };
    const Step steps[] = {
        {"another parameter", [&] { control<QComboBox>("cboParameter")->setCurrentText("S12"); }, 4,
         "4 rows of |S12|"},
        {"a range", [&] { control<QLineEdit>("txtFrom")->setText("15"); }, 3, "3 rows"},
        {"thinned", [&] { control<QSpinBox>("spnMaxPoints")->setValue(2); }, 2,
         "2 rows of |S12| will replace the pass-band table, thinned evenly from 3."},
        {"delay", [&] { control<QCheckBox>("chkDelay")->setChecked(true); }, 2,
         "The delay table gets as many rows"},
        {"not a number", [&] { control<QLineEdit>("txtTo")->setText("1 GHz"); }, 0,
         "To: '1 GHz' is not a number of MHz."},
        {"upside down", [&] { control<QLineEdit>("txtTo")->setText("12"); }, 0,
         "From lies above To."},
        {"empty", [&] { control<QLineEdit>("txtFrom")->setText("11"); }, 0,
         "No point above 0 MHz lies in the range chosen."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(dialog->rowsToCome(), step.rows);
        EXPECT_NE(preview().find(step.says), std::string::npos) << preview();
        EXPECT_EQ(okEnabled(), step.rows > 0);
    }
    control<QLineEdit>("txtFrom")->setText("");
    const ImportChoices c = dialog->choices();
    EXPECT_EQ(c.parameter, "S12");
    EXPECT_TRUE(c.delay);
    EXPECT_FALSE(c.range.fromMHz.has_value());
    EXPECT_EQ(c.range.toMHz, 12.0);
    EXPECT_EQ(c.range.maxPoints, 2);
}

TEST_F(ImportDialogTest, TableColumnsFollowTheHeaderAndABadCellNamesItsLine) {
    open("sweep.csv", kTable);
    EXPECT_EQ(control<QComboBox>("cboFreqColumn")->currentText().toStdString(), "1: Freq (kHz)");
    EXPECT_EQ(control<QComboBox>("cboUnit")->currentText().toStdString(), "kHz");
    EXPECT_EQ(control<QComboBox>("cboYoutColumn")->currentText().toStdString(), "3: Mag (dB)");
    EXPECT_TRUE(control<QCheckBox>("chkDecibels")->isChecked());
    EXPECT_EQ(control<QComboBox>("cboYinColumn")->currentText().toStdString(), "(none)");
    EXPECT_FALSE(okEnabled());
    EXPECT_EQ(preview(), "Line 4: column 3 (Mag (dB)): 'oops' is not a number.");

    control<QComboBox>("cboYoutColumn")->setCurrentIndex(1);   // Phase
    control<QComboBox>("cboWeightColumn")->setCurrentIndex(4); // w
    EXPECT_TRUE(okEnabled());
    EXPECT_EQ(dialog->rowsToCome(), 3u);
    EXPECT_NE(preview().find("The weights switch question 3 on."), std::string::npos);
    const ImportChoices c = dialog->choices();
    EXPECT_EQ(c.columns, (TableColumns{0, 1, -1, 3}));
    EXPECT_EQ(c.unit, FrequencyUnit::kHz);
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
