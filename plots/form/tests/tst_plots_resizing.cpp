#include "PlotsFormFixture.h"
#include "ResizeChecks.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace veltrana;
using namespace veltrana::test;

namespace {

class PlotsResizingTest : public PlotsFormFixture {
protected:
    void startAtDesignSize(const std::string& file) {
        ASSERT_TRUE(startForm(file));
        ASSERT_EQ(inner()->size(), QSize(1000, 720)); // the designed inner area
    }
    QWidget* inner() { return form->centralWidget(); }
    void innerSize(int w, int h) {
        // The menu bar stands above the inner area.
        form->resize(w, h + (form->menuWidget() ? form->menuWidget()->height() : 0));
        ASSERT_EQ(inner()->size(), QSize(w, h));
    }
};

} // namespace

TEST_F(PlotsResizingTest, ControlsScaleWithTheWindowWithoutDrift) {
    startAtDesignSize("");
    const auto design = Snapshot(*inner());
    ASSERT_GT(design.size(), 40u);
    innerSize(2000, 1440);
    ExpectScaled(design, 2, 2);
    for (int i = 0; i < 15; ++i)
        innerSize(640 + 77 * i, 440 + 53 * i);
    innerSize(1000, 720);
    ExpectUnchanged(design);
}

// The plot shown is drawn again at the box's new size from the data it was drawn from: the
// same plot (no step of the sequence, no new log line), its texts scaled with the box.
TEST_F(PlotsResizingTest, ShownPlotIsDrawnAgainAtTheNewSize) {
    startAtDesignSize("model1.dat");
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    QWidget* picBox = control<QWidget>("picBox");
    const QRect design = picBox->geometry();
    const std::string log = control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString();
    const int step = form->engine().plotStep();
    std::filesystem::remove(in("model1.dat")); // nothing is read again
    innerSize(1500, 1080);
    form->showPlotPage(); // picBox was on a hidden page
    EXPECT_EQ(picBox->geometry(), QRect(15, 15, design.width() * 3 / 2, design.height() * 3 / 2));
    EXPECT_EQ(form->canvas().image().size(), picBox->size());
    EXPECT_EQ(form->engine().plotStep(), step);
    EXPECT_EQ(control<QPlainTextEdit>("tbOutBox")->toPlainText().toStdString(), log);
    EXPECT_GT(form->canvas().textScale(), 1.4);
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(PlotsResizingTest, DesktopKeysRunTheShownPageCommands) {
    startAtDesignSize("model1.dat");
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->showPlotPage();
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompter.printDialogs, 1);
    control<QTabWidget>("Plot_Tabs")->setCurrentIndex(0);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompter.printDialogs, 1);
}
