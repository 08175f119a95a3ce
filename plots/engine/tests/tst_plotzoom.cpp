#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <QLineF>

#include <cmath>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// x = 0 to 10 and, on the error plot, y = x / 2.
std::string LineFile() {
    std::string text = "t\ns\nx\n7 0 11\n";
    for (int i = 0; i <= 10; ++i)
        text += std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(0.5 * i) + "\n";
    return text;
}

struct ZoomRig : EngineRig {
    ZoomRig() : EngineRig(964, 610) {
        host.settings.fixedX = true; // a fixed range gives way to a zoom
        host.settings.xMinText = "0";
        host.settings.xStepText = "1";
        EXPECT_EQ(readText(LineFile()), ReadStatus::Ok);
        next();
    }
    QPointF pixel(double x, double y) const {
        return {canvas.toPixelX(x / std::pow(10.0, engine.xExp())),
                canvas.toPixelY(y / std::pow(10.0, engine.yExp()))};
    }
};

// The readout gives the values under the pointer. A rectangle's ranges become the axes, scaled
// by the usual rules; the plot is drawn again without a log line; back to the whole plot, the
// bounds are as before.
TEST(PlotZoom, ARectangleBecomesTheAxesUntilTheWholePlotIsAskedFor) {
    ZoomRig rig;
    for (const QPointF xy : {QPointF(3, 1.5), QPointF(0, 0), QPointF(10, 4.2)}) {
        const auto values = rig.engine.ValuesAt(rig.pixel(xy.x(), xy.y()));
        ASSERT_TRUE(values);
        EXPECT_NEAR(QLineF(*values, xy).length(), 0, 1e-9);
    }
    const PlotBounds whole{rig.engine.xMin(), rig.engine.xMax(), rig.engine.yMin(),
                           rig.engine.yMax()};
    EXPECT_EQ(whole.xMin, 0);
    EXPECT_EQ(whole.xMax, 10);
    const std::string log = rig.host.output;
    ASSERT_TRUE(rig.engine.ZoomTo(QRectF(rig.pixel(2, 2), rig.pixel(4, 1))));
    EXPECT_TRUE(rig.engine.zoomed());
    EXPECT_NEAR(rig.engine.xMin(), 2, 0.11);
    EXPECT_NEAR(rig.engine.xMax(), 4.09, 0.11);
    EXPECT_NEAR(rig.engine.yMin(), 1, 0.11);
    EXPECT_NEAR(rig.engine.yMax(), 2.02, 0.11);
    EXPECT_EQ(rig.host.output, log);
    EXPECT_EQ(rig.host.drawn, 1); // the same plot, not a new one

    // Zooming again goes further in; a rectangle without height changes nothing.
    EXPECT_FALSE(rig.engine.ZoomTo(QRectF(rig.pixel(2.5, 1.5), rig.pixel(3, 1.5))));
    ASSERT_TRUE(rig.engine.ZoomTo(QRectF(rig.pixel(2.5, 1.6), rig.pixel(3, 1.4))));
    EXPECT_LT((rig.engine.xMax() - rig.engine.xMin()) * std::pow(10.0, rig.engine.xExp()), 1);

    // The parts of the curve beyond the zoomed axes are not drawn over the margins.
    const QRectF axes =
        QRectF(
            QPointF(rig.canvas.toPixelX(rig.engine.xMin()), rig.canvas.toPixelY(rig.engine.yMin())),
            QPointF(rig.canvas.toPixelX(rig.engine.xMax()), rig.canvas.toPixelY(rig.engine.yMax())))
            .normalized()
            .adjusted(-8, -8, 8, 8);
    const QRect red = InkBox(rig.canvas.image(), [](const QColor& c) { return c == Qt::red; });
    EXPECT_GT(red.width(), 100);
    EXPECT_TRUE(axes.contains(red));

    ASSERT_TRUE(rig.engine.Unzoom());
    EXPECT_FALSE(rig.engine.zoomed());
    EXPECT_EQ(rig.engine.xMin(), whole.xMin);
    EXPECT_EQ(rig.engine.xMax(), whole.xMax);
    EXPECT_EQ(rig.engine.yMax(), whole.yMax);
    EXPECT_FALSE(rig.engine.Unzoom());
}

// The map's real axis runs downward; a rectangle on it still zooms the right way up: the
// values at its corners go to the box's corners.
TEST(PlotZoom, TheMapZoomsLikeAnyPlot) {
    EngineRig rig(964, 610);
    ASSERT_EQ(rig.read("model_m2.dat"), ReadStatus::Ok);
    rig.next();
    const QPointF corners[] = {{300, 200}, {500, 400}};
    std::vector<QPointF> values;
    for (const QPointF corner : corners)
        values.push_back(rig.engine.ValuesAt(corner).value_or(QPointF()));
    ASSERT_TRUE(rig.engine.ZoomTo(QRectF(corners[0], corners[1])));
    const double xScale = std::pow(10.0, rig.engine.xExp()),
                 yScale = std::pow(10.0, rig.engine.yExp());
    const QPointF a(rig.canvas.toPixelX(values[0].x() / xScale),
                    rig.canvas.toPixelY(values[0].y() / yScale));
    const QPointF b(rig.canvas.toPixelX(values[1].x() / xScale),
                    rig.canvas.toPixelY(values[1].y() / yScale));
    EXPECT_GT(b.x() - a.x(), 400);
    EXPECT_GT(b.y() - a.y(), 300);
    EXPECT_TRUE(QRectF(0, 0, 964, 610).contains(QRectF(a, b)));
}

} // namespace
