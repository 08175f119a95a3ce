#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <QRectF>

#include <filesystem>
#include <set>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// The plot box at a window of 640 x 440, at its designed size and at 2560 x 1600.
const QSize kBoxes[] = {{617, 373}, {964, 610}, {2468, 1356}};

bool IsMapMarker(const CanvasCall& call) {
    static const std::set<std::string> marks = {"X", "O", "dO"};
    return call.kind == CanvasCall::Kind::Text && marks.count(call.text) > 0;
}

// Every plot of every sample file, at every size, drawn to the end of its run; every text inside
// the box and clear of the plot's other texts (the map's markers are data, placed where the
// poles and zeros are).
TEST(PlotLayout, TextsStayInsideTheBoxAndOffEachOther) {
    for (const std::string& folder : {SamplePath(""), SamplePath("", "engine/tools/samples/")})
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string file = entry.path().string();
            for (const QSize box : kBoxes) {
                SCOPED_TRACE(std::filesystem::path(file).filename().string() + " at " +
                             std::to_string(box.width()));
                EngineRig rig(box.width(), box.height());
                if (rig.file.ReadResultFile(file) != ReadStatus::Ok)
                    break;
                for (int plot = 1; plot <= 8 && rig.host.nextEnabled && rig.host.fatal.empty() &&
                                   !rig.host.damaged;
                     ++plot) {
                    SCOPED_TRACE(plot);
                    rig.next();
                    std::vector<CanvasCall> texts;
                    for (const CanvasCall& c : rig.calls)
                        if ((c.kind == CanvasCall::Kind::Text ||
                             c.kind == CanvasCall::Kind::RotatedText) &&
                            !c.box.isEmpty() && !IsMapMarker(c))
                            texts.push_back(c);
                    const QRectF inside =
                        QRectF(0, 0, box.width(), box.height()).adjusted(-.5, -.5, .5, .5);
                    for (size_t i = 0; i < texts.size(); ++i) {
                        EXPECT_TRUE(inside.contains(texts[i].box)) << texts[i].text;
                        for (size_t j = i + 1; j < texts.size(); ++j)
                            EXPECT_FALSE(texts[i].box.intersects(texts[j].box))
                                << '"' << texts[i].text << "\" and \"" << texts[j].text << '"';
                    }
                }
                // Every run ends within its plots, with or without a message.
                EXPECT_TRUE(!rig.host.nextEnabled || !rig.host.fatal.empty() || rig.host.damaged);
            }
        }
}

} // namespace
