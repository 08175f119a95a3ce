#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPolygonF>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QPainter;

namespace veltrana {

/// A 24-bit colour with red in the lowest byte, as the settings store keeps it.
using Rgb = std::uint32_t;
QColor ToQColor(Rgb rgb);
Rgb FromQColor(const QColor& colour);

/// Line styles by their picture-box numbers.
enum class LineStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

/// One drawing call as a test sees it: coordinates in the scale in force when it was made.
struct CanvasCall {
    enum class Kind { Clear, Line, Text, RotatedText };
    Kind kind = Kind::Clear;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; ///< Line: ends; Text: the top-left corner in x1, y1
    std::string text;
    Rgb colour = 0;
    LineStyle style = LineStyle::Solid;
    double fontSize = 0; ///< points; RotatedText: pixel height
    int angle = 0;       ///< RotatedText: tenths of a degree
};

/// The plot box: picture-box semantics (pixel or user scale, current position, font size,
/// foreground colour, line width and style) over one persistent image that the window shows,
/// printing paints and Save As writes. Every drawing call goes straight into the image.
class PlotCanvas {
public:
    /// A box of `width` x `height` pixels, cleared to the background colour.
    PlotCanvas(int width, int height);
    ~PlotCanvas();
    PlotCanvas(const PlotCanvas&) = delete;
    PlotCanvas& operator=(const PlotCanvas&) = delete;

    /// Gives the box a new size in pixels; the picture is cleared and the scale reset to pixels.
    void resize(int width, int height);
    int pixelWidth() const;
    int pixelHeight() const;

    /// Clears to the background colour and moves the current position to the scale's origin.
    void Cls();
    void setBackColor(Rgb colour);
    Rgb backColor() const;

    /// Pixel scale: ScaleLeft = ScaleTop = 0, width and height in pixels.
    void setPixelScale();
    /// User scale; a negative height makes Y grow upwards, as the plots use it.
    void setUserScale(double left, double top, double width, double height);
    bool isPixelScale() const;
    double ScaleLeft() const;
    double ScaleTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;

    double CurrentX() const;
    double CurrentY() const;
    void setCurrentX(double x);
    void setCurrentY(double y);

    void setFontSize(double points);
    double fontSize() const;
    void setForeColor(Rgb colour);
    Rgb foreColor() const;
    void setDrawWidth(int pixels);
    void setDrawStyle(LineStyle style);

    /// A line in the current scale, colour, width and style; the current position moves to its end.
    void Line(double x1, double y1, double x2, double y2);
    /// Prints `text` with its top-left corner at the current position; then, as a picture box
    /// does, CurrentX returns to ScaleLeft and CurrentY moves one text line down.
    void Print(const std::string& text);
    /// Width and height of `text` in the current font, in the current scale's units (>= 0).
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;
    /// Text rotated anticlockwise by `tenthsOfDegree`, its top-left corner (before rotation) at
    /// pixel (x, y), in `family` at `pixelHeight`; the scale and font of the box are unchanged.
    void DrawRotatedText(const std::string& text, double x, double y, int tenthsOfDegree,
                         const std::string& family, int pixelHeight);

    /// Pixel position of a point given in the current scale.
    double toPixelX(double x) const;
    double toPixelY(double y) const;

    const QImage& image() const;

    /// Every call from now on is also handed to `recorder` (tests check geometry with it).
    void setRecorder(std::function<void(const CanvasCall&)> recorder);

private:
    QImage m_image;
    Rgb m_back = 0xE0E0E0;
    Rgb m_fore = 0;
    bool m_pixelScale = true;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    double m_currentX = 0, m_currentY = 0;
    double m_fontSize = 8.25;
    int m_drawWidth = 1;
    LineStyle m_style = LineStyle::Solid;
    std::function<void(const CanvasCall&)> m_recorder;
    QFont m_font;
    // Drawing calls share one painter; image() ends it so that readers see a finished picture.
    mutable std::unique_ptr<QPainter> m_painter;

    // Lines that join end to end in one pen are drawn as one polyline: a curve of many points
    // then costs one call instead of one per point.
    QPolygonF m_pending;
    QPen m_pendingPen;
    bool m_penDirty = true;
    QPointF m_lastEnd;      // where the last line ended (m_pending may have left it out)
    bool m_hasTail = false; // m_lastEnd is not in m_pending yet

    QPainter& painter();
    void flushLines();
    void endPainting() const;
    void record(const CanvasCall& call) const;
};

} // namespace veltrana
