// Filling the pass-band grid with a large problem and collecting it again.
// Run with QT_QPA_PLATFORM=offscreen.

#include "DesignProblem.h"
#include "MainForm.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace veltrana;

namespace {

DesignProblem LargeProblem(int points) {
    DesignProblem p;
    p.Answers[4] = "Y";
    p.Answers[22] = std::to_string(points);
    p.Freq.assign(points + 1, {});
    p.Yin = p.Yout = p.Weight = p.Freq;
    for (int i = 1; i <= points; ++i) {
        p.Freq[i] = std::to_string(i * 0.001);
        p.Yin[i] = "0.9871";
        p.Yout[i] = "1.0034";
        p.Weight[i] = "1.5";
    }
    return p;
}

void BM_GetAndPutPassBand(benchmark::State& bench) {
    const int points = static_cast<int>(bench.range(0));
    const DesignProblem large = LargeProblem(points);
    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    MainForm form(problem, state, prompter);
    form.show();
    for (auto _ : bench) {
        problem = large;
        form.GetAnswers();
        form.PutAnswers();
        if (problem.nFreqPoints != points)
            bench.SkipWithError("points lost");
        QApplication::processEvents();
    }
    bench.counters["points"] = points;
}
BENCHMARK(BM_GetAndPutPassBand)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
