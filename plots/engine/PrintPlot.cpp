#include "PrintPlot.h"

#include "Text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
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

bool TryPrintPlot(QPrinter& printer, const QImage& picture, const std::string& resultPath,
                  const std::string& secondHeaderLine) {
    if (picture.isNull()) {
        return false;
    }
    printer.setPageOrientation(picture.height() >= picture.width() ? QPageLayout::Portrait
                                                                   : QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(11);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), painter.device());

    const PrintFit fit = FitPicture(picture.width(), picture.height(), painter.device()->width(),
                                    painter.device()->height(), metrics.height());
    painter.drawImage(QRectF(0, 0, fit.width, fit.height), picture);

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

void PrintPlot(QPrinter& printer, const QImage& picture, const std::string& resultPath,
               const std::string& secondHeaderLine) {
    TryPrintPlot(printer, picture, resultPath, secondHeaderLine);
}

} // namespace veltrana
