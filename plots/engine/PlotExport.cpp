#include "PlotExport.h"

#include "PlotRecording.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace veltrana {

namespace {

constexpr int kDotsPerMeter = 3780; // 96 to the inch, as the canvas measures
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr int kPdfResolution = 1200;

std::optional<QByteArray> Picture(const PlotRecording& plot, const char* format) {
    QImage image(plot.size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        plot.Replay(painter, QRectF(QPointF(0, 0), plot.size()));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return std::nullopt;
    return bytes;
}

// The plot replayed onto `device` (writing into the buffer the bytes are kept in) over `page`.
bool ReplayOn(QPaintDevice& device, const PlotRecording& plot, const QRectF& page) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    plot.Replay(painter, page);
    return painter.end();
}

std::optional<QByteArray> Svg(const PlotRecording& plot) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(96);
    svg.setSize(plot.size());
    svg.setViewBox(QRect(QPoint(0, 0), plot.size()));
    svg.setTitle(QStringLiteral("plots"));
    if (!ReplayOn(svg, plot, QRectF(QPointF(0, 0), plot.size())))
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> Pdf(const PlotRecording& plot) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kPdfResolution);
    pdf.setPageSize(QPageSize(QSizeF(plot.size()) * kPointsPerPixel, QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("plots"));
    if (!ReplayOn(pdf, plot, QRectF(0, 0, pdf.width(), pdf.height())))
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> PlotFileBytes(const PlotRecording& plot, PlotFileType type) {
    if (plot.size().isEmpty())
        return std::nullopt;
    switch (type) {
    case PlotFileType::Bitmap:
        return Picture(plot, "BMP");
    case PlotFileType::Png:
        return Picture(plot, "PNG");
    case PlotFileType::Svg:
        return Svg(plot);
    case PlotFileType::Pdf:
        return Pdf(plot);
    }
    return std::nullopt;
}

} // namespace veltrana
