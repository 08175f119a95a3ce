#pragma once

#include <QWidget>

namespace veltrana {

class PlotCanvas;

/// picBox: shows the canvas's persistent image, as a picture box with AutoRedraw shows its
/// picture.
class PlotBox : public QWidget {
    Q_OBJECT

public:
    explicit PlotBox(const PlotCanvas& canvas, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PlotCanvas& m_canvas;
};

} // namespace veltrana
