#include "PlotFrame.h"

#include "Text.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace veltrana {

namespace {

constexpr double kReferenceWidth = 640;
constexpr double kReferenceHeight = 480;
constexpr int kTitleRow = 30;
constexpr const char* kRotatedFamily = "Arial";
constexpr int kRotatedPixelHeight = 14;

// The picture box's Int: towards minus infinity.
double Int(double x) {
    return std::floor(x);
}

} // namespace

std::string FormatAxisLabel(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Rounded first so that -0.04 does not come out as "-0.0".
    const double rounded = std::round(value * scale) / scale + 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded == 0 ? 0.0 : rounded);
    return buffer;
}

PlotFrame::PlotFrame(PlotCanvas& canvas) : m_canvas(canvas) {}

void PlotFrame::ResetPlotBox() {
    // The reference frame maps onto the plot box, whatever size the window gives it.
    m_screenFactorX = m_canvas.pixelWidth() / kReferenceWidth;
    m_screenFactorY = m_canvas.pixelHeight() / kReferenceHeight;
    m_canvas.setPixelScale();
    m_canvas.Cls();
}

int PlotFrame::thinWidth() const {
    return std::max(1, RoundToInt(m_canvas.pixelWidth() / kReferenceWidth));
}

Rgb PlotFrame::PlotColour(int slot) const {
    if (m_settings.blackAndWhite || slot < 0 || slot >= static_cast<int>(m_settings.colours.size()))
        return 0;
    return m_settings.colours[static_cast<size_t>(slot)];
}

void PlotFrame::SetPlotColour(int slot) {
    m_canvas.setForeColor(PlotColour(slot));
}

void PlotFrame::PrintAt(const std::string& text, double x, double y) {
    if (m_canvas.isPixelScale()) {
        m_canvas.setCurrentX(Int(x + 0.5));
        m_canvas.setCurrentY(Int(m_screenFactorY * y + 0.5));
    } else {
        m_canvas.setCurrentX(x);
        m_canvas.setCurrentY(y);
    }
    m_canvas.Print(text);
}

void PlotFrame::PrintCentred(const std::string& text, double y) {
    const double x = RoundToInt((m_canvas.ScaleWidth() - m_canvas.TextWidth(text)) / 2);
    PrintAt(text, x, y);
}

void PlotFrame::PrintLegend(const std::string& prefix, const std::string& sample,
                            const std::string& suffix, double y) {
    const double w = m_canvas.TextWidth(prefix + sample + suffix);
    double x = (m_canvas.ScaleWidth() - w) / 2;
    PrintAt(prefix, x, y);
    SetPlotColour(PlotSettings::Curve1);
    x += m_canvas.TextWidth(prefix);
    PrintAt(sample, x, y);
    SetPlotColour(PlotSettings::Titles);
    x += m_canvas.TextWidth(sample);
    PrintAt(suffix, x, y);
}

void PlotFrame::RotateText(const std::string& text, const std::string& angleText, double x,
                           double y) {
    const int escapement = RoundToInt(std::clamp(NumericValue(angleText), -32768.0, 32767.0)) * 10;
    QFont font(kRotatedFamily);
    font.setStyleHint(QFont::SansSerif); // the same face the canvas draws with
    font.setPixelSize(kRotatedPixelHeight);
    const QFontMetricsF metrics(font);
    const double h = metrics.height();
    const double l = std::max(0.0, h - kRotatedPixelHeight); // the internal leading
    const double h1 = h - l;
    const double w = metrics.horizontalAdvance(QString::fromStdString(text));
    const double a = escapement / 10.0 * std::numbers::pi / 180;
    const double b = std::numbers::pi / 2 - a;
    const double w1 = w * std::cos(a) + h1 * std::cos(b);
    const double height1 = w * std::sin(a) + h1 * std::sin(b);
    const double w2 = w * std::cos(a) + h * std::cos(b);
    const double height2 = w * std::sin(a) + h * std::sin(b);
    const double x0 = x - w1 / 2;
    const double y0 = y - height1 / 2 + w * std::sin(a);
    m_canvas.DrawRotatedText(text, x0 - (w2 - w1), y0 - (height2 - height1), escapement,
                             kRotatedFamily, kRotatedPixelHeight);
}

void PlotFrame::DrawFrame(const FrameContext& context, PlotBounds& bounds) {
    SetPlotColour(PlotSettings::Axes);
    const bool frequency = context.modelX == -2 || context.iPlot == 3;
    PrintAt(frequency ? "Frequency" : "Time", m_canvas.ScaleLeft() + 0.48 * m_canvas.ScaleWidth(),
            (m_canvas.ScaleTop() + 0.48 * m_canvas.ScaleHeight()) / m_screenFactorY);

    DrawTitle(context);

    SetPlotColour(PlotSettings::Axes);
    m_canvas.setFontSize(10);
    RotateText("Amplitude", "90", m_canvas.ScaleLeft() + 0.95 * m_canvas.ScaleWidth(),
               m_canvas.ScaleTop() + 0.3 * m_canvas.ScaleHeight());

    DrawScaleFactors(bounds);
    SetCoordinates(context, bounds);
}

void PlotFrame::DrawTitle(const FrameContext& context) {
    SetPlotColour(PlotSettings::Titles);
    m_canvas.setFontSize(14);
    const int c = context.plotCounter;
    if (c == 0 && context.modelX == 0) {
        PrintLegend("Y(", "----", ") and Ydot", kTitleRow);
    } else if (c == 0 && context.modelX == -2) {
        PrintCentred("Poles (X), Zeroes (O) and Doublets (D)", kTitleRow);
    } else if (c == 0 || c == 1) {
        PrintCentred("Error Amplitude", kTitleRow);
    } else if (c == 4) {
        if (context.nOmegaZeros >= 2)
            PrintCentred("Sidelobe: Equal Ripple?", kTitleRow);
    } else if (c == 5) {
        if (context.delayMatched == 1)
            PrintCentred("Group Delay Ripple", kTitleRow);
    } else {
        PrintLegend("DATA(", m_settings.blackAndWhite ? "- - -" : "----", ") vs. Model", kTitleRow);
    }
}

void PlotFrame::DrawScaleFactors(const PlotBounds& bounds) {
    SetPlotColour(PlotSettings::Axes);
    if (bounds.xExp == 0 && bounds.yExp == 0)
        return;
    PrintAt("Scale Factor", 15, 70);
    PrintAt("============", 15, 85);
    int row = 100;
    if (bounds.xExp != 0) {
        PrintAt("X-axis = 10E" + std::to_string(bounds.xExp), 15, row);
        row = 115;
    }
    if (bounds.yExp != 0)
        PrintAt("Y-axis = 10E" + std::to_string(bounds.yExp), 15, row);
}

void PlotFrame::SetCoordinates(const FrameContext& context, PlotBounds& b) {
    ApplyFixedRange(m_settings.fixedX, m_settings.xMinText, m_settings.xStepText, 10, b.xMin,
                    b.xMax);
    const float dx = static_cast<float>(b.xMax - b.xMin);
    const float mx = 0.05f * dx;
    const double left = b.xMin - mx;
    double width = dx + 2.7f * mx;

    float my = 0;
    if (ApplyFixedRange(m_settings.fixedY, m_settings.yMinText, m_settings.yStepText, 5, b.yMin,
                        b.yMax)) {
        my = 0.05f * static_cast<float>(b.yMax - b.yMin);
        const bool map = (context.modelX == -1 || context.modelX == -2) && context.plotCounter == 0;
        if (map) {
            my = -my;
            const float oldMin = static_cast<float>(b.yMin);
            b.yMin = b.yMax;
            b.yMax = oldMin;
        }
    } else {
        my = 0.05f * static_cast<float>(b.yMax - b.yMin);
    }
    const double top = b.yMax + my;
    double height = -(b.yMax - b.yMin) - 2 * my;
    // A degenerate span would make the scale undefined; keep a unit box instead.
    if (width == 0 || !std::isfinite(width))
        width = 1;
    if (height == 0 || !std::isfinite(height))
        height = -1;
    m_canvas.setUserScale(left, top, width, height);
}

void PlotFrame::Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int) {
    const AxisPositions axes = DrawAxes(modelX, xMin, xMax, yMin, yMax);
    DrawGridAndLabels(xMin, xMax, yMin, yMax, axes);
}

PlotFrame::AxisPositions PlotFrame::DrawAxes(int modelX, double xMin, double xMax, double yMin,
                                             double yMax) {
    AxisPositions p;
    if (xMin * xMax > 0 || modelX == 0)
        p.ax = xMin;
    if (yMin * yMax > 0)
        p.ay = yMin;
    m_canvas.setDrawWidth(std::max(1, RoundToInt(2 * m_canvas.pixelWidth() / kReferenceWidth)));
    m_canvas.setDrawStyle(LineStyle::Solid);
    m_canvas.setForeColor(PlotColour(PlotSettings::Axes));
    m_canvas.Line(xMin, p.ay, xMax, p.ay);
    m_canvas.Line(p.ax, yMin, p.ax, yMax);
    m_canvas.setDrawWidth(thinWidth());
    return p;
}

void PlotFrame::DrawGridAndLabels(double xMin, double xMax, double yMin, double yMax,
                                  AxisPositions axes) {
    static constexpr int kFlags[4][2] = {{0, 0}, {1, 1}, {1, 0}, {0, 1}};
    const int lines = std::clamp(m_settings.gridLines, 0, 3);
    const int type = std::clamp(m_settings.gridType, 0, 3);
    const int lineFlag = type == 3 ? 5 : type + 1;
    const int gx = kFlags[lines][0] ? lineFlag : 0;
    const int gy = kFlags[lines][1] ? lineFlag : 0;

    const double sw = m_canvas.ScaleWidth(), sh = m_canvas.ScaleHeight();
    const double pixelX = sw / m_canvas.pixelWidth();
    const double pixelY = sh / m_canvas.pixelHeight();

    const float start = static_cast<float>(Int(10 * xMin) / 10);
    const float spacing = static_cast<float>(-std::floor(-(xMax - xMin)) / 10);
    if (gx > 0)
        m_canvas.setDrawStyle(static_cast<LineStyle>(gx - 1));
    for (int i = 0; i < 11; ++i) {
        const float x = start + static_cast<float>(i) * spacing;
        if (gx > 0)
            m_canvas.Line(x, yMin, x, yMax);
        else
            m_canvas.Line(x, axes.ay - 3 * pixelY, x, axes.ay + 3 * pixelY);
    }
    for (int i = 0; i < 11; ++i) {
        const float x = start + static_cast<float>(i) * spacing;
        m_canvas.setCurrentX(x - 0.02 * sw);
        m_canvas.setCurrentY(m_canvas.ScaleTop() + 0.52 * sh);
        m_canvas.Print(FormatAxisLabel(x, 1));
    }

    m_canvas.setDrawStyle(gy > 0 ? static_cast<LineStyle>(gy - 1) : LineStyle::Solid);
    for (int j = 0; j < 6; ++j) {
        const double y = yMin + j * (yMax - yMin) / 5;
        if (gy > 0)
            m_canvas.Line(xMin, y, xMax, y);
        else
            m_canvas.Line(axes.ax - 5 * pixelX, y, axes.ax + 5 * pixelX, y);
    }
    for (int j = 0; j < 6; ++j) {
        const double y = yMin + j * (yMax - yMin) / 5;
        m_canvas.setCurrentX(m_canvas.ScaleLeft() + 0.95 * sw);
        m_canvas.setCurrentY(y - 9 * pixelY);
        m_canvas.Print(FormatAxisLabel(y, 2));
    }
    m_canvas.setDrawStyle(LineStyle::Solid);
}

bool ApplyFixedRange(bool fixed, const std::string& minText, const std::string& stepText, int steps,
                     double& min, double& max) {
    if (!fixed)
        return false;
    const double step = NumericValue(stepText);
    // An empty step box is accepted by the form; a zero span would leave no axis to draw.
    if (step == 0 || !std::isfinite(step))
        return false;
    const double from = NumericValue(minText), to = from + steps * step;
    // The frame works in single precision: bounds beyond it, or a span it cannot tell from
    // none, would leave no scale to draw on.
    const float low = static_cast<float>(from), high = static_cast<float>(to);
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(high - low) || low == high)
        return false;
    min = from;
    max = to;
    return true;
}

} // namespace veltrana
