#pragma once

#include "PlotEngine.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "Text.h"

#include "QtTestApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace veltrana::test {

/// The result reader's sample files, or those of another folder of plots.
inline std::string SamplePath(const std::string& name, const char* folder = "result/tests/data/") {
    std::string dir = VELTRANA_TEST_DATA;
    return dir.replace(dir.rfind("engine/tests/data"), std::string::npos, folder) + name;
}

/// The smallest rectangle around the pixels of `image` that `isInk` picks.
inline QRect InkBox(const QImage& image, const std::function<bool(const QColor&)>& isInk) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixelColor(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

/// The plot window as the engine sees it, with what it was told.
struct FakePlotHost : PlotHost {
    PlotSettings settings;
    std::string output;
    std::vector<std::string> fatal, refused;
    bool nextEnabled = true;
    int drawn = 0, damaged = 0;

    FakePlotHost() {
        settings.colours = {0x000000, 0x800000, 0x008000, 0x00C000, 0xC00000, 0xFFFFFF};
    }
    PlotSettings plotSettings() const override { return settings; }
    void appendOutput(std::string_view text) override { output += text; }
    void showPlotPage() override {}
    void setNextEnabled(bool enabled) override { nextEnabled = enabled; }
    void plotDrawn() override { ++drawn; }
    void ShowFatal(std::string_view text) override { fatal.emplace_back(text); }
    void plotRefused(std::string_view reason) override { refused.emplace_back(reason); }
    void fileDamaged() override { ++damaged; }
};

/// A result file read into an engine on a 640 x 480 canvas that records every call.
struct EngineRig {
    ScriptedPrompter prompter;
    ResultFile file{prompter};
    FakePlotHost host;
    PlotCanvas canvas;
    PlotEngine engine{canvas, file, host};
    std::vector<CanvasCall> calls;

    explicit EngineRig(int width = 640, int height = 480) : canvas((EnsureApp(), width), height) {
        canvas.setRecorder([this](const CanvasCall& c) { calls.push_back(c); });
        engine.setClock([] { return LocalDateTime{2024, 3, 7, 14, 5, 9}; });
    }
    /// `source`, a sample file's name or a result file's text, read and plotted `presses` times.
    EngineRig(const std::string& source, int presses, int width = 640, int height = 480)
        : EngineRig(width, height) {
        EXPECT_EQ(
            source.ends_with(".dat")
                ? file.ReadResultFile(SamplePath(source))
                : file.ReadResultStream(std::make_unique<std::istringstream>(source), "m.dat"),
            ReadStatus::Ok);
        next(presses);
    }
    /// The next plots, with only the last one's calls kept.
    void next(int presses = 1) {
        for (int press = 0; press < presses; ++press) {
            calls.clear();
            engine.PlotNext();
        }
    }
};

} // namespace veltrana::test
