// One proportional resizing pass over the main form: every control placed and its font set.
// Run with QT_QPA_PLATFORM=offscreen.

#include "DesignProblem.h"
#include "MainForm.h"
#include "ScriptedPrompter.h"
#include "ShellState.h"

#include <QApplication>

#include <benchmark/benchmark.h>

using namespace veltrana;

namespace {

// The window alternates between two sizes, so that every pass moves, sizes and re-fonts
// every control; the resize of the window runs the pass, as a user's resizing does.
void BM_ResizeControls(benchmark::State& bench) {
    DesignProblem problem;
    ShellState state;
    ScriptedPrompter prompter;
    MainForm form(problem, state, prompter);
    form.show();
    QApplication::processEvents();
    const QSize sizes[] = {{1200, 840}, {1000, 700}};
    int i = 0;
    for (auto _ : bench) {
        form.resize(sizes[i++ % 2]);
        bench.PauseTiming();
        QApplication::processEvents(); // paints and deferred events, outside the pass
        bench.ResumeTiming();
    }
    bench.counters["controls"] = static_cast<double>(form.findChildren<QWidget*>().size());
}
BENCHMARK(BM_ResizeControls)->Unit(benchmark::kMicrosecond);

} // namespace
