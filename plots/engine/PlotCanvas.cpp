#include "PlotCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

namespace veltrana {

namespace {

// 96 dots per inch: point sizes give the same pixels on every machine and in every test.
constexpr int DotsPerMeter = 3780;

QImage BlankImage(int width, int height) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMeter);
    image.setDotsPerMeterY(DotsPerMeter);
    return image;
}

Qt::PenStyle PenStyleOf(LineStyle style) {
    switch (style) {
    case LineStyle::Dash:
        return Qt::DashLine;
    case LineStyle::Dot:
        return Qt::DotLine;
    case LineStyle::DashDot:
        return Qt::DashDotLine;
    case LineStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case LineStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

} // namespace

QColor ToQColor(Rgb rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

Rgb FromQColor(const QColor& colour) {
    return static_cast<Rgb>(colour.red()) | (static_cast<Rgb>(colour.green()) << 8) |
           (static_cast<Rgb>(colour.blue()) << 16);
}

PlotCanvas::PlotCanvas(int width, int height) : m_font(QStringLiteral("Arial")) {
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPointSizeF(m_fontSize);
    resize(width, height);
}

PlotCanvas::~PlotCanvas() {
    endPainting();
}

void PlotCanvas::resize(int width, int height) {
    m_pending.clear();
    m_hasTail = false;
    endPainting();
    m_image = BlankImage(width, height);
    setPixelScale();
    Cls();
}

int PlotCanvas::pixelWidth() const {
    return m_image.width();
}
int PlotCanvas::pixelHeight() const {
    return m_image.height();
}

QPainter& PlotCanvas::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    }
    return *m_painter;
}

void PlotCanvas::flushLines() {
    if (m_pending.isEmpty()) {
        return;
    }
    if (m_hasTail) {
        m_pending << m_lastEnd;
        m_hasTail = false;
    }
    QPainter& p = painter();
    p.setPen(m_pendingPen);
    if (m_pending.size() == 2 && m_pending[0] == m_pending[1]) {
        p.drawPoint(m_pending[0]);
    } else {
        p.drawPolyline(m_pending);
    }
    m_pending.clear();
}

void PlotCanvas::endPainting() const {
    // The picture is finished only with the lines still waiting; the canvas is never a const
    // object, only seen through const references.
    const_cast<PlotCanvas*>(this)->flushLines();
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void PlotCanvas::record(const CanvasCall& call) const {
    if (m_recorder) {
        m_recorder(call);
    }
}

void PlotCanvas::Cls() {
    m_pending.clear();
    m_hasTail = false;
    endPainting();
    m_image.fill(ToQColor(m_back));
    m_currentX = 0;
    m_currentY = 0;
    CanvasCall call;
    call.kind = CanvasCall::Kind::Clear;
    call.colour = m_back;
    record(call);
}

void PlotCanvas::setBackColor(Rgb colour) {
    m_back = colour & 0xFFFFFF;
}
Rgb PlotCanvas::backColor() const {
    return m_back;
}

void PlotCanvas::setPixelScale() {
    m_pixelScale = true;
    m_left = 0;
    m_top = 0;
    m_width = m_image.width();
    m_height = m_image.height();
}

void PlotCanvas::setUserScale(double left, double top, double width, double height) {
    // A zero extent would divide by zero in every conversion; a picture box refuses it too.
    if (width == 0 || height == 0 || !std::isfinite(width) || !std::isfinite(height) ||
        !std::isfinite(left) || !std::isfinite(top)) {
        return;
    }
    m_pixelScale = false;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

bool PlotCanvas::isPixelScale() const {
    return m_pixelScale;
}
double PlotCanvas::ScaleLeft() const {
    return m_left;
}
double PlotCanvas::ScaleTop() const {
    return m_top;
}
double PlotCanvas::ScaleWidth() const {
    return m_width;
}
double PlotCanvas::ScaleHeight() const {
    return m_height;
}

double PlotCanvas::CurrentX() const {
    return m_currentX;
}
double PlotCanvas::CurrentY() const {
    return m_currentY;
}
void PlotCanvas::setCurrentX(double x) {
    m_currentX = x;
}
void PlotCanvas::setCurrentY(double y) {
    m_currentY = y;
}

void PlotCanvas::setFontSize(double points) {
    if (points > 0 && std::isfinite(points)) {
        m_fontSize = points;
        m_font.setPointSizeF(points);
    }
}

double PlotCanvas::fontSize() const {
    return m_fontSize;
}
void PlotCanvas::setForeColor(Rgb colour) {
    m_fore = colour & 0xFFFFFF;
    m_penDirty = true;
}
Rgb PlotCanvas::foreColor() const {
    return m_fore;
}
void PlotCanvas::setDrawWidth(int pixels) {
    m_drawWidth = std::max(pixels, 1);
    m_penDirty = true;
}
void PlotCanvas::setDrawStyle(LineStyle style) {
    m_style = style;
    m_penDirty = true;
}

double PlotCanvas::toPixelX(double x) const {
    return (x - m_left) * m_image.width() / m_width;
}
double PlotCanvas::toPixelY(double y) const {
    return (y - m_top) * m_image.height() / m_height;
}

void PlotCanvas::Line(double x1, double y1, double x2, double y2) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::Line;
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.colour = m_fore;
    call.style = m_style;
    record(call);

    if (m_penDirty) {
        // The chosen grid style shows at every line width: on a large plot box the lines are
        // wider than one pixel, and a dotted grid drawn solid would ignore the user's choice.
        const Qt::PenStyle style = PenStyleOf(m_style);
        QPen pen(ToQColor(m_fore), m_drawWidth, style);
        // Solid lines cover both end points, as a picture box draws them.
        pen.setCapStyle(style == Qt::SolidLine ? Qt::SquareCap : Qt::FlatCap);
        if (pen != m_pendingPen) {
            flushLines();
            m_pendingPen = pen;
        }
        m_penDirty = false;
    }
    const QPointF from(toPixelX(x1), toPixelY(y1));
    const QPointF to(toPixelX(x2), toPixelY(y2));
    if (!m_pending.isEmpty() && m_lastEnd == from && from != to) {
        // A wide line hides a step of less than half a pixel: such points are left out, which
        // spares the stroker most of the points of a long curve.
        const QPointF step = to - m_pending.last();
        if (m_pendingPen.width() > 1 && std::fabs(step.x()) < 0.5 && std::fabs(step.y()) < 0.5) {
            m_hasTail = true;
        } else {
            m_pending << to;
            m_hasTail = false;
        }
    } else {
        flushLines();
        m_pending << from << to;
    }
    m_lastEnd = to;
    m_currentX = x2;
    m_currentY = y2;
}

void PlotCanvas::Print(const std::string& text) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::Text;
    call.x1 = m_currentX;
    call.y1 = m_currentY;
    call.text = text;
    call.colour = m_fore;
    call.fontSize = m_fontSize;
    record(call);

    flushLines();
    const QFontMetricsF metrics(m_font, &m_image);
    QPainter& p = painter();
    p.setFont(m_font);
    p.setPen(ToQColor(m_fore));
    p.drawText(QPointF(toPixelX(m_currentX), toPixelY(m_currentY) + metrics.ascent()),
               QString::fromStdString(text));
    m_currentX = m_left;
    m_currentY += TextHeight(text) * (m_height < 0 ? -1 : 1);
}

double PlotCanvas::TextWidth(const std::string& text) const {
    const QFontMetricsF metrics(m_font, &m_image);
    return metrics.horizontalAdvance(QString::fromStdString(text)) * std::fabs(m_width) /
           m_image.width();
}

double PlotCanvas::TextHeight(const std::string&) const {
    const QFontMetricsF metrics(m_font, &m_image);
    return metrics.height() * std::fabs(m_height) / m_image.height();
}

void PlotCanvas::DrawRotatedText(const std::string& text, double x, double y, int tenthsOfDegree,
                                 const std::string& family, int pixelHeight) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::RotatedText;
    call.x1 = x;
    call.y1 = y;
    call.text = text;
    call.colour = m_fore;
    call.fontSize = pixelHeight;
    call.angle = tenthsOfDegree;
    record(call);

    QFont font(QString::fromStdString(family));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(pixelHeight, 1));
    flushLines();
    const QFontMetricsF metrics(font, &m_image);
    QPainter& p = painter();
    p.save();
    p.setFont(font);
    p.setPen(ToQColor(m_fore));
    p.translate(x, y);
    p.rotate(-tenthsOfDegree / 10.0);
    p.drawText(QPointF(0, metrics.ascent()), QString::fromStdString(text));
    p.restore();
}

const QImage& PlotCanvas::image() const {
    endPainting();
    return m_image;
}

void PlotCanvas::setRecorder(std::function<void(const CanvasCall&)> recorder) {
    m_recorder = std::move(recorder);
}

} // namespace veltrana
