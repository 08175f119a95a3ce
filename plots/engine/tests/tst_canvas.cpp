#include "EngineTestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace veltrana;

namespace {

constexpr Rgb kBack = 0xE0E0E0;
constexpr Rgb kRed = 0x0000FF; // red in the lowest byte

Rgb PixelAt(const PlotCanvas& canvas, int x, int y) {
    return FromQColor(canvas.image().pixelColor(x, y));
}

int CountNot(const PlotCanvas& canvas, Rgb colour, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += PixelAt(canvas, x, y) != colour;
    return n;
}

// The mapping itself, and the pixel scale, are checked through the frame's and notes' rows.
TEST(Canvas, AScaleOfNoWidthIsRefused) {
    PlotCanvas canvas(200, 100);
    canvas.setUserScale(0, 0, 400, 200);
    canvas.setUserScale(0, 0, 0, 5); // would divide by zero
    EXPECT_DOUBLE_EQ(canvas.ScaleWidth(), 400);
}

TEST(Canvas, LinesGoIntoTheImageInColourAndStyle) {
    PlotCanvas canvas(100, 60);
    canvas.setBackColor(kBack);
    canvas.Cls();
    canvas.setForeColor(kRed);
    // A dotted line keeps its style at any width.
    canvas.setDrawStyle(LineStyle::Dot);
    for (int width : {1, 3}) {
        canvas.setDrawWidth(width);
        canvas.Line(0, 20 + 10 * width, 99, 20 + 10 * width);
        const int drawn = 100 - CountNot(canvas, kRed, QRect(0, 20 + 10 * width, 100, 1));
        EXPECT_GT(drawn, 20) << width;
        EXPECT_LT(drawn, 80) << width;
    }
    canvas.setDrawStyle(LineStyle::Solid);

    // Drawing goes on after the image was read: a wide curve of sub-pixel steps still reaches
    // its last point and the next line starts where it ended.
    canvas.setForeColor(0x00FF00);
    for (int i = 0; i < 990; ++i)
        canvas.Line(i * 0.1, 40 + i * 0.001, (i + 1) * 0.1, 40 + (i + 1) * 0.001);
    canvas.Line(99, 41, 99, 45);
    EXPECT_EQ(PixelAt(canvas, 98, 41), 0x00FF00u);
    EXPECT_EQ(PixelAt(canvas, 99, 44), 0x00FF00u);
    EXPECT_EQ(PixelAt(canvas, 2, 40), 0x00FF00u);
}

// The recording replayed on a device of another size draws the same plot at that size:
// lines, texts and markers all scale with it. Y grows upward, as on a plot; a text starts at
// its position and runs right and down, a rotated one upward from its corner.
TEST(Canvas, ReplayAtTwiceTheSizeDrawsThePlotTwiceAsLarge) {
    test::EnsureApp(); // fonts need it
    PlotCanvas canvas(200, 120);
    canvas.setUserScale(0, 120, 200, -120);
    canvas.setForeColor(kRed);
    const auto print = [&canvas] {
        canvas.setCurrentX(40);
        canvas.setCurrentY(70);
        canvas.Print("Sample\ttext");
    };
    // what is drawn, and the pixels its ink must lie in
    const std::tuple<std::function<void()>, QRect> parts[] = {
        {[&canvas] { canvas.Line(20, 90, 120, 30); }, {19, 29, 103, 63}},
        {print, {40, 50, 100, 16}},
        {[&canvas] { canvas.DrawRotatedText("Amplitude", 150, 100, 900, "Arial", 14); },
         {150, 20, 20, 81}},
        {[&canvas] { canvas.Marker(60, 60, 4); }, {55, 55, 11, 11}},
    };
    const auto ink = [&canvas](const QColor& c) { return FromQColor(c) != canvas.backColor(); };
    for (const auto& [draw, where] : parts) {
        SCOPED_TRACE(where.x());
        canvas.Cls();
        draw();
        const QRect small = test::InkBox(canvas.image(), ink);
        EXPECT_TRUE(where.contains(small));
        QImage large(400, 240, QImage::Format_RGB32);
        QPainter painter(&large);
        canvas.recording().Replay(painter, QRectF(0, 0, 400, 240));
        painter.end();
        const QRect big = test::InkBox(large, ink);
        const QRect twice(2 * small.topLeft(), 2 * small.size());
        ASSERT_TRUE(small.isValid());
        EXPECT_TRUE(twice.adjusted(-3, -3, 4, 4).contains(big) &&
                    big.adjusted(-3, -3, 4, 4).contains(twice));
    }
}

} // namespace
