#include "MainFormFixture.h"
#include "ResizeChecks.h"

#include <QHeaderView>
#include <QTabBar>

#include <gtest/gtest.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

class ResizingTest : public MainFormFixture {
protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        ASSERT_EQ(inner()->size(), QSize(800, 560)); // the designed inner area
    }
    QWidget* inner() { return form->centralWidget(); }
    /// Resizes the window so that its inner area is w x h pixels.
    void innerSize(int w, int h) {
        form->resize(w, h);
        ASSERT_EQ(inner()->size(), QSize(w, h));
    }
};

} // namespace

TEST_F(ResizingTest, WidthScalesAcrossAndHeightScalesDownAndFonts) {
    const auto design = Snapshot(*inner());
    ASSERT_GT(design.size(), 100u);
    const double tabPoints = form->tabs()->tabBar()->font().pointSizeF();
    innerSize(1600, 560);
    ExpectScaled(design, 2, 1);
    innerSize(800, 1120);
    ExpectScaled(design, 1, 2);
    // The tab captions grow and shrink with the height, so that they keep fitting.
    EXPECT_DOUBLE_EQ(form->tabs()->tabBar()->font().pointSizeF(), 2 * tabPoints);
}

TEST_F(ResizingTest, OpenCellEditorStaysOverItsCellAndColumnsFillTheGrid) {
    showSample(false);
    QTableWidget* grid = pass();
    QLineEdit* editor = passEditor();
    ASSERT_TRUE(editor->isVisible());
    auto share = [grid] {
        return double(grid->horizontalHeader()->length()) / grid->viewport()->width();
    };
    const double designShare = share();
    for (double f : {1.5, 0.8}) {
        innerSize(static_cast<int>(800 * f), static_cast<int>(560 * f));
        QRect cell = grid->visualRect(grid->model()->index(0, 0));
        cell.moveTopLeft(grid->viewport()->mapTo(grid->parentWidget(), cell.topLeft()));
        EXPECT_EQ(editor->geometry(), cell.adjusted(0, 0, -1, -1)) << f;
        // The columns share the grid's width as they did at the designed size.
        EXPECT_NEAR(share(), designShare, 0.01) << f;
    }
}

TEST_F(ResizingTest, TabControlTakingTheFocusBackReopensTheEditor) {
    showSample(false);
    QLineEdit* editor = passEditor();
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_TRUE(editor->isHidden());
    form->tabs()->tabBar()->setFocus(Qt::BacktabFocusReason);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->text(), "2"); // row 2's frequency, where Esc left the grid
}
