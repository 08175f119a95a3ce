#include "FindBar.h"
#include "ManualWindow.h"
#include "QtTestApp.h"
#include "TempDirTest.h"

#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>

#include <fstream>
#include <memory>

using namespace veltrana;

namespace {

class ManualWindowTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        test::EnsureApp();
        std::ofstream(in("manual.html"))
            << "<html><body><h2><a name=\"import\"></a>10. Import</h2>"
               "<p>Paste rows with Ctrl+V. Import a Touchstone file.</p></body></html>";
        owned = std::make_unique<ManualWindow>();
        owned->showManual(in("manual.html"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(owned.get()));
    }
    QLineEdit* findText() { return owned->findChild<QLineEdit*>("txtFind"); }

    std::unique_ptr<ManualWindow> owned;
    ManualWindow& window() { return *owned; }
};

TEST_F(ManualWindowTest, CtrlFFindsTextAndEscapeClosesTheBarThenTheWindow) {
    QTest::keyClick(&window(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(findText()->isVisible());
    EXPECT_TRUE(findText()->hasFocus());
    QTest::keyClicks(findText(), "touchstone");
    QTest::keyClick(findText(), Qt::Key_Return);
    EXPECT_EQ(window().browser()->textCursor().selectedText().toStdString(), "Touchstone");

    QTest::keyClick(findText(), Qt::Key_Escape);
    EXPECT_FALSE(findText()->isVisible());
    EXPECT_TRUE(window().isVisible());
    QTest::keyClick(window().browser(), Qt::Key_Escape);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(ManualWindowTest, CtrlWClosesTheWindow) {
    QTest::keyClick(window().browser(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window().isVisible());
}

} // namespace
