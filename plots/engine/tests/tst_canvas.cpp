#include "PlotCanvas.h"

#include "QtTestApp.h"

#include <QPainter>

#include <gtest/gtest.h>

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

class Canvas : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApp(); } // fonts need it
};

// The mapping itself, and the pixel scale, are checked through the frame's and notes' rows.
TEST_F(Canvas, AScaleOfNoWidthIsRefused) {
    PlotCanvas canvas(200, 100);
    canvas.setUserScale(0, 0, 400, 200);
    canvas.setUserScale(0, 0, 0, 5); // would divide by zero
    EXPECT_DOUBLE_EQ(canvas.ScaleWidth(), 400);
}

TEST_F(Canvas, LinesGoIntoTheImageInColourAndStyle) {
    PlotCanvas canvas(100, 60);
    canvas.setBackColor(kBack);
    canvas.Cls();
    canvas.setForeColor(kRed);
    canvas.Line(0, 10, 99, 10);
    EXPECT_EQ(PixelAt(canvas, 50, 10), kRed);

    // Drawing goes on after the image was read, and a wide line keeps its style.
    canvas.setDrawStyle(LineStyle::Dot);
    for (int width : {1, 3}) {
        canvas.setDrawWidth(width);
        canvas.Line(0, 20 + 10 * width, 99, 20 + 10 * width);
        const int drawn = 100 - CountNot(canvas, kRed, QRect(0, 20 + 10 * width, 100, 1));
        EXPECT_GT(drawn, 20) << width;
        EXPECT_LT(drawn, 80) << width;
    }
    EXPECT_EQ(PixelAt(canvas, 50, 10), kRed);
    canvas.setDrawStyle(LineStyle::Solid);

    // A wide curve of sub-pixel steps still reaches its last point and the next line starts
    // where it ended.
    canvas.setForeColor(0x00FF00);
    for (int i = 0; i < 990; ++i)
        canvas.Line(i * 0.1, 40 + i * 0.001, (i + 1) * 0.1, 40 + (i + 1) * 0.001);
    canvas.Line(99, 41, 99, 45);
    EXPECT_EQ(PixelAt(canvas, 98, 41), 0x00FF00u);
    EXPECT_EQ(PixelAt(canvas, 99, 44), 0x00FF00u);
    EXPECT_EQ(PixelAt(canvas, 2, 40), 0x00FF00u);

    canvas.Cls();
    EXPECT_EQ(CountNot(canvas, kBack, QRect(0, 0, 100, 60)), 0);
}

TEST_F(Canvas, PrintMovesDownALineAndBackToTheLeftEdge) {
    PlotCanvas canvas(300, 200);
    canvas.setUserScale(10, 100, 100, -100); // text goes down, whichever way Y grows
    canvas.setFontSize(12);
    canvas.setForeColor(kRed);
    canvas.setCurrentX(50);
    canvas.setCurrentY(90);
    canvas.Print("Hello");
    EXPECT_DOUBLE_EQ(canvas.CurrentX(), 10);
    EXPECT_NEAR(canvas.CurrentY(), 90 - canvas.TextHeight("Hello"), 1e-9);
    EXPECT_GT(canvas.TextHeight("Hello"), 0);
    // The text starts at the position: ink right of pixel x 120 and below pixel y 20 only.
    EXPECT_GT(CountNot(canvas, canvas.backColor(), QRect(120, 20, 60, 25)), 10);
    EXPECT_EQ(CountNot(canvas, canvas.backColor(), QRect(0, 0, 118, 200)), 0);
    EXPECT_EQ(CountNot(canvas, canvas.backColor(), QRect(0, 0, 300, 19)), 0);
}

TEST_F(Canvas, RotatedTextRunsUpwardsFromItsCorner) {
    PlotCanvas canvas(100, 200);
    canvas.setForeColor(kRed);
    canvas.DrawRotatedText("Amplitude", 40, 150, 900, "Arial", 14);
    EXPECT_GT(CountNot(canvas, canvas.backColor(), QRect(40, 60, 20, 90)), 20);
    EXPECT_EQ(CountNot(canvas, canvas.backColor(), QRect(0, 152, 100, 48)), 0);
    EXPECT_EQ(CountNot(canvas, canvas.backColor(), QRect(0, 0, 38, 200)), 0);
}

// Where anything but the background lies in `image`.
QRect Ink(const QImage& image, Rgb back) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (FromQColor(image.pixelColor(x, y)) != back)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The recording replayed on a device of another size draws the same plot at that size:
// lines, texts (rotated too) and markers all scale with it.
TEST_F(Canvas, ReplayAtTwiceTheSizeDrawsThePlotTwiceAsLarge) {
    PlotCanvas canvas(200, 120);
    canvas.setForeColor(kRed);
    const auto draw = [&canvas](int part) {
        canvas.Cls();
        if (part == 0)
            canvas.Line(20, 30, 120, 90);
        if (part == 1) {
            canvas.setCurrentX(40);
            canvas.setCurrentY(50);
            canvas.Print("Sample\ttext");
        }
        if (part == 2)
            canvas.DrawRotatedText("Amplitude", 150, 100, 900, "Arial", 14);
        if (part == 3)
            canvas.Marker(60, 60, 4);
    };
    for (int part = 0; part < 4; ++part) {
        SCOPED_TRACE(part);
        draw(part);
        const QRect small = Ink(canvas.image(), canvas.backColor());
        QImage large(400, 240, QImage::Format_RGB32);
        QPainter painter(&large);
        canvas.recording().Replay(painter, QRectF(0, 0, 400, 240));
        painter.end();
        const QRect big = Ink(large, canvas.backColor());
        ASSERT_TRUE(small.isValid());
        EXPECT_NEAR(big.left(), 2 * small.left(), 3);
        EXPECT_NEAR(big.top(), 2 * small.top(), 3);
        EXPECT_NEAR(big.width(), 2 * small.width(), 4);
        EXPECT_NEAR(big.height(), 2 * small.height(), 4);
    }
}

} // namespace
