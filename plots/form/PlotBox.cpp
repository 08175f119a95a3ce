#include "PlotBox.h"

#include "PlotCanvas.h"

#include <QPainter>

namespace veltrana {

PlotBox::PlotBox(const PlotCanvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& image = m_canvas.image();
    painter.fillRect(rect(), ToQColor(m_canvas.backColor()));
    painter.drawImage(0, 0, image);
}

} // namespace veltrana
