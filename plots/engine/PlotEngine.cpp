#include "PlotEngine.h"

#include "AxisScaling.h"
#include "NumberText.h"
#include "PlotNotes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrana {

namespace {

constexpr Rgb kRed = 0x0000FF; // red in the lowest byte
// The data's line beneath the model, in widths of the model's line.
constexpr int kDataLineWidth = 3;

bool IsFilter(int model) {
    return model == -2 || model == -1;
}

// Widens [lo, hi] to take in every value.
void TakeRange(const std::vector<double>& values, double& lo, double& hi) {
    for (double v : values) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

void Divide(std::vector<double>& values, double divisor) {
    for (double& v : values)
        v /= divisor;
}

int PointCount(const ResultData& d) {
    return std::max(d.nPoints, 0);
}

// Why a range cannot be drawn, or "" when it can.
std::string RangeProblem(const char* axis, double lo, double hi) {
    if (std::isfinite(hi - lo))
        return {};
    // A value beyond the largest double comes from adding two columns near it.
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return std::string("Some ") + axis + " values of this plot are too large to draw.";
    return std::string("The ") + axis + " values of this plot run from " + GeneralNumber(lo) +
           " to " + GeneralNumber(hi) + ", a range too wide to draw.";
}

} // namespace

PlotEngine::PlotEngine(PlotCanvas& canvas, ResultFile& file, PlotHost& host)
    : m_canvas(canvas), m_file(file), m_host(host), m_frame(canvas) {}

void PlotEngine::reset() {
    m_plotStep = 0;
    m_iPlot = 0;
}

void PlotEngine::Log(const std::string& message) {
    m_host.appendOutput("\r\n\t" + message);
}

FrameContext PlotEngine::Context(const Shown& shown) const {
    const ResultData& d = shown.data;
    FrameContext context{d.modelX, shown.iPlot, shown.counter, d.nOmegaZeros, d.delayMatched};
    context.zoomed = shown.zoom.has_value();
    context.dataMarkers = shown.iPlot == 2 && PointCount(d) <= kMarkerLimit;
    return context;
}

bool PlotEngine::ReadSection(ResultSection section, const char* warning) {
    switch (m_file.ReadSection(section)) {
    case ReadStatus::Ok:
        return true;
    case ReadStatus::Corrupted:
        // The reader has said what is wrong; a second message would only repeat it.
        m_host.setNextEnabled(false);
        m_host.fileDamaged();
        return false;
    case ReadStatus::NoData:
    case ReadStatus::NoFile:
        break;
    }
    m_host.ShowFatal(warning);
    return false;
}

void PlotEngine::PlotNext() {
    m_host.showPlotPage();
    m_frame.setSettings(m_host.plotSettings());
    const ResultData& d = data();
    const int model = d.modelX;

    if (m_plotStep == 0) {
        m_iPlot = 1;
        m_yPlotA = d.pointY2;
        m_yPlotB = d.pointY1;
        m_yPlotC.assign(d.pointY1.size(), 0.0);
        if (model == 110) {
            m_yPlotC = m_yPlotA;
            for (size_t i = 0; i < m_yPlotA.size() && i < m_yPlotB.size(); ++i)
                m_yPlotA[i] = m_yPlotB[i] + m_yPlotC[i];
        }
        if (IsFilter(model)) {
            Log("Plotting -Map of Poles & Zeros-");
            Show(true);
            m_plotStep = 1;
            return;
        }
    }
    if (m_plotStep == 0 || m_plotStep == 1) {
        Log("Calling 1st line plot");
        Show(false);
        m_plotStep = 2;
        if (model == 0 || model == 110)
            m_host.setNextEnabled(false);
        return;
    }
    if (m_plotStep == 2) {
        // The model curve is the sum of the two columns.
        std::vector<double> sum = d.pointY2;
        for (size_t i = 0; i < sum.size() && i < d.pointY1.size(); ++i)
            sum[i] += d.pointY1[i];
        m_iPlot = 2;
        if (model >= 1 && model <= 8) {
            m_yPlotA = std::move(sum);
            m_yPlotB = d.pointY1;
        } else {
            m_yPlotB = std::move(sum);
            m_yPlotA = d.pointY1;
        }
        Log("Calling 2nd line plot ... Curve vs. Data plot");
        m_plotStep = 3;
        Show(false);
        if (!IsFilter(model))
            m_host.setNextEnabled(false);
        return;
    }
    if (m_plotStep == 3) {
        if (d.nOmegaZeros < 2) {
            m_plotStep = 4;
        } else {
            if (!ReadSection(ResultSection::Sidelobe, "==Warning== No Sidelobe data in file"))
                return;
            m_iPlot = 3;
            m_yPlotA = data().pointY2;
            Log("Calling 3rd line plot ... Sidelobe plot");
            m_plotStep = 4;
            Show(false);
            return;
        }
    }
    if (m_plotStep == 4) {
        if (d.delayMatched != 1) {
            m_plotStep = 5;
        } else {
            if (!ReadSection(ResultSection::Ripple, "==Warning== No Ripple data in file"))
                return;
            m_iPlot = 4;
            m_yPlotA = data().pointY2;
            Log("Calling 3rd or 4th plot ... Ripple plot");
            m_plotStep = 5;
            Show(false);
            if (model == -2)
                m_host.setNextEnabled(false);
            return;
        }
    }
    if (m_plotStep == 5) {
        if (!ReadSection(ResultSection::ImpulseResponse, "==Warning== No h(t) data in file"))
            return;
        m_iPlot = 5;
        m_yPlotA = data().pointY2;
        Log("Calling 4th or 5th plot ... h(t) response");
        m_plotStep = 6;
        Show(false);
        m_plotStep = 0;
        m_host.setNextEnabled(false);
    }
}

void PlotEngine::Show(bool map) {
    Shown shown;
    shown.map = map;
    shown.iPlot = m_iPlot;
    shown.counter = m_plotStep;
    shown.data = data();
    shown.a = m_yPlotA;
    shown.b = m_yPlotB;
    shown.c = m_yPlotC;
    shown.settings = m_frame.settings();
    shown.time = m_clock();
    m_shown = std::move(shown);
    std::string refusal;
    if (Draw(*m_shown, true, &refusal))
        m_host.plotDrawn();
    else
        m_host.plotRefused(refusal);
}

bool PlotEngine::Redraw() {
    if (!m_shown)
        return false;
    std::string ignored;
    return Draw(*m_shown, false, &ignored);
}

bool PlotEngine::Draw(const Shown& shown, bool log, std::string* refusal) {
    m_frame.setSettings(shown.settings);
    m_frame.ResetPlotBox();
    m_drawn = shown.map ? DrawMap(shown, log, refusal) : DrawCurves(shown, log, refusal);
    if (!m_drawn) {
        m_canvas.setPixelScale();
        m_canvas.Cls();
    }
    return m_drawn;
}

PlotEngine::Range PlotEngine::XRange(const Shown& shown) const {
    if (shown.zoom)
        return shown.zoom->first;
    const std::vector<double>& x = shown.data.pointX;
    Range r{x.empty() ? 0 : x.front(), x.empty() ? 0 : x.back()};
    if (r.hi < r.lo)
        std::swap(r.lo, r.hi);
    return r;
}

PlotEngine::Range PlotEngine::YRange(const Shown& shown) const {
    if (shown.zoom)
        return shown.zoom->second;
    const int model = shown.data.modelX;
    constexpr double inf = std::numeric_limits<double>::infinity();
    Range r{inf, -inf};
    TakeRange(shown.a, r.lo, r.hi);
    if (model == 0 || shown.iPlot == 2) {
        r = {inf, -inf};
        TakeRange(shown.b, r.lo, r.hi);
        if (shown.iPlot == 2)
            TakeRange(shown.a, r.lo, r.hi);
    } else if (model == 110) {
        TakeRange(shown.b, r.lo, r.hi);
        TakeRange(shown.c, r.lo, r.hi);
    }
    if (r.lo > r.hi) // nothing to draw
        r = {0, 0};
    return r;
}

void PlotEngine::ScaleAxisOf(const Shown& shown, Range range, bool xAxis, std::string& log) {
    const PlotSettings& s = shown.settings;
    if (xAxis) {
        ScaleXAxis(range.lo, range.hi, m_bounds.xExp, log);
        if (!shown.zoom)
            ApplyFixedRange(s.fixedX, s.xMinText, s.xStepText, 10, range.lo, range.hi);
        m_bounds.xMin = range.lo;
        m_bounds.xMax = range.hi;
    } else {
        ScaleYAxis(range.lo, range.hi, m_bounds.yExp, log);
        if (!shown.zoom)
            ApplyFixedRange(s.fixedY, s.yMinText, s.yStepText, 5, range.lo, range.hi);
        m_bounds.yMin = range.lo;
        m_bounds.yMax = range.hi;
    }
}

bool PlotEngine::DrawCurves(const Shown& shown, bool log, std::string* refusal) {
    const Range xRange = XRange(shown), yRange = YRange(shown);
    *refusal = RangeProblem("X", xRange.lo, xRange.hi);
    if (refusal->empty())
        *refusal = RangeProblem("Y", yRange.lo, yRange.hi);
    if (!refusal->empty())
        return false;

    const ResultData& d = shown.data;
    const int model = d.modelX;
    std::vector<double> x = d.pointX, a = shown.a, b = shown.b, c = shown.c;
    DrawPlotNotes(m_frame, d, shown.iPlot, shown.time);

    std::string scaleLog;
    ScaleAxisOf(shown, xRange, true, scaleLog);
    Divide(x, std::pow(10.0, m_bounds.xExp));
    ScaleAxisOf(shown, yRange, false, scaleLog);
    if (log)
        m_host.appendOutput(scaleLog);

    if (model == 0 && !a.empty()) {
        // Ydot is drawn on the range of Y; its own range is printed instead.
        constexpr double inf = std::numeric_limits<double>::infinity();
        double lo = inf, hi = -inf, yLo = inf, yHi = -inf;
        TakeRange(a, lo, hi);
        TakeRange(b, yLo, yHi);
        if (yLo > yHi)
            yLo = yHi = 0;
        const double r = hi - lo == 0 ? 1 : hi - lo;
        m_frame.PrintAt("Ydot Range... ", 15, 15);
        m_frame.PrintAt("Min: " + GeneralNumber(lo) + "\tMax: " + GeneralNumber(hi), 15, 30);
        // Each share taken before the product, so that values near the largest doubles
        // stay numbers.
        for (double& v : a)
            v = (v - lo) / r * yHi + (hi - v) / r * yLo;
    }
    const double divisor = std::pow(10.0, m_bounds.yExp);
    Divide(a, divisor);
    if (model == 0 || shown.iPlot == 2 || model == 110)
        Divide(b, divisor);
    if (model == 110)
        Divide(c, divisor);

    m_frame.DrawFrame(Context(shown), m_bounds);
    m_frame.Grid(model, m_bounds.xMin, m_bounds.xMax, m_bounds.yMin, m_bounds.yMax, shown.iPlot);
    // A zoom or a fixed range leaves parts of the curves beyond the axes: they stay off the
    // titles and labels around them.
    m_canvas.Clip(m_bounds.xMin, m_bounds.yMin, m_bounds.xMax, m_bounds.yMax,
                  kDataLineWidth * m_frame.thinWidth());
    PlotCurves(shown, x, a, b, c);
    m_canvas.ClearClip();
    return true;
}

void PlotEngine::PlotCurves(const Shown& shown, std::vector<double>& x, std::vector<double>& a,
                            std::vector<double>& b, std::vector<double>& c) {
    const PlotSettings& s = shown.settings;
    const bool bw = s.blackAndWhite;
    const Rgb curve1 = s.colours[PlotSettings::Curve1];
    const Rgb curve2 = s.colours[PlotSettings::Curve2];
    const auto style = [&](LineStyle inBlackAndWhite) {
        m_canvas.setDrawStyle(bw ? inBlackAndWhite : LineStyle::Solid);
    };
    const int n = PointCount(shown.data);
    const int model = shown.data.modelX;
    m_canvas.setDrawStyle(LineStyle::Solid);
    switch (shown.iPlot) {
    case 1:
        if (model == 0) {
            DrawPolyline(x, b, n, curve1);
            style(LineStyle::Dash);
            DrawPolyline(x, a, n, kRed);
        } else if (model == 110) {
            DrawPolyline(x, b, n, curve1);
            style(LineStyle::Dash);
            DrawPolyline(x, c, n, curve2);
            style(LineStyle::Dot);
            DrawPolyline(x, a, n, kRed);
            DrawPolyline(x, a, n, kRed);
        } else {
            DrawPolyline(x, a, n, kRed);
        }
        break;
    case 2:
        // The data stay visible under a close fit: few points as markers above the model,
        // many as a wide line beneath it.
        if (Context(shown).dataMarkers) {
            DrawPolyline(x, a, n, curve2);
            DrawMarkers(x, b, n, curve1);
        } else {
            const int thin = m_canvas.drawWidth();
            m_canvas.setDrawWidth(kDataLineWidth * thin);
            style(LineStyle::Dash);
            DrawPolyline(x, b, n, curve1);
            m_canvas.setDrawWidth(thin);
            m_canvas.setDrawStyle(LineStyle::Solid);
            DrawPolyline(x, a, n, curve2);
        }
        break;
    case 3:
        DrawPolyline(x, a, n, curve2);
        break;
    default:
        DrawPolyline(x, a, n, kRed);
        break;
    }
    m_canvas.setDrawStyle(LineStyle::Solid);
}

void PlotEngine::DrawPolyline(const std::vector<double>& x, const std::vector<double>& values,
                              int n, Rgb colour) {
    m_canvas.setForeColor(m_frame.settings().blackAndWhite ? 0 : colour);
    const size_t count = std::min({x.size(), values.size(), static_cast<size_t>(n)});
    for (size_t i = 1; i < count; ++i)
        m_canvas.Line(x[i - 1], values[i - 1], x[i], values[i]);
}

void PlotEngine::DrawMarkers(const std::vector<double>& x, const std::vector<double>& values, int n,
                             Rgb colour) {
    m_canvas.setForeColor(m_frame.settings().blackAndWhite ? 0 : colour);
    const double radius = m_frame.markerRadius();
    const size_t count = std::min({x.size(), values.size(), static_cast<size_t>(n)});
    for (size_t i = 0; i < count; ++i)
        m_canvas.Marker(x[i], values[i], radius);
}

bool PlotEngine::DrawMap(const Shown& shown, bool log, std::string* refusal) {
    const ResultData& d = shown.data;
    const auto at = [](const std::vector<double>& v, int i) {
        return static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : 0.0;
    };
    const int complexZeros = d.nZeroPairs + d.nZeroQuads;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    if (shown.zoom) {
        std::tie(xMin, xMax) = std::pair(shown.zoom->first.lo, shown.zoom->first.hi);
        std::tie(yMin, yMax) = std::pair(shown.zoom->second.lo, shown.zoom->second.hi);
    } else {
        constexpr double kNone = 1e9;
        xMax = -kNone;
        double minReal = d.nSigmaPoles > 0 ? d.sigmaPole : kNone;
        for (int i = 0; i < d.nPolePairs; ++i) {
            xMax = std::max(xMax, at(d.pairImag, i));
            minReal = std::min(minReal, at(d.pairReal, i));
        }
        if (d.nSigmaZeros > 0)
            minReal = std::min(minReal, d.sigmaZeroLoc);
        for (int i = 0; i < d.nOmegaZeros; ++i)
            xMax = std::max(xMax, at(d.omegaZeros, i));
        for (int i = 0; i < complexZeros; ++i) {
            xMax = std::max(xMax, at(d.zeroImag, i));
            xMin = std::min(xMin, -at(d.zeroImag, i));
            minReal = std::min(minReal, at(d.zeroReal, i));
        }
        // Nothing above the real axis, or nothing in the left half-plane, would leave a
        // negative span to scale: the map then shows zero width, or the real axis mirrored
        // about 0.
        xMax = std::max(xMax, xMin);
        if (minReal == kNone)
            minReal = 0;
        yMin = -std::fabs(minReal);
        yMax = std::fabs(minReal);
    }
    *refusal = RangeProblem("X", xMin, xMax);
    if (refusal->empty())
        *refusal = RangeProblem("Y", yMin, yMax);
    if (!refusal->empty())
        return false;

    DrawPlotNotes(m_frame, d, shown.iPlot, shown.time);
    m_canvas.setFontSize(10);
    std::string scaleLog;
    ScaleXAxis(xMin, xMax, m_bounds.xExp, scaleLog);
    m_xScale = std::pow(10.0, m_bounds.xExp);
    ScaleYAxis(yMin, yMax, m_bounds.yExp, scaleLog);
    m_yScale = std::pow(10.0, m_bounds.yExp);
    if (log)
        m_host.appendOutput(scaleLog);
    m_bounds.xMin = xMin;
    m_bounds.xMax = xMax;
    m_bounds.yMin = yMax; // the real axis grows downward
    m_bounds.yMax = yMin;

    m_frame.DrawFrame(Context(shown), m_bounds);
    m_frame.Grid(-2, m_bounds.xMin, m_bounds.xMax, m_bounds.yMin, m_bounds.yMax, shown.iPlot);

    m_frame.SetPlotColour(PlotSettings::MiscInfo);
    m_canvas.Clip(m_bounds.xMin, m_bounds.yMin, m_bounds.xMax, m_bounds.yMax,
                  m_canvas.TextBox("dO").width());
    if (d.nSigmaPoles > 0)
        PlaceMarker("X", 0, d.sigmaPole);
    for (int i = 0; i < d.nPolePairs; ++i)
        PlaceMarker("X", at(d.pairImag, i), at(d.pairReal, i));
    if (d.nSigmaZeros > 0) {
        const std::string mark = d.zeroDoublet > 0 ? "dO" : "O";
        PlaceMarker(mark, 0, d.sigmaZeroLoc);
        if (d.zeroPaired == 1)
            PlaceMarker(mark, 0, -d.sigmaZeroLoc);
    }
    for (int i = 0; i < d.nOmegaZeros; ++i)
        PlaceMarker("O", at(d.omegaZeros, i), 0);
    for (int i = 0; i < complexZeros; ++i) {
        const double re = at(d.zeroReal, i), im = at(d.zeroImag, i);
        if (i >= d.nZeroPairs) { // a quad is mirrored about the imaginary axis too
            PlaceMarker("O", -im, -re);
            PlaceMarker("O", im, -re);
        }
        PlaceMarker("O", -im, re);
        PlaceMarker("O", im, re);
    }
    m_canvas.ClearClip();
    return true;
}

void PlotEngine::PlaceMarker(const std::string& text, double x, double y) {
    m_canvas.setCurrentX(x / m_xScale);
    m_canvas.setCurrentY(y / m_yScale);
    m_canvas.Print(text);
}

std::optional<QPointF> PlotEngine::ValuesAt(QPointF pixel) const {
    if (!m_drawn || m_canvas.isPixelScale())
        return std::nullopt;
    return QPointF(m_canvas.fromPixelX(pixel.x()) * std::pow(10.0, m_bounds.xExp),
                   m_canvas.fromPixelY(pixel.y()) * std::pow(10.0, m_bounds.yExp));
}

bool PlotEngine::ZoomTo(const QRectF& pixels) {
    const std::optional<QPointF> a = ValuesAt(pixels.topLeft());
    const std::optional<QPointF> b = ValuesAt(pixels.bottomRight());
    if (!a || !b)
        return false;
    const Range x{std::min(a->x(), b->x()), std::max(a->x(), b->x())};
    const Range y{std::min(a->y(), b->y()), std::max(a->y(), b->y())};
    if (!(x.hi > x.lo) || !(y.hi > y.lo) || !std::isfinite(x.hi - x.lo) ||
        !std::isfinite(y.hi - y.lo))
        return false;
    m_shown->zoom = std::pair(x, y);
    return Redraw();
}

bool PlotEngine::Unzoom() {
    if (!zoomed())
        return false;
    m_shown->zoom.reset();
    return Redraw();
}

void PlotEngine::Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot) {
    m_frame.Grid(modelX, xMin, xMax, yMin, yMax, iPlot);
}

} // namespace veltrana
