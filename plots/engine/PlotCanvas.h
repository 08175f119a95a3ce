#pragma once

#include "PlotRecording.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRectF>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace veltrana {

/// A 24-bit colour with red in the lowest byte, as the settings store keeps it.
using Rgb = std::uint32_t;
QColor ToQColor(Rgb rgb);
Rgb FromQColor(const QColor& colour);

/// Line styles by their picture-box numbers.
enum class LineStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

/// One drawing call as a test sees it: coordinates in the scale in force when it was made.
struct CanvasCall {
    enum class Kind { Clear, Line, Text, RotatedText, Marker };
    Kind kind = Kind::Clear;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; ///< Line: ends; Text, Marker: the point in x1, y1
    std::string text;
    Rgb colour = 0;
    LineStyle style = LineStyle::Solid;
    int width = 0;       ///< Line: pixels
    double fontSize = 0; ///< Text: points as asked for; RotatedText: pixel height
    int angle = 0;       ///< RotatedText: tenths of a degree
    QRectF box;          ///< Text, RotatedText, Marker: where it went, in pixels
};

/// The plot box: picture-box semantics (pixel or user scale, current position, font size,
/// foreground colour, line width and style) over a recording of everything drawn since the
/// last Cls. The recording is replayed into the image the window shows and onto any other
/// paint device (printer, PDF, SVG) at that device's resolution.
class PlotCanvas {
public:
    /// A box of `width` x `height` pixels, cleared to the background colour.
    PlotCanvas(int width, int height);
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

    /// Font size in points as a plot asks for it; texts are drawn at `points` times the text
    /// scale, never below min(points, the floor), so that a small box keeps readable texts.
    void setFontSize(double points);
    double fontSize() const;
    void setTextScale(double scale, double floorPoints);
    double textScale() const { return m_textScale; }
    void setForeColor(Rgb colour);
    Rgb foreColor() const;
    void setDrawWidth(int pixels);
    int drawWidth() const { return m_drawWidth; }
    void setDrawStyle(LineStyle style);

    /// A line in the current scale, colour, width and style; the current position moves to its end.
    void Line(double x1, double y1, double x2, double y2);
    /// Prints `text` with its top-left corner at the current position; then, as a picture box
    /// does, CurrentX returns to ScaleLeft and CurrentY moves one text line down. TABs move on
    /// to the next stop, every 4.5 ems from the text's start. In pixel scale a text
    /// that would run off the box is drawn smaller (and one starting left of it centred), so
    /// that it shows whole.
    void Print(const std::string& text);
    /// A data marker, a small hollow circle in the foreground colour, centred on (x, y) of the
    /// current scale; `radius` in pixels.
    void Marker(double x, double y, double radius);
    /// What is drawn from now on shows only inside the rectangle between (x1, y1) and (x2, y2)
    /// of the current scale, widened by `pixels` all round; ClearClip lets it show anywhere.
    void Clip(double x1, double y1, double x2, double y2, double pixels);
    void ClearClip();
    /// Width and height of `text` in the current font, in the current scale's units (>= 0).
    double TextWidth(const std::string& text) const;
    double TextHeight(const std::string& text) const;
    /// Where Print would put `text` now, in pixels, and whether that place lies inside the box
    /// and clear of every text printed since Cls.
    QRectF TextBox(const std::string& text) const;
    bool IsClear(const QRectF& pixelBox) const;
    /// Metrics of `family` at `pixelHeight` on this box.
    QFontMetricsF FontMetrics(const std::string& family, double pixelHeight) const;
    /// Text rotated anticlockwise by `tenthsOfDegree`, its top-left corner (before rotation) at
    /// pixel (x, y), in `family` at `pixelHeight`; the scale and font of the box are unchanged.
    void DrawRotatedText(const std::string& text, double x, double y, int tenthsOfDegree,
                         const std::string& family, double pixelHeight);

    /// Pixel position of a point given in the current scale, and back.
    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double fromPixelX(double px) const;
    double fromPixelY(double py) const;

    /// The recording replayed at the box's own size.
    const QImage& image() const;
    const PlotRecording& recording() const { return m_recording; }

    /// Every call from now on is also handed to `recorder` (tests check geometry with it).
    void setRecorder(std::function<void(const CanvasCall&)> recorder);

private:
    QFont DrawingFont() const;
    double effectivePoints() const;
    void record(const CanvasCall& call) const;

    PlotRecording m_recording;
    mutable QImage m_image; // the recording as replayed so far
    mutable std::size_t m_replayed = 0;
    Rgb m_back = 0xE0E0E0;
    Rgb m_fore = 0;
    bool m_pixelScale = true;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    double m_currentX = 0, m_currentY = 0;
    double m_fontSize = 8.25;
    double m_textScale = 1;
    double m_floorPoints = 0;
    int m_drawWidth = 1;
    LineStyle m_style = LineStyle::Solid;
    std::function<void(const CanvasCall&)> m_recorder;
    std::vector<QRectF> m_textBoxes; // printed since Cls, in pixels
};

} // namespace veltrana
