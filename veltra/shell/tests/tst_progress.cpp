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

using ProgressTest = test::TempDirTest;

// The window keeps to the end of the listing as a terminal does, while the listing grows to
// thousands of lines and the window is resized, until the user scrolls up to read.
TEST_F(ProgressTest, TheWindowFollowsTheListingUnlessTheUserScrolledUp) {
    test::EnsureApp();
    ProgressWindow window;
    window.begin("Long.1", QString::fromStdString(in("~Veltra.out")));
    window.show();
    auto* view = window.findChild<FollowingTextView*>("txtListing");
    QScrollBar* bar = view->verticalScrollBar();
    int lines = 0;
    const auto append = [&](int count) {
        std::ofstream out(in("~Veltra.out"), std::ios::app);
        for (const int end = lines + count; lines < end; ++lines)
            out << "  Descent 1, iteration " << lines << ": error sum = 0.5\r\n";
        out.close();
        return QTest::qWaitFor([&] { return view->blockCount() > lines; }, 3000);
    };
    // lines added, the window's height before they come, whether the user scrolled up first
    const std::tuple<int, int, bool> steps[] = {
        {400, 480, false}, {40, 300, false}, {2000, 600, false}, {100, 600, true}};
    for (const auto& [count, height, scrolledUp] : steps) {
        SCOPED_TRACE(count);
        window.resize(window.width(), height);
        if (scrolledUp)
            bar->setValue(bar->maximum() / 2);
        const int kept = bar->value();
        ASSERT_TRUE(append(count));
        QTest::qWait(50);
        EXPECT_EQ(bar->value(), scrolledUp ? kept : bar->maximum());
    }
}
