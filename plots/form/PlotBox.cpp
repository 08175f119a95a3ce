#include "PlotBox.h"

#include "PlotCanvas.h"

#include <QPainter>

namespace veltrana {

PlotBox::PlotBox(const PlotCanvas& canvas, QWidget* parent) : QFrame(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& image = m_canvas.image();
    painter.fillRect(rect(), ToQColor(m_canvas.backColor()));
    if (image.size() == size() || image.isNull()) {
        painter.drawImage(0, 0, image);
        return;
    }
    // Resized since the plot was drawn: the whole plot, scaled to fit, until the next one.
    const QSize fitted = image.size().scaled(size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint((width() - fitted.width()) / 2, 0), fitted), image);
}

} // namespace veltrana
