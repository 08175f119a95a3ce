#include "PrintPlot.h"

#include "FileBytes.h"
#include "PlotRecording.h"
#include "Text.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QString>

#include <cmath>

namespace veltrana {

std::string PrintFooter(const std::string& resultPath, const std::string& secondHeaderLine) {
    return "Input file name = " + resultPath + "\t\t" +
           "errorSum = " + TrimBlanks(secondHeaderLine);
}

PrintFit FitPicture(int pictureWidth, int pictureHeight, double pageWidth, double pageHeight,
                    double footerHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) {
        return {};
    }
    const double available = pageHeight > 2 * footerHeight ? pageHeight - footerHeight : pageHeight;
    const double r = static_cast<double>(pictureWidth) / pictureHeight;
    const double pageRatio = pageWidth / available;
    if (r >= pageRatio) {
        return {pageWidth, pageWidth / r};
    }
    return {available * r, available};
}

namespace {

bool PaintPage(QPagedPaintDevice& page, const PlotRecording& plot, const std::string& resultPath,
               const std::string& secondHeaderLine) {
    const QSize size = plot.size();
    page.setPageOrientation(size.height() >= size.width() ? QPageLayout::Portrait
                                                          : QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&page)) {
        return false;
    }
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(11);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), painter.device());

    const PrintFit fit = FitPicture(size.width(), size.height(), painter.device()->width(),
                                    painter.device()->height(), metrics.height());
    plot.Replay(painter, QRectF(0, 0, fit.width, fit.height));

    painter.setPen(Qt::black);
    // Tabs stop every eight blanks of this font on this printer; the pieces between them are
    // placed by hand, as the printer's text drawing does not expand tabs reliably.
    const double tabStop = metrics.horizontalAdvance(QLatin1Char(' ')) * 8;
    const double baseline = fit.height + metrics.ascent();
    double x = 0;
    bool afterTab = false;
    for (const QString& piece : QString::fromStdString(PrintFooter(resultPath, secondHeaderLine))
                                    .split(QLatin1Char('\t'))) {
        if (afterTab) {
            x = (std::floor(x / tabStop) + 1) * tabStop;
        }
        painter.drawText(QPointF(x, baseline), piece);
        x += metrics.horizontalAdvance(piece);
        afterTab = true;
    }
    return painter.end();
}

} // namespace

bool TryPrintPlot(QPrinter& printer, const PlotRecording& plot, const std::string& resultPath,
                  const std::string& secondHeaderLine) {
    if (plot.size().isEmpty()) {
        return false;
    }
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty()) {
        return PaintPage(printer, plot, resultPath, secondHeaderLine);
    }
    // Qt's PDF output empties the file when it starts and does not report a failed write:
    // made in memory and saved as every file here is, a PDF that cannot be written keeps the
    // old one and is reported.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    if (!PaintPage(writer, plot, resultPath, secondHeaderLine)) {
        return false;
    }
    const QByteArray& bytes = pdf.data();
    return ReplaceFileBytes(printer.outputFileName().toStdString(),
                            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                            0644) == 0;
}

void PrintPlot(QPrinter& printer, const PlotRecording& plot, const std::string& resultPath,
               const std::string& secondHeaderLine) {
    TryPrintPlot(printer, plot, resultPath, secondHeaderLine);
}

} // namespace veltrana
