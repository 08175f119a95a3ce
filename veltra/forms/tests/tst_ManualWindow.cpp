#include "ManualWindow.h"
#include "QtTestApp.h"
#include "TempDirTest.h"

#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>

#include <fstream>

using namespace veltrana;

namespace {

using ManualWindowTest = test::TempDirTest;

TEST_F(ManualWindowTest, CtrlFFindsTextAndEscapeClosesTheBarThenTheWindowAsCtrlWDoes) {
    test::EnsureApp();
    std::ofstream(in("manual.html")) << "<html><body><h2><a name=\"import\"></a>10. Import</h2>"
                                        "<p>Paste rows with Ctrl+V. Import a Touchstone file.</p>"
                                        "</body></html>";
    ManualWindow window;
    auto* find = window.findChild<QLineEdit*>("txtFind");
    const QKeyCombination closers[] = {Qt::Key_Escape, Qt::ControlModifier | Qt::Key_W};
    for (const QKeyCombination close : closers) {
        window.showManual(in("manual.html"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(find->isVisible());
        EXPECT_TRUE(find->hasFocus());
        find->clear();
        QTest::keyClicks(find, "touchstone");
        QTest::keyClick(find, Qt::Key_Return);
        EXPECT_EQ(window.browser()->textCursor().selectedText().toStdString(), "Touchstone");
        QTest::keyClick(find, Qt::Key_Escape);
        EXPECT_FALSE(find->isVisible());
        EXPECT_TRUE(window.isVisible());
        QTest::keyClick(window.browser(), close.key(), close.keyboardModifiers());
        EXPECT_FALSE(window.isVisible());
    }
}

} // namespace
