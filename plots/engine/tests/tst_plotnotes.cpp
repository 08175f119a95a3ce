#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

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
        EngineRig rig;
        ASSERT_EQ(rig.read(file), ReadStatus::Ok);
        for (int press = 0; press < presses; ++press)
            rig.next();
        std::vector<double> rows;
        for (const CanvasCall& call : rig.calls)
            if (call.kind == CanvasCall::Kind::Text &&
                (text.ends_with('\t') ? call.text == text : call.text.starts_with(text)))
                rows.push_back(call.y1);
        EXPECT_EQ(rows, expectedRows);
    }
}

} // namespace
