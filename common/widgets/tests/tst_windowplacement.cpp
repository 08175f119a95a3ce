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
    for (const auto& [size, place] :
         {std::pair{area.size() + QSize(200, 120), area.topLeft()},
          std::pair{QSize(300, 200), area.bottomRight() - QPoint(100, 50)},
          std::pair{QSize(300, 200), area.topLeft() - QPoint(500, 400)}}) {
        QWidget window;
        window.resize(size);
        window.move(place);
        KeepOnScreen(window);
        window.show();
        QCoreApplication::processEvents(); // the placement follows the window's own showing
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << size.width() << " at " << place.x() << "," << place.y();
        if (size.width() < area.width()) {
            EXPECT_EQ(window.size(), size); // only moved
        }
    }
}
