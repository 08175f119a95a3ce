#include "EngineTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineF>

#include <array>
#include <cmath>

using namespace veltrana;
using namespace veltrana::test;
using testing::DoubleNear;
using testing::Pointwise;

namespace {

// Where the values `v` of the shown plot lie on its box.
QPointF PixelOf(const EngineRig& rig, QPointF v) {
    return {rig.canvas.toPixelX(v.x() / std::pow(10.0, rig.engine.xExp())),
            rig.canvas.toPixelY(v.y() / std::pow(10.0, rig.engine.yExp()))};
}

// The readout gives the values under the pointer. A rectangle's ranges become the axes, scaled
// by the usual rules, over a fixed range too; the plot is drawn again without a log line; back
// to the whole plot, the bounds are as before.
TEST(PlotZoom, ARectangleBecomesTheAxesUntilTheWholePlotIsAskedFor) {
    std::string file = "t\ns\nx\n7 0 11\n"; // x = 0 to 10, on the error plot y = x / 2
    for (int i = 0; i <= 10; ++i)
        file += std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(0.5 * i) + "\n";
    EngineRig rig(file, 0, 964, 610);
    rig.host.settings.fixedX = true;
    rig.host.settings.xMinText = "0";
    rig.host.settings.xStepText = "1";
    rig.next();
    for (const QPointF xy : {QPointF(3, 1.5), QPointF(0, 0), QPointF(10, 4.2)}) {
        const auto values = rig.engine.ValuesAt(PixelOf(rig, xy));
        ASSERT_TRUE(values);
        EXPECT_NEAR(QLineF(*values, xy).length(), 0, 1e-9);
    }
    const auto bounds = [&rig] {
        const PlotEngine& e = rig.engine;
        return std::array<double, 4>{e.xMin(), e.xMax(), e.yMin(), e.yMax()};
    };
    const auto whole = bounds();
    EXPECT_EQ(std::pair(whole[0], whole[1]), std::pair(0.0, 10.0));
    const std::string log = rig.host.output;
    const auto zoom = [&rig](QPointF a, QPointF b) {
        return rig.engine.ZoomTo(QRectF(PixelOf(rig, a), PixelOf(rig, b)));
    };
    ASSERT_TRUE(zoom({2, 2}, {4, 1}));
    EXPECT_TRUE(rig.engine.zoomed());
    EXPECT_THAT(bounds(), Pointwise(DoubleNear(0.11), std::array{2.0, 4.09, 1.0, 2.02}));
    EXPECT_EQ(std::pair(rig.host.output, rig.host.drawn), std::pair(log, 1)); // the same plot

    // Zooming again goes further in; a rectangle without height changes nothing.
    EXPECT_FALSE(zoom({2.5, 1.5}, {3, 1.5}));
    ASSERT_TRUE(zoom({2.5, 1.6}, {3, 1.4}));
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
    EXPECT_EQ(bounds(), whole);
    EXPECT_FALSE(rig.engine.Unzoom());
}

// The map: a zero quad gives four markers mirrored on both axes. The real axis grows downward,
// so poles of the left half plane lie above the omega axis, and a rectangle still zooms the
// right way up: the values at its corners go to the box's corners.
TEST(PlotZoom, TheMapMirrorsAQuadAndZoomsTheRightWayUp) {
    EngineRig rig("quad\ns\nx\n-2 0 1\n0 0 0 0\n0 1\n-0.5\n0.5\n0\n0 0 1\n-1\n2\n1\n0 0\n0 1 2\n",
                  1, 964, 610);
    const auto places = [&rig](const std::string& mark) {
        std::vector<double> xy;
        for (const CanvasCall& c : rig.calls)
            if (c.kind == CanvasCall::Kind::Text && c.text == mark)
                xy.insert(xy.end(), {c.x1, c.y1});
        return xy;
    };
    EXPECT_EQ(places("O"), (std::vector<double>{-2, 1, 2, 1, -2, -1, 2, -1}));
    EXPECT_EQ(places("X"), (std::vector<double>{0.5, -0.5}));
    EXPECT_LT(rig.canvas.toPixelY(-0.5), rig.canvas.toPixelY(0) - 10);

    const auto a = rig.engine.ValuesAt({300, 200}), b = rig.engine.ValuesAt({500, 400});
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(rig.engine.ZoomTo(QRectF(QPointF(300, 200), QPointF(500, 400))));
    const QRectF corners(PixelOf(rig, *a), PixelOf(rig, *b));
    EXPECT_GT(corners.width(), 400);
    EXPECT_GT(corners.height(), 300);
    EXPECT_TRUE(QRectF(0, 0, 964, 610).contains(corners));
}

} // namespace
