#include "EngineTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;
using testing::DoubleNear;
using testing::ElementsAreArray;
using testing::Pointwise;

namespace {

// The progress lines the sequence logged, in order.
std::vector<std::string> Steps(const std::string& output) {
    std::vector<std::string> steps;
    for (const std::string& line : SplitAt(output, '\n'))
        if (line.starts_with("\tCalling") || line.starts_with("\tPlotting"))
            steps.push_back(line.substr(1, line.find('\r') - 1));
    return steps;
}

const std::string kMap = "Plotting -Map of Poles & Zeros-", kError = "Calling 1st line plot",
                  kCurve = "Calling 2nd line plot ... Curve vs. Data plot",
                  kSidelobe = "Calling 3rd line plot ... Sidelobe plot",
                  kRipple = "Calling 3rd or 4th plot ... Ripple plot",
                  kImpulse = "Calling 4th or 5th plot ... h(t) response";

TEST(PlotSequence, EachModelStepsThroughItsPlotsAndDisablesNextAfterTheLast) {
    const std::tuple<const char*, std::vector<std::string>> cases[] = {
        {"model_m2_one_omega.dat", {kMap, kError, kCurve, kImpulse}},
        {"model_m2.dat", {kMap, kError, kCurve, kSidelobe, kRipple}},
        {"model_m1.dat", {kMap, kError, kCurve, kSidelobe, kRipple, kImpulse}},
        {"model0.dat", {kError}},
        {"model110.dat", {kError}},
        {"model3.dat", {kError, kCurve}},
    };
    for (const auto& [file, steps] : cases) {
        SCOPED_TRACE(file);
        EngineRig rig(file, 0);
        for (size_t press = 0; press < steps.size(); ++press) {
            EXPECT_TRUE(rig.host.nextEnabled) << "before press " << press;
            rig.next();
        }
        EXPECT_THAT(Steps(rig.host.output), ElementsAreArray(steps));
        EXPECT_EQ(std::tuple(rig.host.nextEnabled, rig.host.drawn, rig.host.fatal.size(),
                             rig.prompter.prompts.size()),
                  std::tuple(false, int(steps.size()), 0u, 0u));
    }
}

// What cannot be plotted gives one message and draws nothing: an empty section a warning; a
// missing or cut one the reader's message alone, and no next plot; values the box cannot span
// a refusal saying so, not an empty plot with "Inf" on an axis, and the run goes on.
TEST(PlotSequence, WhatCannotBePlottedGivesOneMessageAndDrawsNothing) {
    const std::string whole = FileText(SamplePath("model_m2_one_omega.dat"));
    const std::string threeZeros = FileText(SamplePath("model_m2.dat"));
    const size_t sidelobe = threeZeros.find("Sidelobe");
    const std::string model7 = "t\ns\nx\n7 0 2\n", runs = "The Y values of this plot run from ",
                      tooWide = ", a range too wide to draw.";
    // the file, presses, the message: a warning (W), a refusal (R) or none, the section damaged
    const std::tuple<std::string, int, char, std::string> cases[] = {
        {FileText(SamplePath("empty_sidelobe.dat")), 4, 'W',
         "==Warning== No Sidelobe data in file"},
        {whole.substr(0, whole.find("h(t)")), 4, ' ', ""},
        {threeZeros.substr(0, threeZeros.find('\n', sidelobe + 30)), 4, ' ', ""}, // cut after a row
        {model7 + "0 0 1.5e308\n1 0 -1.7e308\n", 1, 'R', runs + "-1.7E+308 to 1.5E+308" + tooWide},
        {model7 + "-1e308 0 1\n1e308 0 2\n", 1, 'R',
         "The X values of this plot run from -1E+308 to 1E+308" + tooWide},
        {model7 + "0 1.7e308 1.7e308\n1 -1.7e308 1.7e308\n", 2, 'R', // the model's sum
         "Some Y values of this plot are too large to draw."},
        {"q\ns\nx\n-2 0 1\n0 0 0 0\n0 1\n-1.5e308\n1e308\n0\n0 0 0\n1\n0 0\n0 1 1\n", 1, 'R',
         runs + "-1.5E+308 to 1.5E+308" + tooWide}, // a pole far out
    };
    for (const auto& [text, presses, kind, message] : cases) {
        SCOPED_TRACE(message + text.substr(0, 30));
        EngineRig rig(text, presses);
        const std::vector<std::string> one{message}, none;
        EXPECT_EQ(std::pair(rig.host.fatal, rig.host.refused),
                  std::pair(kind == 'W' ? one : none, kind == 'R' ? one : none));
        const bool damaged = kind == ' ';
        EXPECT_EQ(std::tuple(rig.host.damaged, rig.prompter.prompts.size(), rig.host.drawn),
                  std::tuple(int(damaged), size_t(damaged), presses - 1));
        EXPECT_TRUE(!damaged || !rig.host.nextEnabled);
        // Nothing more is plotted; a refused plot is an empty box, without labels.
        for (const CanvasCall& c : rig.calls)
            EXPECT_TRUE(kind == 'R' && c.kind != CanvasCall::Kind::Text) << c.text;
        EXPECT_TRUE(kind != 'R' || !rig.engine.ValuesAt(QPointF(100, 100)));
    }
}

// The Y ends of the lines drawn in `colour` and `style`, two by two.
std::vector<double> LineEnds(const std::vector<CanvasCall>& calls, Rgb colour, LineStyle style) {
    std::vector<double> ends;
    for (const CanvasCall& c : calls)
        if (c.kind == CanvasCall::Kind::Line && c.colour == colour && c.style == style)
            ends.insert(ends.end(), {c.y1, c.y2});
    return ends;
}

TEST(PlotSequence, CurvesTakeTheirColoursAndInBlackAndWhiteTheirStyles) {
    const Rgb red = 0x0000FF, curve1 = 0x00C000, curve2 = 0xC00000;
    // file, presses, black and white, colour and style of the lines, their Y ends
    const std::tuple<const char*, int, bool, Rgb, LineStyle, std::vector<double>> cases[] = {
        // Model 0: Y in Curve1; Ydot (0 to -3) mapped onto the Y range 1 to 4, in red.
        {"model0.dat", 1, false, curve1, LineStyle::Solid, {1, 2, 2, 3, 3, 4}},
        {"model0.dat", 1, false, red, LineStyle::Solid, {4, 3, 3, 2, 2, 1}},
        {"model0.dat", 1, true, 0, LineStyle::Dash, {4, 3, 3, 2, 2, 1}},
        // Model 3: the error in red, then the model (the sum) in Curve2.
        {"model3.dat", 1, false, red, LineStyle::Solid, {.9, 1.9}},
        {"model3.dat", 2, false, curve2, LineStyle::Solid, {1.9, 3.9}},
        // Model 110: the sum drawn twice, dotted in black and white.
        {"model110.dat", 1, true, 0, LineStyle::Dot, {100, 95, 95, 85, 100, 95, 95, 85}},
    };
    for (const auto& [file, presses, bw, colour, style, ends] : cases) {
        SCOPED_TRACE(std::string(file) + " press " + std::to_string(presses));
        EngineRig rig(file, 0);
        rig.host.settings.blackAndWhite = bw;
        rig.host.settings.gridLines = 0; // solid tick marks only, apart from the curves
        rig.next(presses);
        EXPECT_THAT(LineEnds(rig.calls, colour, style), Pointwise(DoubleNear(1e-9), ends));
    }
}

// A file of model 7 with `rows` rows: data 2 + i / rows, model 0.1 above it.
std::string SeriesFile(int rows) {
    std::string text = "t\ns\nx\n7 0 " + std::to_string(rows) + "\n";
    for (int i = 0; i < rows; ++i)
        text += std::to_string(i) + " " + std::to_string(2 + double(i) / rows) + " 0.1\n";
    return text;
}

TEST(PlotSequence, DataShowAsMarkersAboveTheModelOrAsAWideLineBeneathIt) {
    const Rgb curve1 = 0x00C000, curve2 = 0xC00000;
    for (int rows : {PlotEngine::kMarkerLimit, PlotEngine::kMarkerLimit + 1}) {
        SCOPED_TRACE(rows);
        EngineRig rig(SeriesFile(rows), 2);
        // The data's markers (o, not the legend's, drawn in pixels) and lines (d) and the
        // model's lines (m) in drawing order, with how many of each and the lines' widths.
        std::string order;
        std::map<char, int> count, width;
        for (const CanvasCall& c : rig.calls) {
            char k = 0;
            if (c.kind == CanvasCall::Kind::Line)
                k = c.colour == curve1 ? 'd' : c.colour == curve2 ? 'm' : 0;
            else if (c.kind == CanvasCall::Kind::Marker && c.colour == curve1 && c.y1 >= 2)
                k = c.y1 < 3 ? 'o' : 0;
            if (k && (order.empty() || order.back() != k))
                order += k;
            ++count[k];
            width[k] = c.width;
        }
        if (rows <= PlotEngine::kMarkerLimit) {
            EXPECT_EQ(std::tuple(order, count['m'], count['o']), std::tuple("mo", rows - 1, rows));
        } else {
            EXPECT_EQ(std::tuple(order, count['m'], count['d']),
                      std::tuple("dm", rows - 1, rows - 1));
            EXPECT_GT(width['d'], width['m']);
        }
    }
}

// Texts drawn in pixel scale, by their reference rows (the box is 640 x 480: one row, one pixel).
TEST(PlotNotes, EachLineSitsOnItsReferenceRow) {
    // file, presses, a line starting with the text (the whole line when it ends in a TAB), rows
    const std::tuple<const char*, int, std::string, std::vector<double>> cases[] = {
        // The pole/zero listing grows upward from row 370 with what the file has.
        {"model_m2.dat", 1, "Real Zero-pairs: \t-2E-1\t", {370}},
        {"model_m2.dat", 1, "Real Zero-quads: \t-3E-1\t", {295}},
        {"model_m2_doublet.dat", 1, "Single Zero Doublet: ", {370}},
        // The sidelobe legend only on the sidelobe plot.
        {"model_m2.dat", 2, "===== Sidelobe Ripple =====", {}},
        {"model_m2.dat", 4, "===== Sidelobe Ripple =====", {70}},
        {"model1.dat", 1, "      Y-Axis offset (y0): \t1.25E-2", {330}},
        // Model 0: Ydot's own range, since its curve is drawn on the Y range.
        {"model0.dat", 1, "Ydot Range... ", {15}},
        {"model3.dat", 1, "Mar 07, 2024 14:05:09", {5}},
    };
    for (const auto& [file, presses, text, expectedRows] : cases) {
        SCOPED_TRACE(text);
        EngineRig rig(file, presses);
        std::vector<double> rows;
        for (const CanvasCall& call : rig.calls)
            if (call.kind == CanvasCall::Kind::Text &&
                (text.ends_with('\t') ? call.text == text : call.text.starts_with(text)))
                rows.push_back(call.y1);
        EXPECT_EQ(rows, expectedRows);
    }
}

} // namespace
