#include "QtTestApp.h"
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

using namespace veltrana;

TEST(WindowPlacement, WindowShrinksToTheScreenAndComesBackOntoIt) {
    test::EnsureApp();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        QSize size;
        QPoint place;
    };
    for (const Case c : {Case{area.size() + QSize(200, 120), area.topLeft()},
                         Case{QSize(300, 200), area.bottomRight() - QPoint(100, 50)},
                         Case{QSize(300, 200), area.topLeft() - QPoint(500, 400)}}) {
        QWidget window;
        window.resize(c.size);
        window.move(c.place);
        KeepOnScreen(window);
        window.show();
        QCoreApplication::processEvents(); // the placement follows the window's own showing
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << c.size.width() << " at " << c.place.x() << "," << c.place.y();
        if (c.size.width() < area.width()) {
            EXPECT_EQ(window.size(), c.size); // only moved
        }
    }
}
