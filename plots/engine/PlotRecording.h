#pragma once

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstddef>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace veltrana {

/// What a plot drew, as drawing commands in the canvas's pixels (96 to the inch). Replayed
/// onto any paint device at that device's own resolution: the screen image, a printer, a PDF
/// writer, an SVG generator. Lines stay lines and texts stay texts on every device.
class PlotRecording {
public:
    struct Fill {
        QColor colour;
    };
    struct Polyline {
        QPolygonF points;
        QColor colour;
        double width = 1; ///< pixels
        Qt::PenStyle style = Qt::SolidLine;
    };
    /// One piece of a text between TABs, its baseline start relative to the text's origin.
    struct TextRun {
        QPointF baseline;
        QString text;
    };
    struct Text {
        QPointF origin;     ///< top-left corner before rotation
        double degrees = 0; ///< anticlockwise
        QString family;
        double pixelSize = 0;
        QColor colour;
        std::vector<TextRun> runs;
    };
    /// A small hollow circle marking a data point.
    struct Marker {
        QPointF centre;
        double radius = 0;
        double width = 1;
        QColor colour;
    };
    /// What follows is drawn only inside `rect` (no rect: anywhere in the picture).
    struct Clip {
        std::optional<QRectF> rect;
    };
    using Command = std::variant<Fill, Polyline, Text, Marker, Clip>;

    /// Forgets every command; the picture becomes `size` filled with `background`.
    void Reset(QSize size, QColor background);
    QSize size() const { return m_size; }
    QColor background() const { return m_background; }
    const std::vector<Command>& commands() const { return m_commands; }
    std::size_t count() const { return m_commands.size(); }

    /// A straight line. A line that starts where the last one ended, in the same pen, extends
    /// that one into a polyline unless Seal was called in between.
    void AddLine(QPointF from, QPointF to, QColor colour, double width, Qt::PenStyle style);
    void AddText(Text text);
    void AddMarker(Marker marker);
    void AddClip(std::optional<QRectF> rect);
    /// Commands added from now on start afresh (what was replayed so far stays as it was).
    void Seal() { m_sealed = m_commands.size(); }

    /// Draws the commands [first, count()) onto `painter`, the canvas's pixel (x, y) going to
    /// target.topLeft() + s * (x, y), s = target.width() / size().width(). Wide lines leave
    /// out points less than a quarter of their width (at least half a device pixel) from the
    /// last one drawn: a curve of many points then costs the stroker what it shows.
    void Replay(QPainter& painter, const QRectF& target, std::size_t first = 0) const;

private:
    QSize m_size;
    QColor m_background;
    std::vector<Command> m_commands;
    std::size_t m_sealed = 0;
};

} // namespace veltrana
