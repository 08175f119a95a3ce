#include "PlotNotes.h"

#include "NumberText.h"
#include "PlotFrame.h"
#include "RunSummary.h"
#include "Text.h"

#include <cstdio>
#include <vector>

namespace veltrana {

namespace {

constexpr double kNotesX = 15;

// A number the file holds as text, shown as written when it is not one.
std::string FormatEText(const std::string& text) {
    const std::optional<double> value = ParseNumber(TrimBlanks(text));
    return value ? FormatE(*value) : "\t" + text;
}

struct NoteLine {
    int row;
    const char* label;
    enum class Value { None, Y0, A, B, C, D, Pw50, T0 } value;
};

std::vector<NoteLine> CoefficientLines(int model) {
    using V = NoteLine::Value;
    switch (model) {
    case 1:
        return {{330, "      Y-Axis offset (y0): ", V::Y0},
                {345, "            Amplitude(s): ", V::A},
                {360, "Pulse Width 50% Peak(s): ", V::Pw50},
                {375, "   Time origin offset(s): ", V::T0}};
    case 2:
        return {{305, "      Y-Axis offset (y0): ", V::Y0},
                {320, "        a - Amplitude(s): ", V::A},
                {335, "        b - Amplitude(s): ", V::B},
                {350, "Pulse Width 50% Peak(s): ", V::Pw50},
                {365, "   Time origin offset(s): ", V::T0}};
    case 3:
        return {{345, "  Y-Axis offset (y0): ", V::Y0},
                {360, "   Exp. Amplitude(s): ", V::A},
                {375, "Exponential Power(s): ", V::B}};
    case 4:
        return {{360, "Y-Axis offset (y0): ", V::Y0}, {375, "      Amplitude(s): ", V::A}};
    case 5:
        return {{330, "Y-Axis offset (y0): ", V::Y0},
                {345, "Sin Amplitude(s): ", V::A},
                {360, "      Frequency(s): ", V::B},
                {375, "          Phase(s): ", V::C}};
    case 6:
        return {{305, "Y-Axis offset (y0):", V::None},
                {320, "Sin Amplitude(s): ", V::A},
                {335, "     Frequency(s): ", V::B},
                {350, "          Phase(s): ", V::C},
                {365, "   Exponential(s): ", V::D}};
    default:
        return {};
    }
}

std::string NoteValue(const ResultData& d, NoteLine::Value value) {
    using V = NoteLine::Value;
    switch (value) {
    case V::None:
        return {};
    case V::Y0:
        return FormatEText(d.y0Text);
    case V::A:
        return FormatEList(d.coefA, d.nTerms);
    case V::B:
        return FormatEList(d.coefB, d.nTerms);
    case V::C:
        return FormatEList(d.coefC, d.nTerms);
    case V::D:
        return FormatEList(d.coefD, d.nTerms);
    case V::Pw50:
        return FormatEList(d.pw50, d.nTerms);
    case V::T0:
        return FormatEList(d.t0, d.nTerms);
    }
    return {};
}

// The quads' parts one after another, each as FormatE without its leading TAB.
std::string QuadList(const std::vector<double>& values, int pairs, int quads) {
    std::string out = "\t";
    for (int q = 0; q < quads; ++q) {
        const size_t i = static_cast<size_t>(pairs + q);
        if (i < values.size())
            out += FormatE(values[i]).substr(1) + "\t";
    }
    return out;
}

} // namespace

std::string PlotDateText(const LocalDateTime& now) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const int month = now.month >= 1 && now.month <= 12 ? now.month - 1 : 0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s %02d, %04d ", kMonths[month], now.day, now.year);
    return buffer + now.TimeText();
}

void PrintRight(PlotFrame& frame, const std::string& text, double y) {
    PlotCanvas& canvas = frame.canvas();
    frame.PrintAt(text, RoundToInt(canvas.ScaleWidth() - canvas.TextWidth(text) - 5), y);
}

void DrawPlotNotes(PlotFrame& frame, const ResultData& d, int iPlot, const LocalDateTime& now) {
    DrawPlotHeader(frame, d, now);
    frame.canvas().setFontSize(10);
    frame.SetPlotColour(PlotSettings::Axes);
    if ((d.modelX == -2 || d.modelX == -1) && iPlot == 3) {
        frame.PrintCentred("===== Sidelobe Ripple =====", 70);
        frame.PrintCentred("=\t\t\t   =", 85);
        frame.PrintCentred("=  20 Log10( Ycalc / Ymax)    =", 100);
        frame.PrintCentred("=========================", 115);
    }
    frame.SetPlotColour(PlotSettings::MiscInfo);
    for (const NoteLine& line : CoefficientLines(d.modelX))
        frame.PrintAt(line.label + NoteValue(d, line.value), kNotesX, line.row);
}

void DrawPlotHeader(PlotFrame& frame, const ResultData& d, const LocalDateTime& now) {
    PlotCanvas& canvas = frame.canvas();
    frame.SetPlotColour(PlotSettings::Axes);
    canvas.setFontSize(8);
    PrintRight(frame, PlotDateText(now), 5);
    canvas.setFontSize(12);
    frame.SetPlotColour(PlotSettings::MiscInfo);
    if (d.modelX == -2 || d.modelX == -1) {
        DrawPoleZeroList(frame, d);
    } else if (d.modelX == 0) {
        frame.PrintAt("Equation: " + d.equationText, 2, 385);
    } else if (d.modelX == 110) {
        frame.PrintAt("DT50:" + FormatE(d.dt50), 2, 35);
    }
    canvas.setFontSize(14);
    frame.SetPlotColour(PlotSettings::Titles);
    frame.PrintCentred(ProductName(d.modelX), 1);
    frame.SetPlotColour(PlotSettings::MiscInfo);
    canvas.setFontSize(10);
}

void DrawPoleZeroList(PlotFrame& frame, const ResultData& d) {
    frame.canvas().setFontSize(8);
    frame.SetPlotColour(PlotSettings::MiscInfo);
    double r = 370;
    const auto line = [&](const std::string& text) {
        frame.PrintAt(text, kNotesX, r);
        r -= 15;
    };
    if (d.nZeroPairs > 0) {
        line("Real Zero-pairs: " + FormatEList(d.zeroReal, d.nZeroPairs));
        line("Imag. Zero-pairs: " + FormatEList(d.zeroImag, d.nZeroPairs));
    }
    if (d.nOmegaZeros > 0)
        line("Omega-Axis Zeroes: " + FormatEList(d.omegaZeros, d.nOmegaZeros));
    if (d.nSigmaZeros > 0) {
        const bool paired = d.zeroPaired != 0;
        const char* label = d.zeroDoublet == 1
                                ? (paired ? "Zero-pair Doublet: " : "Single Zero Doublet: ")
                                : (paired ? "Zero-pair: " : "Single Zero: ");
        line(label + FormatE(d.sigmaZeroLoc));
    }
    if (d.nSigmaPoles > 0)
        line("Sigma-Axis Pole: " + FormatE(d.sigmaPole));
    if (d.nZeroQuads >= 1) {
        line("Real Zero-quads: " + QuadList(d.zeroReal, d.nZeroPairs, d.nZeroQuads));
        line("Imag. Zero-quads: " + QuadList(d.zeroImag, d.nZeroPairs, d.nZeroQuads));
    }
    frame.PrintAt("Imag. Pole Loc.s:  " + FormatEList(d.pairImag, d.nPolePairs), kNotesX, r);
    frame.PrintAt(" Real Pole Loc.s:  " + FormatEList(d.pairReal, d.nPolePairs), kNotesX, r - 15);
    frame.PrintAt("Gain:  " + FormatEText(d.gainText), kNotesX, r - 30);
    frame.SetPlotColour(PlotSettings::Titles);
    frame.PrintAt(TrimBlanks(d.titleLine), kNotesX, r - 60);
}

} // namespace veltrana
