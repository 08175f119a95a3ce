#pragma once

#include "PlotCanvas.h"

#include <QWidget>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// What the import dialog's small plot shows: the measured magnitude over frequency, the
/// points that will come in, and the bounds of the chosen range.
struct PreviewCurve {
    std::vector<double> freqMHz;
    std::vector<double> magnitude;
    std::vector<std::size_t> selected; ///< indices of the points that come in, ascending
    std::optional<double> fromMHz, toMHz;
    std::string what; ///< "|S21|", or the name of the Yout column
};

/// Draws the preview on `canvas`: a frame with the frequency and magnitude spans written at
/// its corners, the whole curve in grey, the points that come in joined in blue, and the
/// range's bounds as dashed red lines. An empty curve leaves the frame empty.
void DrawImportPreview(PlotCanvas& canvas, const PreviewCurve& curve);

/// The widget that shows the preview at its own size.
class ImportPreviewPlot : public QWidget {
    Q_OBJECT

public:
    explicit ImportPreviewPlot(QWidget* parent = nullptr);
    void setCurve(PreviewCurve curve);
    const PlotCanvas& canvas() const { return m_canvas; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    PreviewCurve m_curve;
    PlotCanvas m_canvas;
};

} // namespace veltrana
