#include "EngineTestSupport.h"
#include "PlotFrame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include <cmath>

using namespace veltrana;
using namespace veltrana::test;
using testing::ElementsAreArray;

namespace {

using Kind = CanvasCall::Kind;

// A 1280 x 960 box: twice the reference frame, so reference row r is pixel row 2r.
struct FrameRig {
    bool app = (EnsureApp(), true);
    PlotCanvas canvas{1280, 960};
    PlotFrame frame{canvas};
    std::vector<CanvasCall> calls;

    explicit FrameRig(PlotSettings settings = {}) {
        settings.colours = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0xFFFFFF};
        frame.setSettings(settings);
        canvas.setRecorder([this](const CanvasCall& c) { calls.push_back(c); });
        frame.ResetPlotBox();
    }
    /// The texts at (x, y), or with their rows at any y < 0 and any x < 0.
    std::vector<std::string> textsAt(double x, double y) const {
        std::vector<std::string> found;
        for (const CanvasCall& c : calls)
            if (c.kind == Kind::Text && (x < 0 || c.x1 == x) && (y < 0 || c.y1 == y))
                found.push_back(y < 0 ? std::to_string(int(c.y1)) + " " + c.text : c.text);
        return found;
    }
};

TEST(PlotFrame, TitleFollowsThePlotCounterAndModel) {
    const std::tuple<FrameContext, bool, std::vector<std::string>, const char*> cases[] = {
        {{0, 1, 0, 0, 0}, false, {"Y(", "----", ") and Ydot"}, "Time"},
        {{-2, 1, 0, 0, 0}, false, {"Poles (X), Zeroes (O) and Doublets (D)"}, "Frequency"},
        {{-1, 3, 4, 2, 0}, false, {"Sidelobe: Equal Ripple?"}, "Frequency"},
        {{-1, 4, 5, 3, 1}, false, {"Group Delay Ripple"}, "Time"},
        {{3, 2, 3, 0, 0}, true, {"DATA(", "- - -", ") vs. Model"}, "Time"},
        // The model -1 map is a map over omega; h(t) runs over time and shows no data.
        {{-1, 1, 0, 0, 0}, false, {"Poles (X), Zeroes (O) and Doublets (D)"}, "Frequency"},
        {{-1, 5, 6, 3, 1}, false, {"Impulse Response h(t)"}, "Time"},
    };
    for (const auto& [context, bw, title, xTitle] : cases) {
        SCOPED_TRACE(title.empty() ? "no title" : title[0]);
        PlotSettings settings;
        settings.blackAndWhite = bw;
        FrameRig rig(settings);
        rig.frame.DrawFrame(context, *std::make_unique<PlotBounds>(PlotBounds{0, 10, 0, 5}));
        EXPECT_THAT(rig.textsAt(-1, 60), ElementsAreArray(title));
        // The X title sits at 48 per cent of the box both ways.
        EXPECT_THAT(rig.textsAt(std::floor(0.48 * 1280 + 0.5), std::floor(0.48 * 960 + 0.5)),
                    ElementsAreArray({xTitle}));
    }
}

TEST(PlotFrame, ScaleFactorBlockListsOnlyTheScaledAxes) {
    const std::string head[] = {"140 Scale Factor", "170 ============"};
    const std::tuple<int, int, std::vector<std::string>> cases[] = {
        {0, 0, {}},
        {0, 2, {head[0], head[1], "200 Y-axis = 10E2"}},
        {-4, 6, {head[0], head[1], "200 X-axis = 10E-4", "230 Y-axis = 10E6"}},
    };
    for (const auto& [xExp, yExp, rows] : cases) {
        FrameRig rig;
        PlotBounds bounds{0, 10, 0, 5, xExp, yExp};
        rig.frame.DrawFrame({3, 1, 0, 0, 0}, bounds);
        EXPECT_EQ(rig.textsAt(15, -1), rows) << xExp << " " << yExp;
    }
}

TEST(PlotFrame, AxesGridLinesTickMarksAndLabels) {
    // Labels are rounded to their decimals, so float steps that land just below a label do not
    // lose a digit, and no label reads "-0.0".
    const std::string rounded = "0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0 1.1 1.2 0.20 0.40 0.60 0.80 "
                                "1.00 1.20",
                      noMinusZero = "-1.0 -0.9 -0.8 -0.7 -0.6 -0.5 -0.4 -0.3 -0.2 -0.1 0.0 -0.60 "
                                    "-0.40 -0.20 0.00 0.20 0.40";
    // model, grid lines setting, bounds, where the Y and X axes are drawn, the X grid
    // positions (from vertical lines or tick marks: first, step, how many lie on the axis),
    // how many lines are tick marks either way; the labels, X then Y (empty: not checked)
    const std::tuple<int, int, PlotBounds, double, double, double, double, size_t, int, int,
                     std::string>
        cases[] = {
            {1, 1, {0, 1001, -3, 3}, 0, 0, 0, 100.1, 11, 0, 0, ""},
            {1, 0, {0.2, 0.92, 2, 8}, 0.2, 2, 0.2, 0.1, 8, 8, 6, ""}, // 1.0 to 1.2 lie beyond
            {0, 2, {-5, 5, 2, 8}, -5, 2, -5, 1, 11, 0, 6, ""},        // X lines only, model 0
            {1, 1, {0.2, 1.2, 0.2, 1.2}, 0.2, 0.2, 0.2, 0.1, 11, 0, 0, rounded},
            {1, 1, {-1, 0, -0.6, 0.4}, 0, 0, -1, 0.1, 11, 0, 0, noMinusZero},
        };
    for (const auto& [model, gridLines, b, ax, ay, xFirst, xStep, xCount, vTicks, hTicks, labels] :
         cases) {
        SCOPED_TRACE(testing::Message() << b.xMin << " to " << b.xMax);
        PlotSettings settings;
        settings.gridLines = gridLines;
        FrameRig rig(settings);
        rig.frame.DrawFrame({model, 1, 1, 0, 0}, *std::make_unique<PlotBounds>(b));
        rig.calls.clear();
        rig.frame.Grid(model, b.xMin, b.xMax, b.yMin, b.yMax, 1);
        std::vector<CanvasCall> lines;
        std::string texts;
        for (const CanvasCall& c : rig.calls) {
            if (c.kind == Kind::Line)
                lines.push_back(c);
            if (c.kind == Kind::Text)
                texts += (texts.empty() ? "" : " ") + c.text;
        }
        EXPECT_EQ(labels.empty() ? "" : texts, labels);
        ASSERT_EQ(lines.size(), 2u + xCount + 6);
        EXPECT_EQ(lines[0].y1, ay);
        EXPECT_EQ(lines[1].x1, ax);
        // Tick marks are 6 and 10 pixels long on the box as designed, and grow with it.
        const double s = rig.frame.textScale();
        int verticalTicks = 0, horizontalTicks = 0;
        for (size_t i = 2; i < 2 + xCount; ++i) {
            EXPECT_NEAR(lines[i].x1, xFirst + double(i - 2) * xStep, 1e-4);
            const double pixels =
                std::fabs(rig.canvas.toPixelY(lines[i].y2) - rig.canvas.toPixelY(lines[i].y1));
            verticalTicks += std::fabs(pixels - 6 * s) < 1e-6;
        }
        for (size_t i = 2 + xCount; i < lines.size(); ++i) {
            EXPECT_NEAR(lines[i].y1, b.yMin + double(i - 2 - xCount) * (b.yMax - b.yMin) / 5, 1e-9);
            const double pixels =
                std::fabs(rig.canvas.toPixelX(lines[i].x2) - rig.canvas.toPixelX(lines[i].x1));
            horizontalTicks += std::fabs(pixels - 10 * s) < 1e-6;
        }
        EXPECT_EQ(verticalTicks, vTicks);
        EXPECT_EQ(horizontalTicks, hTicks);
    }
}

TEST(PlotFrame, AxisLabelsNearZeroReadAsZero) {
    EXPECT_EQ(
        (std::vector<std::string>{FormatAxisLabel(-0.04, 1), FormatAxisLabel(-0.004, 2),
                                  FormatAxisLabel(-1e-17, 1), FormatAxisLabel(0.7 - 1e-12, 1)}),
        (std::vector<std::string>{"0.0", "0.00", "0.0", "0.7"}));
}

TEST(PlotFrame, FixedRangesBeyondTheFramesNumbersAreIgnored) {
    // the minimum and step, whether they are applied
    const std::tuple<const char*, const char*, bool> cases[] = {{"-1", "0.5", true},
                                                                {"1e400", "1", false},
                                                                {"0", "1e39", false},
                                                                {"1e39", "1", false},
                                                                {"1e20", "1", false}};
    for (const auto& [minText, stepText, applied] : cases) {
        double min = 3, max = 4;
        EXPECT_EQ(ApplyFixedRange(true, minText, stepText, 10, min, max), applied) << minText;
        EXPECT_EQ(max - min, applied ? 5 : 1) << minText;
    }
}

} // namespace
