// From start to the first drawn plot with the largest result file a run can produce, and the
// pieces every plot repeats: axis scaling and a full redraw of a 1280 x 1024 canvas.
#include "AxisScaling.h"
#include "PlotCanvas.h"
#include "PlotEngine.h"
#include "PlotSettingsStore.h"
#include "PlotsForm.h"
#include "RegistryStore.h"
#include "ScriptedPrompter.h"
#include "Settings.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace veltrana;

namespace {

constexpr int kRows = 32767;

std::filesystem::path TempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("veltrana-bench-" + std::to_string(getpid()) + "-" + name);
}

// A model 1 fit: its first plot draws every row of the point table.
std::string WriteLargeSeriesFile() {
    const std::filesystem::path path = TempPath("series.dat");
    std::ofstream out(path, std::ios::binary);
    out << "fit1.sav\r\nsecond\r\nthird\r\n1 2 " << kRows << "\r\n";
    out << "C:\\DATA\\PULSE.DAT\r\n 0.0125\r\n 1.5 2.5\r\n 0.2 0.3\r\n 10 20\r\n";
    char line[128];
    for (int i = 0; i < kRows; ++i) {
        const double x = i * 1.0e-3;
        std::snprintf(line, sizeof line, " %.15E %.15E %.15E\r\n", x, std::sin(x) / (1 + x),
                      std::cos(x) / (1 + x));
        out << line;
    }
    return path.string();
}

class BenchHost : public PlotHost {
public:
    PlotSettings plotSettings() const override { return DesignedSettings(); }
    void appendOutput(std::string_view text) override { m_output.append(text); }
    void showPlotPage() override {}
    void setNextEnabled(bool) override {}
    void plotDrawn() override {}
    void ShowFatal(std::string_view) override {}
    void plotRefused(std::string_view) override {}
    void fileDamaged() override {}

private:
    std::string m_output;
};

void StartToFirstPlot(benchmark::State& state) {
    const std::string data = WriteLargeSeriesFile();
    const std::string registry = TempPath("registry").string();
    ScriptedPrompter prompter;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(registry);
        RegistryStore store(registry);
        SaveFileIn(store, data);
        state.ResumeTiming();
        PlotsForm form(store, prompter);
        if (!form.Main() || form.engine().plotStep() == 0) {
            state.SkipWithError("no plot was drawn");
            break;
        }
        benchmark::DoNotOptimize(form.canvas().image().constBits());
    }
    std::filesystem::remove(data);
    std::filesystem::remove(registry);
}

void ScaleAxisBench(benchmark::State& state) {
    std::string log;
    double x = 0.237;
    for (auto _ : state) {
        double min = x, max = x * 3.8 + 1000;
        int exponent = 0;
        log.clear();
        ScaleAxis(min, max, 11, exponent, log);
        benchmark::DoNotOptimize(max);
        x += 1e-6;
    }
}

// Every row of a full point table as one line each, with the texts of a frame.
void CanvasRedraw(benchmark::State& state) {
    PlotCanvas canvas(1280, 1024);
    for (auto _ : state) {
        canvas.Cls();
        canvas.setUserScale(0, 1.2, 11, -2.4);
        canvas.setForeColor(0xFF0000);
        double lastY = 0;
        for (int i = 1; i < kRows; ++i) {
            const double y = std::sin(i * 1e-3);
            canvas.Line((i - 1) * 11.0 / kRows, lastY, i * 11.0 / kRows, y);
            lastY = y;
        }
        for (int i = 0; i < 30; ++i) {
            canvas.setCurrentX(i * 0.3);
            canvas.setCurrentY(1.1);
            canvas.Print("1.25E-3");
        }
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

// The engine drawing the first plot of the large file again on a 1280 x 1024 canvas.
void FirstPlotRedraw(benchmark::State& state) {
    const std::string data = WriteLargeSeriesFile();
    ScriptedPrompter prompter;
    ResultFile file(prompter);
    PlotCanvas canvas(1280, 1024);
    BenchHost host;
    PlotEngine engine(canvas, file, host);
    if (file.ReadResultFile(data) != ReadStatus::Ok) {
        state.SkipWithError("the generated file did not read");
        return;
    }
    for (auto _ : state) {
        engine.reset();
        canvas.Cls();
        engine.PlotNext();
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    std::filesystem::remove(data);
}

BENCHMARK(StartToFirstPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(ScaleAxisBench)->Unit(benchmark::kMicrosecond);
BENCHMARK(CanvasRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPlotRedraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
