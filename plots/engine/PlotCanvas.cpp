#include "PlotCanvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace veltrana {

namespace {

// 96 dots per inch: point sizes give the same pixels on every machine and in every test.
constexpr int DotsPerMeter = 3780;
constexpr double kPixelsPerPoint = 96.0 / 72.0;
// TAB stops, in ems from the start of the text: room for a value such as -1.23E-10.
constexpr double kTabStop = 4.5;

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

QFont FontOf(const QString& family, double points) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(std::max(points, 0.5));
    return font;
}

struct LaidOut {
    std::vector<PlotRecording::TextRun> runs;
    double width = 0; ///< to the end of the last piece: trailing TABs take no room
    double height = 0;
};

LaidOut LayOut(const QString& text, const QFont& font, const QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    const double tab = kTabStop * font.pointSizeF() * kPixelsPerPoint;
    LaidOut laid;
    laid.height = metrics.height();
    double x = 0;
    bool first = true;
    for (const QString& piece : text.split(QLatin1Char('\t'))) {
        if (!first)
            x = (std::floor(x / tab) + 1) * tab;
        first = false;
        if (piece.isEmpty())
            continue;
        laid.runs.push_back({QPointF(x, metrics.ascent()), piece});
        x += metrics.horizontalAdvance(piece);
        laid.width = x;
    }
    return laid;
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

PlotCanvas::PlotCanvas(int width, int height) {
    resize(width, height);
}

void PlotCanvas::resize(int width, int height) {
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

void PlotCanvas::Cls() {
    m_recording.Reset(m_image.size(), ToQColor(m_back));
    m_replayed = 0;
    m_textBoxes.clear();
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
    if (points > 0 && std::isfinite(points))
        m_fontSize = points;
}

double PlotCanvas::fontSize() const {
    return m_fontSize;
}

void PlotCanvas::setTextScale(double scale, double floorPoints) {
    if (scale > 0 && std::isfinite(scale))
        m_textScale = scale;
    m_floorPoints = std::max(floorPoints, 0.0);
}

double PlotCanvas::effectivePoints() const {
    return std::max(m_fontSize * m_textScale, std::min(m_fontSize, m_floorPoints));
}

QFont PlotCanvas::DrawingFont() const {
    return FontOf(QStringLiteral("Arial"), effectivePoints());
}

void PlotCanvas::setForeColor(Rgb colour) {
    m_fore = colour & 0xFFFFFF;
}
Rgb PlotCanvas::foreColor() const {
    return m_fore;
}
void PlotCanvas::setDrawWidth(int pixels) {
    m_drawWidth = std::max(pixels, 1);
}
void PlotCanvas::setDrawStyle(LineStyle style) {
    m_style = style;
}

double PlotCanvas::toPixelX(double x) const {
    return (x - m_left) * m_image.width() / m_width;
}
double PlotCanvas::toPixelY(double y) const {
    return (y - m_top) * m_image.height() / m_height;
}
double PlotCanvas::fromPixelX(double px) const {
    return m_left + px * m_width / m_image.width();
}
double PlotCanvas::fromPixelY(double py) const {
    return m_top + py * m_height / m_image.height();
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
    call.width = m_drawWidth;
    record(call);

    // What the image shows already stays as it is: the next line starts a polyline of its own.
    if (m_recording.count() == m_replayed)
        m_recording.Seal();
    m_recording.AddLine(QPointF(toPixelX(x1), toPixelY(y1)), QPointF(toPixelX(x2), toPixelY(y2)),
                        ToQColor(m_fore), m_drawWidth, PenStyleOf(m_style));
    m_currentX = x2;
    m_currentY = y2;
}

QRectF PlotCanvas::TextBox(const std::string& text) const {
    const LaidOut laid = LayOut(QString::fromStdString(text), DrawingFont(), &m_image);
    return QRectF(toPixelX(m_currentX), toPixelY(m_currentY), laid.width, laid.height);
}

bool PlotCanvas::IsClear(const QRectF& box) const {
    const QRectF inside(0, 0, m_image.width(), m_image.height());
    if (!inside.contains(box))
        return false;
    return std::none_of(m_textBoxes.begin(), m_textBoxes.end(),
                        [&box](const QRectF& other) { return other.intersects(box); });
}

void PlotCanvas::Print(const std::string& text) {
    const QString qtext = QString::fromStdString(text);
    QFont font = DrawingFont();
    LaidOut laid = LayOut(qtext, font, &m_image);
    QPointF origin(toPixelX(m_currentX), toPixelY(m_currentY));
    const double boxWidth = m_image.width();
    if (m_pixelScale && laid.width > 0 && (origin.x() < 0 || origin.x() + laid.width > boxWidth)) {
        const double room = origin.x() < 0 ? boxWidth - 2 : boxWidth - 1 - origin.x();
        if (room > 0 && room < laid.width) {
            font.setPointSizeF(font.pointSizeF() * room / laid.width);
            laid = LayOut(qtext, font, &m_image);
        }
        if (origin.x() < 0)
            origin.setX((boxWidth - laid.width) / 2);
    }

    CanvasCall call;
    call.kind = CanvasCall::Kind::Text;
    call.x1 = m_currentX;
    call.y1 = m_currentY;
    call.text = text;
    call.colour = m_fore;
    call.fontSize = m_fontSize;
    call.box = QRectF(origin, QSizeF(laid.width, laid.height));
    record(call);

    if (!laid.runs.empty()) {
        m_textBoxes.push_back(call.box);
        m_recording.AddText({origin, 0, font.family(), font.pointSizeF() * kPixelsPerPoint,
                             ToQColor(m_fore), std::move(laid.runs)});
    }
    m_currentX = m_left;
    m_currentY += TextHeight(text) * (m_height < 0 ? -1 : 1);
}

void PlotCanvas::Marker(double x, double y, double radius) {
    const QPointF centre(toPixelX(x), toPixelY(y));
    CanvasCall call;
    call.kind = CanvasCall::Kind::Marker;
    call.x1 = x;
    call.y1 = y;
    call.colour = m_fore;
    call.box = QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    record(call);
    m_recording.AddMarker({centre, radius, std::max(1.0, radius / 3), ToQColor(m_fore)});
}

void PlotCanvas::Clip(double x1, double y1, double x2, double y2, double pixels) {
    const QRectF inside =
        QRectF(QPointF(toPixelX(x1), toPixelY(y1)), QPointF(toPixelX(x2), toPixelY(y2)))
            .normalized()
            .adjusted(-pixels, -pixels, pixels, pixels);
    m_recording.AddClip(inside);
}

void PlotCanvas::ClearClip() {
    m_recording.AddClip(std::nullopt);
}

double PlotCanvas::TextWidth(const std::string& text) const {
    const LaidOut laid = LayOut(QString::fromStdString(text), DrawingFont(), &m_image);
    return laid.width * std::fabs(m_width) / m_image.width();
}

double PlotCanvas::TextHeight(const std::string&) const {
    const QFontMetricsF metrics(DrawingFont(), &m_image);
    return metrics.height() * std::fabs(m_height) / m_image.height();
}

QFontMetricsF PlotCanvas::FontMetrics(const std::string& family, double pixelHeight) const {
    return QFontMetricsF(FontOf(QString::fromStdString(family), pixelHeight / kPixelsPerPoint),
                         &m_image);
}

void PlotCanvas::DrawRotatedText(const std::string& text, double x, double y, int tenthsOfDegree,
                                 const std::string& family, double pixelHeight) {
    const QFont font = FontOf(QString::fromStdString(family), pixelHeight / kPixelsPerPoint);
    LaidOut laid = LayOut(QString::fromStdString(text), font, &m_image);
    const double degrees = tenthsOfDegree / 10.0;
    QTransform turn;
    turn.translate(x, y);
    turn.rotate(-degrees);

    CanvasCall call;
    call.kind = CanvasCall::Kind::RotatedText;
    call.x1 = x;
    call.y1 = y;
    call.text = text;
    call.colour = m_fore;
    call.fontSize = pixelHeight;
    call.angle = tenthsOfDegree;
    call.box = turn.mapRect(QRectF(0, 0, laid.width, laid.height));
    record(call);

    if (!laid.runs.empty()) {
        m_textBoxes.push_back(call.box);
        m_recording.AddText({QPointF(x, y), degrees, font.family(), pixelHeight, ToQColor(m_fore),
                             std::move(laid.runs)});
    }
}

const QImage& PlotCanvas::image() const {
    if (m_replayed < m_recording.count()) {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        m_recording.Replay(painter, QRectF(QPointF(0, 0), m_image.size()), m_replayed);
        m_replayed = m_recording.count();
    }
    return m_image;
}

void PlotCanvas::setRecorder(std::function<void(const CanvasCall&)> recorder) {
    m_recorder = std::move(recorder);
}

void PlotCanvas::record(const CanvasCall& call) const {
    if (m_recorder)
        m_recorder(call);
}

} // namespace veltrana
