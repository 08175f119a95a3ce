#pragma once

#include <QFrame>
#include <QPointF>
#include <QRectF>

class QRubberBand;

namespace veltrana {

class PlotCanvas;

/// picBox (a frame, so that it is resized as a picture box): shows the canvas's image, as a
/// picture box with AutoRedraw shows its picture. It reports where the pointer is over the
/// plot, and a rectangle dragged on it with the left button (a double click asks for the
/// whole plot again). Points are the canvas's pixels.
class PlotBox : public QFrame {
    Q_OBJECT

public:
    explicit PlotBox(const PlotCanvas& canvas, QWidget* parent = nullptr);

    /// A rectangle smaller than this, either way, is a click rather than a choice.
    static constexpr int kLeastDrag = 5;

signals:
    void pointerMoved(QPointF pixel);
    void pointerLeft();
    void rectangleChosen(QRectF pixels);
    void wholePlotAsked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    /// Whether widget points are the canvas's pixels (not while a resize waits for its redraw).
    bool showsCanvasPixels() const;

    const PlotCanvas& m_canvas;
    QRubberBand* m_band = nullptr;
    QPoint m_dragStart;
    bool m_dragging = false;
};

} // namespace veltrana
