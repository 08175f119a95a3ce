#include "PlotRecording.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace veltrana {

void PlotRecording::Reset(QSize size, QColor background) {
    m_size = size;
    m_background = background;
    m_commands.clear();
    m_commands.emplace_back(Fill{background});
    m_sealed = m_commands.size();
}

void PlotRecording::AddLine(QPointF from, QPointF to, QColor colour, double width,
                            Qt::PenStyle style) {
    if (m_commands.size() > m_sealed) {
        if (auto* last = std::get_if<Polyline>(&m_commands.back());
            last && last->colour == colour && last->width == width && last->style == style &&
            last->points.last() == from) {
            last->points << to;
            return;
        }
    }
    m_commands.emplace_back(Polyline{QPolygonF{from, to}, colour, width, style});
}

void PlotRecording::AddText(Text text) {
    m_commands.emplace_back(std::move(text));
}

void PlotRecording::AddMarker(Marker marker) {
    m_commands.emplace_back(marker);
}

void PlotRecording::AddClip(std::optional<QRectF> rect) {
    m_commands.emplace_back(Clip{rect});
}

namespace {

struct Mapping {
    QPointF origin;
    double scale = 1;
    QPointF operator()(QPointF p) const { return origin + p * scale; }
};

void ReplayPolyline(QPainter& painter, const PlotRecording::Polyline& line, const Mapping& map) {
    const double width = line.width * map.scale;
    QPen pen(line.colour, width, line.style);
    // Solid lines cover both end points, as a picture box draws them; dashes keep their pattern.
    pen.setCapStyle(line.style == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap);
    painter.setPen(pen);
    QPolygonF points;
    points.reserve(line.points.size());
    QPointF tail;
    bool hasTail = false;
    // A point this close to the last one drawn makes no difference a wide pen would show.
    const double hidden = std::max(0.5, width / 4);
    for (QPointF p : line.points) {
        const QPointF device = map(p);
        if (width > 1 && !points.isEmpty()) {
            const QPointF step = device - points.last();
            if (std::fabs(step.x()) < hidden && std::fabs(step.y()) < hidden) {
                // Hidden under the pen; kept aside so that the curve still ends where it should.
                tail = device;
                hasTail = true;
                continue;
            }
        }
        points << device;
        hasTail = false;
    }
    if (hasTail)
        points << tail;
    if (points.size() == 1 || (points.size() == 2 && points[0] == points[1])) {
        painter.drawPoint(points[0]);
    } else if (line.style == Qt::SolidLine && width > 1 && points.size() > 2) {
        // As separate segments, whose square caps close the corners: the stroker then skips
        // working out a join at every point, most of the time a long curve takes.
        QVector<QLineF> segments;
        segments.reserve(points.size() - 1);
        for (qsizetype i = 1; i < points.size(); ++i)
            segments.append(QLineF(points[i - 1], points[i]));
        painter.drawLines(segments);
    } else {
        painter.drawPolyline(points);
    }
}

void ReplayText(QPainter& painter, const PlotRecording::Text& text, const Mapping& map) {
    QFont font(text.family);
    font.setStyleHint(QFont::SansSerif);
    // Sized in the device's own points, so the glyphs are as large on it as on the canvas.
    const double dpi = painter.device()->logicalDpiY();
    font.setPointSizeF(std::max(text.pixelSize * map.scale * 72.0 / dpi, 0.1));
    painter.save();
    painter.setFont(font);
    painter.setPen(text.colour);
    painter.translate(map(text.origin));
    painter.rotate(-text.degrees);
    for (const PlotRecording::TextRun& run : text.runs)
        painter.drawText(run.baseline * map.scale, run.text);
    painter.restore();
}

} // namespace

void PlotRecording::Replay(QPainter& painter, const QRectF& target, std::size_t first) const {
    if (m_size.isEmpty())
        return;
    const Mapping map{target.topLeft(), target.width() / m_size.width()};
    painter.save();
    painter.setClipRect(target);
    for (std::size_t i = first; i < m_commands.size(); ++i) {
        const Command& command = m_commands[i];
        if (const auto* fill = std::get_if<Fill>(&command)) {
            painter.fillRect(target, fill->colour);
        } else if (const auto* line = std::get_if<Polyline>(&command)) {
            ReplayPolyline(painter, *line, map);
        } else if (const auto* text = std::get_if<Text>(&command)) {
            ReplayText(painter, *text, map);
        } else if (const auto* clip = std::get_if<Clip>(&command)) {
            painter.setClipRect(
                clip->rect ? QRectF(map(clip->rect->topLeft()), map(clip->rect->bottomRight()))
                                     .normalized() &
                                 target
                           : target);
        } else if (const auto* marker = std::get_if<Marker>(&command)) {
            painter.setPen(QPen(marker->colour, marker->width * map.scale));
            painter.setBrush(Qt::NoBrush);
            const double r = marker->radius * map.scale;
            painter.drawEllipse(map(marker->centre), r, r);
        }
    }
    painter.restore();
}

} // namespace veltrana
