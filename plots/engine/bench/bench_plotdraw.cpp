// Drawing the largest plots a result file can hold: 32,767 points, offscreen, one curve (the
// error plot) and two curves (curve vs data); and the curve-vs-data plot drawn again at
// 2560 x 1600, from its recording (as printing and the screen image replay it) and from its
// data (as a resize or a zoom draws it).
#include "PlotEngine.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

using namespace veltrana;

namespace {

constexpr int kRows = 32767;

std::string LargeSeriesFile() {
    std::ostringstream out;
    out << "Benchmark fit\r\nsecond\r\nthird\r\n 7 0 " << kRows << "\r\n";
    for (int i = 0; i < kRows; ++i) {
        const double t = i * 0.001;
        out << t << ' ' << std::sin(t) << ' ' << 0.01 * std::cos(37 * t) << "\r\n";
    }
    return out.str();
}

struct QuietHost : PlotHost {
    PlotSettings settings;
    PlotSettings plotSettings() const override { return settings; }
    void appendOutput(std::string_view) override {}
    void showPlotPage() override {}
    void setNextEnabled(bool) override {}
    void plotDrawn() override {}
    void ShowFatal(std::string_view) override {}
    void plotRefused(std::string_view) override {}
    void fileDamaged() override {}
};

struct Rig {
    ScriptedPrompter prompter;
    ResultFile file{prompter};
    QuietHost host;
    PlotCanvas canvas;
    PlotEngine engine{canvas, file, host};

    explicit Rig(int width = 760, int height = 540) : canvas(width, height) {
        host.settings.colours = {0x606060, 0x5800B0, 0x000080, 0xFF0000, 0x008000, 0xE8E8E8};
        file.ReadResultStream(std::make_unique<std::istringstream>(LargeSeriesFile()), "bench");
    }
};

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "bench_plotdraw";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

void BM_ErrorPlot(benchmark::State& state) {
    App();
    Rig rig;
    for (auto _ : state) {
        rig.engine.reset();
        rig.engine.PlotNext();
        benchmark::DoNotOptimize(rig.canvas.image().constBits());
    }
}
BENCHMARK(BM_ErrorPlot)->Unit(benchmark::kMillisecond);

void BM_CurveVsDataPlot(benchmark::State& state) {
    App();
    Rig rig;
    for (auto _ : state) {
        state.PauseTiming();
        rig.engine.reset();
        rig.engine.PlotNext();
        (void)rig.canvas.image();
        state.ResumeTiming();
        rig.engine.PlotNext();
        benchmark::DoNotOptimize(rig.canvas.image().constBits());
    }
}
BENCHMARK(BM_CurveVsDataPlot)->Unit(benchmark::kMillisecond);

void BM_ReplayAt2560x1600(benchmark::State& state) {
    App();
    Rig rig(2560, 1600);
    rig.engine.PlotNext();
    rig.engine.PlotNext();
    QImage image(2560, 1600, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        rig.canvas.recording().Replay(painter, QRectF(0, 0, 2560, 1600));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ReplayAt2560x1600)->Unit(benchmark::kMillisecond);

void BM_RedrawAt2560x1600(benchmark::State& state) {
    App();
    Rig rig(2560, 1600);
    rig.engine.PlotNext();
    rig.engine.PlotNext();
    for (auto _ : state) {
        rig.engine.Redraw();
        benchmark::DoNotOptimize(rig.canvas.image().constBits());
    }
}
BENCHMARK(BM_RedrawAt2560x1600)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
