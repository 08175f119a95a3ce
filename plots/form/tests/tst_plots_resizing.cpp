#include "PlotsFormFixture.h"
#include "ResizeChecks.h"
#include "Settings.h"

#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace veltrana;
using namespace veltrana::test;

namespace {

class PlotsResizingTest : public PlotsFormFixture {
protected:
    void startForm(bool withPlot) {
        if (withPlot) {
            const std::string data = in("model1.dat");
            std::filesystem::copy_file(std::string(PLOTS_SAMPLE_DATA) + "/model1.dat", data);
            ASSERT_TRUE(SaveFileIn(*store, data).ok());
        }
        form = std::make_unique<PlotsForm>(*store, prompter);
        ASSERT_TRUE(form->Main());
        ASSERT_EQ(inner()->size(), QSize(1000, 720)); // the designed inner area
    }
    QWidget* inner() { return form->centralWidget(); }
    void innerSize(int w, int h) {
        form->resize(w, h);
        ASSERT_EQ(inner()->size(), QSize(w, h));
    }
    QWidget* control(const char* name) { return form->findChild<QWidget*>(name); }
};

} // namespace

TEST_F(PlotsResizingTest, ControlsScaleWithTheWindowWithoutDrift) {
    startForm(false);
    const auto design = Snapshot(*inner());
    ASSERT_GT(design.size(), 40u);
    innerSize(2000, 1440);
    ExpectScaled(design, 2, 2);
    for (int i = 0; i < 15; ++i)
        innerSize(640 + 77 * i, 440 + 53 * i);
    innerSize(1000, 720);
    ExpectUnchanged(design);
}

TEST_F(PlotsResizingTest, ShownPlotIsKeptScaledUntilTheNextIsDrawnAtTheNewSize) {
    startForm(true);
    auto* tabs = form->findChild<QTabWidget*>("Plot_Tabs");
    tabs->setCurrentIndex(0);
    QWidget* picBox = control("picBox");
    const QRect design = picBox->geometry();
    const QImage plot = form->canvas().image().copy();
    innerSize(1500, 1080);
    form->showPlotPage(); // picBox was on a hidden page
    EXPECT_EQ(picBox->geometry(), QRect(15, 15, design.width() * 3 / 2, design.height() * 3 / 2));
    EXPECT_EQ(form->canvas().image(), plot); // nothing lost: printing and saving still have it
    form->Next();
    EXPECT_EQ(form->canvas().image().size(), picBox->size());
}

TEST_F(PlotsResizingTest, DesktopKeysRunTheShownPageCommands) {
    startForm(true);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->showPlotPage();
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier); // Setup page only
    EXPECT_TRUE(prompter.dialogs.empty());
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompter.printDialogs, 1);
    form->findChild<QTabWidget*>("Plot_Tabs")->setCurrentIndex(0);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(prompter.printDialogs, 1);
}
