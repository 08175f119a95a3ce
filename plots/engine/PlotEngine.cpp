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

FrameContext PlotEngine::Context() const {
    const ResultData& d = data();
    return {d.modelX, m_iPlot, m_plotStep, d.nOmegaZeros, d.delayMatched};
}

bool PlotEngine::ReadSection(ResultSection section, const char* warning) {
    if (m_file.ReadSection(section) == ReadStatus::Ok)
        return true;
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
            PlotPoleZeroMap();
            m_plotStep = 1;
            return;
        }
    }
    if (m_plotStep == 0 || m_plotStep == 1) {
        Log("Calling 1st line plot");
        PlotCurves();
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
        PlotCurves();
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
            PlotCurves();
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
            PlotCurves();
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
        PlotCurves();
        m_plotStep = 0;
        m_host.setNextEnabled(false);
    }
}

void PlotEngine::PlotCurves() {
    m_frame.ResetPlotBox();
    DrawPlotNotes(m_frame, data(), m_iPlot, m_clock());
    SetupXAxis();
    SetupYAxis();
    m_frame.DrawFrame(Context(), m_bounds);
    m_frame.Grid(data().modelX, m_bounds.xMin, m_bounds.xMax, m_bounds.yMin, m_bounds.yMax,
                 m_iPlot);
    DrawCurves();
    m_host.plotDrawn();
}

void PlotEngine::SetupXAxis() {
    m_xPlot = data().pointX;
    double xMin = m_xPlot.empty() ? 0 : m_xPlot.front();
    double xMax = m_xPlot.empty() ? 0 : m_xPlot.back();
    if (xMax < xMin)
        std::swap(xMin, xMax);
    std::string log;
    ScaleXAxis(xMin, xMax, m_bounds.xExp, log);
    m_host.appendOutput(log);
    const PlotSettings& s = m_frame.settings();
    ApplyFixedRange(s.fixedX, s.xMinText, s.xStepText, 10, xMin, xMax);
    m_bounds.xMin = xMin;
    m_bounds.xMax = xMax;
    Divide(m_xPlot, std::pow(10.0, m_bounds.xExp));
}

void PlotEngine::SetupYAxis() {
    const int model = data().modelX;
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo = inf, hi = -inf;
    TakeRange(m_yPlotA, lo, hi);
    const double a = lo, b = hi; // the range of Ydot for model 0
    if (model == 0 || m_iPlot == 2) {
        lo = inf;
        hi = -inf;
        TakeRange(m_yPlotB, lo, hi);
        if (m_iPlot == 2)
            TakeRange(m_yPlotA, lo, hi);
    } else if (model == 110) {
        TakeRange(m_yPlotB, lo, hi);
        TakeRange(m_yPlotC, lo, hi);
    }
    if (lo > hi) // nothing to draw
        lo = hi = 0;
    const double c = lo, d = hi; // the range of Y for model 0

    std::string log;
    ScaleYAxis(lo, hi, m_bounds.yExp, log);
    m_host.appendOutput(log);
    const PlotSettings& s = m_frame.settings();
    ApplyFixedRange(s.fixedY, s.yMinText, s.yStepText, 5, lo, hi);
    m_bounds.yMin = lo;
    m_bounds.yMax = hi;

    if (model == 0 && a <= b) {
        // Ydot is drawn on the Y range; its own range is printed instead.
        const double r = b - a == 0 ? 1 : b - a;
        m_frame.PrintAt("Ydot Range... ", 15, 15);
        m_frame.PrintAt("Min: " + GeneralNumber(a) + "\tMax: " + GeneralNumber(b), 15, 30);
        for (double& v : m_yPlotA)
            v = (v - a) * d / r + (b - v) * c / r;
    }

    const double divisor = std::pow(10.0, m_bounds.yExp);
    Divide(m_yPlotA, divisor);
    if (model == 0 || m_iPlot == 2)
        Divide(m_yPlotB, divisor);
    if (model == 110) {
        Divide(m_yPlotB, divisor);
        Divide(m_yPlotC, divisor);
    }
}

void PlotEngine::DrawCurves() {
    const PlotSettings& s = m_frame.settings();
    const bool bw = s.blackAndWhite;
    const Rgb curve1 = s.colours[PlotSettings::Curve1];
    const Rgb curve2 = s.colours[PlotSettings::Curve2];
    const auto style = [&](LineStyle inBlackAndWhite) {
        m_canvas.setDrawStyle(bw ? inBlackAndWhite : LineStyle::Solid);
    };
    m_canvas.setDrawStyle(LineStyle::Solid);
    const int model = data().modelX;
    switch (m_iPlot) {
    case 1:
        if (model == 0) {
            DrawPolyline(m_yPlotB, curve1);
            style(LineStyle::Dash);
            DrawPolyline(m_yPlotA, kRed);
        } else if (model == 110) {
            DrawPolyline(m_yPlotB, curve1);
            style(LineStyle::Dash);
            DrawPolyline(m_yPlotC, curve2);
            style(LineStyle::Dot);
            DrawPolyline(m_yPlotA, kRed);
            DrawPolyline(m_yPlotA, kRed);
        } else {
            DrawPolyline(m_yPlotA, kRed);
        }
        break;
    case 2:
        style(LineStyle::Dash);
        DrawPolyline(m_yPlotB, curve1);
        m_canvas.setDrawStyle(LineStyle::Solid);
        DrawPolyline(m_yPlotA, curve2);
        break;
    case 3:
        DrawPolyline(m_yPlotA, curve2);
        break;
    default:
        DrawPolyline(m_yPlotA, kRed);
        break;
    }
    m_canvas.setDrawStyle(LineStyle::Solid);
}

void PlotEngine::DrawPolyline(const std::vector<double>& values, Rgb colour) {
    m_canvas.setForeColor(m_frame.settings().blackAndWhite ? 0 : colour);
    const size_t n =
        std::min({m_xPlot.size(), values.size(), static_cast<size_t>(std::max(data().nPoints, 0))});
    for (size_t i = 1; i < n; ++i)
        m_canvas.Line(m_xPlot[i - 1], values[i - 1], m_xPlot[i], values[i]);
}

void PlotEngine::PlotPoleZeroMap() {
    const ResultData& d = data();
    m_frame.ResetPlotBox();
    DrawPlotNotes(m_frame, d, m_iPlot, m_clock());
    m_canvas.setFontSize(10);

    const auto at = [](const std::vector<double>& v, int i) {
        return static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : 0.0;
    };
    const int complexZeros = d.nZeroPairs + d.nZeroQuads;
    constexpr double kNone = 1e9;
    double xMax = -kNone, xMin = 0;
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
    // Nothing above the real axis, or nothing in the left half-plane, would leave a negative
    // span to scale: the map then shows zero width, or the real axis mirrored about 0.
    xMax = std::max(xMax, xMin);
    if (minReal == kNone)
        minReal = 0;
    double yMin = -std::fabs(minReal), yMax = std::fabs(minReal);

    std::string log;
    ScaleXAxis(xMin, xMax, m_bounds.xExp, log);
    m_xScale = std::pow(10.0, m_bounds.xExp);
    ScaleYAxis(yMin, yMax, m_bounds.yExp, log);
    m_yScale = std::pow(10.0, m_bounds.yExp);
    m_host.appendOutput(log);
    m_bounds.xMin = xMin;
    m_bounds.xMax = xMax;
    m_bounds.yMin = yMax; // the real axis grows downward
    m_bounds.yMax = yMin;

    m_frame.DrawFrame(Context(), m_bounds);
    m_frame.Grid(-2, m_bounds.xMin, m_bounds.xMax, m_bounds.yMin, m_bounds.yMax, m_iPlot);

    m_frame.SetPlotColour(PlotSettings::MiscInfo);
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
    m_host.plotDrawn();
}

void PlotEngine::PlaceMarker(const std::string& text, double x, double y) {
    m_canvas.setCurrentX(x / m_xScale);
    m_canvas.setCurrentY(y / m_yScale);
    m_canvas.Print(text);
}

void PlotEngine::Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot) {
    m_frame.Grid(modelX, xMin, xMax, yMin, yMax, iPlot);
}

} // namespace veltrana
