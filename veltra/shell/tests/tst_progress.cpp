// The progress window as a long run fills its listing.
#include "FollowingTextView.h"
#include "ProgressWindow.h"
#include "QtTestApp.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <fstream>

using namespace veltrana;

namespace {

class ProgressTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        test::EnsureApp();
    }
    void append(int from, int count) {
        std::ofstream out(in("~Veltra.out"), std::ios::app);
        for (int i = from; i < from + count; ++i)
            out << "  Descent 1, iteration " << i << ": error sum = 0.5\r\n";
    }
    static bool atEnd(QScrollBar* bar) { return bar->value() == bar->maximum(); }
};

} // namespace

// The window follows the end of the listing as a terminal does, from a listing that does not
// exist yet to thousands of lines, unless the user has scrolled up to read.
TEST_F(ProgressTest, TheWindowFollowsTheListingUnlessTheUserScrolledUp) {
    ProgressWindow window;
    window.begin("Long.1", QString::fromStdString(in("~Veltra.out")));
    window.show();
    auto* view = window.findChild<FollowingTextView*>("txtListing");
    ASSERT_NE(view, nullptr);
    QScrollBar* bar = view->verticalScrollBar();
    int lines = 0;
    // lines added, and the window's height before they come (a smaller window shows fewer)
    const std::tuple<int, int> steps[] = {{400, 480}, {3, 480}, {40, 300}, {2000, 600}, {5, 200}};
    for (const auto& [step, height] : steps) {
        SCOPED_TRACE(step);
        window.resize(window.width(), height);
        QTest::qWait(20);
        append(lines, step);
        lines += step;
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->blockCount() > lines; }, 3000));
        QTest::qWait(50);
        EXPECT_TRUE(atEnd(bar)) << bar->value() << " of " << bar->maximum();
    }
    bar->setValue(bar->maximum() / 2);
    const int kept = bar->value();
    append(lines, 100);
    lines += 100;
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->blockCount() > lines; }, 3000));
    EXPECT_EQ(bar->value(), kept);
    bar->setValue(bar->maximum());
    append(lines, 100);
    lines += 100;
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->blockCount() > lines; }, 3000));
    QTest::qWait(50);
    EXPECT_TRUE(atEnd(bar));
}
