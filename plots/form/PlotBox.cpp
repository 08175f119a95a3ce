#include "PlotBox.h"

#include "PlotCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

namespace veltrana {

PlotBox::PlotBox(const PlotCanvas& canvas, QWidget* parent)
    : QFrame(parent), m_canvas(canvas), m_band(new QRubberBand(QRubberBand::Rectangle, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
}

bool PlotBox::showsCanvasPixels() const {
    return m_canvas.pixelWidth() == width() && m_canvas.pixelHeight() == height();
}

void PlotBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage& image = m_canvas.image();
    painter.fillRect(rect(), ToQColor(m_canvas.backColor()));
    if (image.size() == size() || image.isNull()) {
        painter.drawImage(0, 0, image);
        return;
    }
    // Resized since the plot was drawn: the whole plot, scaled to fit, until it is redrawn.
    const QSize fitted = image.size().scaled(size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint((width() - fitted.width()) / 2, 0), fitted), image);
}

void PlotBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !showsCanvasPixels())
        return QFrame::mousePressEvent(event);
    m_dragStart = event->position().toPoint();
    m_dragging = true;
    m_band->setGeometry(QRect(m_dragStart, QSize()));
    m_band->show();
}

void PlotBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (m_dragging)
        m_band->setGeometry(QRect(m_dragStart, at.toPoint()).normalized());
    if (showsCanvasPixels() && rect().contains(at.toPoint()))
        emit pointerMoved(at);
}

void PlotBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton)
        return QFrame::mouseReleaseEvent(event);
    m_dragging = false;
    m_band->hide();
    const QRect chosen = QRect(m_dragStart, event->position().toPoint()).normalized() & rect();
    if (chosen.width() >= kLeastDrag && chosen.height() >= kLeastDrag && showsCanvasPixels())
        emit rectangleChosen(QRectF(chosen));
}

void PlotBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit wholePlotAsked();
}

void PlotBox::leaveEvent(QEvent* event) {
    emit pointerLeft();
    QFrame::leaveEvent(event);
}

} // namespace veltrana
