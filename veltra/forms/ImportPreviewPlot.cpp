#include "ImportPreviewPlot.h"

#include "NumberText.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace veltrana {

namespace {

// Colours with red in the lowest byte.
constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kGrey = 0xB0B0B0;
constexpr Rgb kBlue = 0xC04000;
constexpr Rgb kRed = 0x0000D0;

// Pixels around the frame, for the numbers at its corners.
constexpr double kLeft = 56, kRight = 12, kTop = 18, kBottom = 22;

// The largest value for its corner: three digits say enough there.
std::string Short(double value) {
    if (!(value > 0))
        return GeneralNumber(value);
    const double scale = std::pow(10.0, std::floor(std::log10(value)) - 2);
    return GeneralNumber(std::round(value / scale) * scale);
}

} // namespace

void DrawImportPreview(PlotCanvas& canvas, const PreviewCurve& curve) {
    canvas.setBackColor(kWhite);
    canvas.setPixelScale();
    canvas.Cls();
    canvas.setFontSize(7.5);
    const double width = canvas.pixelWidth(), height = canvas.pixelHeight();
    const double plotWidth = std::max(width - kLeft - kRight, 1.0);
    const double plotHeight = std::max(height - kTop - kBottom, 1.0);
    const std::size_t n = std::min(curve.freqMHz.size(), curve.magnitude.size());

    double x0 = 0, x1 = 1, y1 = 1;
    if (n > 0) {
        x0 = curve.freqMHz.front();
        x1 = curve.freqMHz[n - 1];
        y1 = *std::max_element(curve.magnitude.begin(), curve.magnitude.begin() + n);
    }
    if (!(x1 > x0))
        x1 = x0 + 1;
    if (!(y1 > 0))
        y1 = 1;
    y1 *= 1.05;
    // Data units over the whole box, so that the frame sits inside the margins; Y grows upward.
    const double perX = (x1 - x0) / plotWidth, perY = y1 / plotHeight;
    canvas.setUserScale(x0 - kLeft * perX, y1 + kTop * perY, width * perX, -height * perY);

    canvas.setForeColor(kBlack);
    canvas.setDrawStyle(LineStyle::Solid);
    canvas.Line(x0, 0, x1, 0);
    canvas.Line(x1, 0, x1, y1);
    canvas.Line(x1, y1, x0, y1);
    canvas.Line(x0, y1, x0, 0);
    auto text = [&](const std::string& s, double x, double y) {
        canvas.setCurrentX(x);
        canvas.setCurrentY(y);
        canvas.Print(s);
    };
    text(curve.what, x0, y1 + (kTop - 3) * perY);
    text(Short(y1), x0 - (kLeft - 4) * perX, y1);
    text("0", x0 - 12 * perX, 5 * perY);
    text(GeneralNumber(x0) + " MHz", x0, -4 * perY);
    const std::string right = GeneralNumber(x1) + " MHz";
    text(right, x1 - canvas.TextWidth(right), -4 * perY);
    if (n == 0)
        return;

    canvas.setForeColor(kGrey);
    for (std::size_t i = 1; i < n; ++i)
        canvas.Line(curve.freqMHz[i - 1], curve.magnitude[i - 1], curve.freqMHz[i],
                    curve.magnitude[i]);
    canvas.setForeColor(kBlue);
    canvas.setDrawWidth(2);
    for (std::size_t k = 1; k < curve.selected.size(); ++k) {
        const std::size_t a = curve.selected[k - 1], b = curve.selected[k];
        if (b < n)
            canvas.Line(curve.freqMHz[a], curve.magnitude[a], curve.freqMHz[b], curve.magnitude[b]);
    }
    canvas.setDrawWidth(1);
    canvas.setForeColor(kRed);
    canvas.setDrawStyle(LineStyle::Dash);
    for (const std::optional<double>& bound : {curve.fromMHz, curve.toMHz})
        if (bound && *bound >= x0 && *bound <= x1)
            canvas.Line(*bound, 0, *bound, y1);
    canvas.setDrawStyle(LineStyle::Solid);
}

ImportPreviewPlot::ImportPreviewPlot(QWidget* parent) : QWidget(parent), m_canvas(400, 160) {
    setMinimumSize(240, 120);
}

void ImportPreviewPlot::setCurve(PreviewCurve curve) {
    m_curve = std::move(curve);
    DrawImportPreview(m_canvas, m_curve);
    update();
}

void ImportPreviewPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_canvas.resize(width(), height());
    DrawImportPreview(m_canvas, m_curve);
}

void ImportPreviewPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas.image());
}

} // namespace veltrana
