#pragma once

#include <QFrame>

namespace veltrana {

class PlotCanvas;

/// picBox (a frame, so that it is resized as a picture box): shows the canvas's persistent image,
/// as a picture box with AutoRedraw shows its picture.
class PlotBox : public QFrame {
    Q_OBJECT

public:
    explicit PlotBox(const PlotCanvas& canvas, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PlotCanvas& m_canvas;
};

} // namespace veltrana
