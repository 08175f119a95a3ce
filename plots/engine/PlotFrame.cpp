#include "PlotFrame.h"

#include "NumberText.h"
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
constexpr double kRotatedPixelHeight = 14;
constexpr double kPixelsPerPoint = 96.0 / 72.0;
// The Y title's centre, as a share of the box's height from the top: midway between the
// second and third Y labels (the axis spans 20/22 of the height, 1/22 above it).
constexpr double kYTitleRow = 7.0 / 22;
// Data markers: radius in pixels of the box as designed.
constexpr double kMarkerRadius = 3;

// The picture box's Int: towards minus infinity.
double Int(double x) {
    return std::floor(x);
}

} // namespace

std::string FormatAxisLabel(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    // Rounded first, and + 0.0 makes -0 plain 0, so that -0.04 does not come out as "-0.0".
    const double rounded = std::round(value * scale) / scale + 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    return buffer;
}

PlotFrame::PlotFrame(PlotCanvas& canvas) : m_canvas(canvas) {}

void PlotFrame::ResetPlotBox() {
    // The reference frame maps onto the plot box, whatever size the window gives it.
    m_screenFactorX = m_canvas.pixelWidth() / kReferenceWidth;
    m_screenFactorY = m_canvas.pixelHeight() / kReferenceHeight;
    m_textScale =
        std::min(m_canvas.pixelWidth() / kDesignedWidth, m_canvas.pixelHeight() / kDesignedHeight);
    m_canvas.setTextScale(m_textScale, kFloorPoints);
    m_canvas.setPixelScale();
    m_canvas.Cls();
}

int PlotFrame::thinWidth() const {
    return std::max(1, RoundToInt(m_canvas.pixelWidth() / kReferenceWidth));
}

double PlotFrame::markerRadius() const {
    return std::max(2.0, kMarkerRadius * m_textScale);
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
                            const std::string& suffix, double y, bool markerSample) {
    const double w = m_canvas.TextWidth(prefix + sample + suffix);
    // Each piece starts where the one before ended as printed, so that none runs into the next.
    double x = Int((m_canvas.ScaleWidth() - w) / 2 + 0.5);
    PrintAt(prefix, x, y);
    SetPlotColour(PlotSettings::Curve1);
    x += m_canvas.TextWidth(prefix);
    if (markerSample) {
        // In pixel scale, as the legend is printed.
        m_canvas.Marker(x + m_canvas.TextWidth(sample) / 2,
                        Int(m_screenFactorY * y + 0.5) + m_canvas.TextHeight(sample) / 2,
                        markerRadius());
    } else {
        x = std::ceil(x);
        PrintAt(sample, x, y);
    }
    SetPlotColour(PlotSettings::Titles);
    x = Int(x + 0.5) + m_canvas.TextWidth(sample);
    PrintAt(suffix, std::ceil(x), y);
}

void PlotFrame::RotateText(const std::string& text, const std::string& angleText, double x,
                           double y) {
    const int escapement = RoundToInt(std::clamp(NumericValue(angleText), -32768.0, 32767.0)) * 10;
    const double pixelHeight =
        std::max(kRotatedPixelHeight * m_textScale,
                 std::min(kRotatedPixelHeight, kFloorPoints * kPixelsPerPoint));
    const QFontMetricsF metrics = m_canvas.FontMetrics(kRotatedFamily, pixelHeight);
    const double h = metrics.height();
    const double l = std::max(0.0, h - pixelHeight); // the internal leading
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
                             kRotatedFamily, pixelHeight);
}

void PlotFrame::DrawFrame(const FrameContext& context, PlotBounds& bounds) {
    SetPlotColour(PlotSettings::Axes);
    DrawXTitle(context);
    DrawTitle(context);

    SetPlotColour(PlotSettings::Axes);
    m_canvas.setFontSize(10);
    // Between the second and third Y labels from the top, so that it meets neither.
    RotateText("Amplitude", "90", m_canvas.ScaleLeft() + 0.95 * m_canvas.ScaleWidth(),
               m_canvas.ScaleTop() + kYTitleRow * m_canvas.ScaleHeight());

    DrawScaleFactors(bounds);
    SetCoordinates(context, bounds);
}

void PlotFrame::DrawXTitle(const FrameContext& context) {
    // The impulse response runs over time; the map's horizontal axis is omega for both
    // filter models.
    const bool map = (context.modelX == -2 || context.modelX == -1) && context.plotCounter == 0;
    const bool frequency =
        context.iPlot != 5 && (context.modelX == -2 || context.iPlot == 3 || map);
    const std::string title = frequency ? "Frequency" : "Time";
    const double x = Int(m_canvas.ScaleLeft() + 0.48 * m_canvas.ScaleWidth() + 0.5);
    const double y = Int(m_canvas.ScaleTop() + 0.48 * m_canvas.ScaleHeight() + 0.5);
    // Beside the notes when they reach the middle of a small box.
    const double step = m_canvas.TextWidth(title) / 4;
    std::vector<QPointF> shifts;
    for (int k = 1; k <= 12; ++k)
        shifts.emplace_back(k * step, 0);
    if (!PrintLabel(title, x, y, shifts))
        PrintAt(title, x, y / m_screenFactorY);
}

void PlotFrame::DrawTitle(const FrameContext& context) {
    SetPlotColour(PlotSettings::Titles);
    m_canvas.setFontSize(14);
    const int c = context.plotCounter;
    const bool filter = context.modelX == -2 || context.modelX == -1;
    if (c == 0 && context.modelX == 0) {
        PrintLegend("Y(", "----", ") and Ydot", kTitleRow);
    } else if (c == 0 && filter) {
        PrintCentred("Poles (X), Zeroes (O) and Doublets (D)", kTitleRow);
    } else if (c == 0 || c == 1) {
        PrintCentred("Error Amplitude", kTitleRow);
    } else if (c == 4) {
        if (context.nOmegaZeros >= 2)
            PrintCentred("Sidelobe: Equal Ripple?", kTitleRow);
    } else if (c == 5) {
        if (context.delayMatched == 1)
            PrintCentred("Group Delay Ripple", kTitleRow);
    } else if (c == 6) {
        // One curve, no data: a DATA legend would name what is not there.
        PrintCentred("Impulse Response h(t)", kTitleRow);
    } else {
        PrintLegend("DATA(", m_settings.blackAndWhite ? "- - -" : "----", ") vs. Model", kTitleRow,
                    context.dataMarkers);
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
    if (!context.zoomed)
        ApplyFixedRange(m_settings.fixedX, m_settings.xMinText, m_settings.xStepText, 10, b.xMin,
                        b.xMax);
    const float dx = static_cast<float>(b.xMax - b.xMin);
    const float mx = 0.05f * dx;
    const double left = b.xMin - mx;
    double width = dx + 2.7f * mx;

    float my = 0;
    if (!context.zoomed && ApplyFixedRange(m_settings.fixedY, m_settings.yMinText,
                                           m_settings.yStepText, 5, b.yMin, b.yMax)) {
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

bool PlotFrame::PrintLabel(const std::string& text, double x, double y,
                           const std::vector<QPointF>& shifts) {
    const auto fitsAt = [&](QPointF shift) {
        m_canvas.setCurrentX(m_canvas.fromPixelX(x + shift.x()));
        m_canvas.setCurrentY(m_canvas.fromPixelY(y + shift.y()));
        return m_canvas.IsClear(m_canvas.TextBox(text));
    };
    bool found = fitsAt(QPointF(0, 0));
    for (size_t i = 0; !found && i < shifts.size(); ++i)
        found = fitsAt(shifts[i]);
    if (found)
        m_canvas.Print(text);
    return found;
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
    const double boxWidth = m_canvas.pixelWidth(), boxHeight = m_canvas.pixelHeight();
    const double pixelX = sw / boxWidth;
    const double pixelY = sh / boxHeight;
    const double s = m_textScale;

    const float start = static_cast<float>(Int(10 * xMin) / 10);
    const float spacing = static_cast<float>(-std::floor(-(xMax - xMin)) / 10);
    // Grid positions beyond the axis would put lines and labels in the margins or off the box.
    const double slack = 1e-6 * std::max(std::fabs(xMax - xMin), std::fabs(xMax));
    std::vector<double> xs;
    for (int i = 0; i < 11; ++i) {
        const float x = start + static_cast<float>(i) * spacing;
        if (x >= xMin - slack && x <= xMax + slack)
            xs.push_back(x);
    }
    if (gx > 0)
        m_canvas.setDrawStyle(static_cast<LineStyle>(gx - 1));
    for (double x : xs) {
        if (gx > 0)
            m_canvas.Line(x, yMin, x, yMax);
        else
            m_canvas.Line(x, axes.ay - 3 * s * pixelY, x, axes.ay + 3 * s * pixelY);
    }
    const double labelRow = m_canvas.toPixelY(m_canvas.ScaleTop() + 0.52 * sh);
    for (double x : xs) {
        const std::string label = FormatAxisLabel(x, 1);
        const double w = m_canvas.TextBox(label).width();
        const double px = std::clamp(m_canvas.toPixelX(x - 0.02 * sw), 1.0, boxWidth - 1 - w);
        PrintLabel(label, px, labelRow, {{-w / 4, 0}, {w / 4, 0}, {-w / 2, 0}, {w / 2, 0}});
    }

    m_canvas.setDrawStyle(gy > 0 ? static_cast<LineStyle>(gy - 1) : LineStyle::Solid);
    for (int j = 0; j < 6; ++j) {
        const double y = yMin + j * (yMax - yMin) / 5;
        if (gy > 0)
            m_canvas.Line(xMin, y, xMax, y);
        else
            m_canvas.Line(axes.ax - 5 * s * pixelX, y, axes.ax + 5 * s * pixelX, y);
    }
    for (int j = 0; j < 6; ++j) {
        const double y = yMin + j * (yMax - yMin) / 5;
        const std::string label = FormatAxisLabel(y, 2);
        const QRectF box = m_canvas.TextBox(label);
        const double px = std::min(m_canvas.toPixelX(m_canvas.ScaleLeft() + 0.95 * sw),
                                   boxWidth - 1 - box.width());
        const double py =
            std::clamp(m_canvas.toPixelY(y) - 9 * s, 1.0, boxHeight - 1 - box.height());
        const double h = box.height();
        PrintLabel(label, px, py, {{0, h / 4}, {0, -h / 4}, {0, h / 2}, {0, -h / 2}});
    }
    m_canvas.setDrawStyle(LineStyle::Solid);
}

namespace {

std::optional<double> BoxNumber(const std::string& text) {
    return ParseNumber(TrimBlanks(text));
}

} // namespace

std::string FixedRangeProblem(bool fixed, const std::string& minText, const std::string& stepText,
                              int steps) {
    if (!fixed)
        return {};
    const std::optional<double> from = BoxNumber(minText), step = BoxNumber(stepText);
    if (TrimBlanks(minText).empty())
        return "the minimum is empty";
    if (!from)
        return "the minimum is not a number";
    if (TrimBlanks(stepText).empty())
        return "the step is empty";
    if (!step)
        return "the step is not a number";
    if (!(*step > 0))
        return "the step is not above 0";
    // The frame works in single precision: bounds beyond it, or a span it cannot tell from
    // none, would leave no scale to draw on.
    const double to = *from + steps * *step;
    const float low = static_cast<float>(*from), high = static_cast<float>(to);
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(high - low) || low == high)
        return "the range is beyond what a plot can show";
    return {};
}

bool ApplyFixedRange(bool fixed, const std::string& minText, const std::string& stepText, int steps,
                     double& min, double& max) {
    if (!fixed || !FixedRangeProblem(fixed, minText, stepText, steps).empty())
        return false;
    min = *BoxNumber(minText);
    max = min + steps * *BoxNumber(stepText);
    return true;
}

} // namespace veltrana
