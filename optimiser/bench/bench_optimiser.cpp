// Fits each of the seven example problems; the counters give the start and final error sums
// and the model evaluations of one fit, the time is that of one whole fit.
#include "Fit.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <benchmark/benchmark.h>

using namespace veltrana;

namespace {

void FitExample(benchmark::State& state, const std::string& name) {
    DesignProblem design;
    ScriptedPrompter prompter;
    FitProblem problem;
    SolverSettings settings;
    std::vector<std::string> notes;
    std::string error;
    if (FileReadMe(name, OPTIMISER_EXAMPLES, design, prompter) != ReadOutcome::Read ||
        !BuildFitProblem(design, problem, error) ||
        !ParseSolverSettings(design.SolverAnswers, design.nSolverLines, settings, notes, error)) {
        state.SkipWithError(("cannot read " + name + " " + error).c_str());
        return;
    }
    FitResult result;
    for (auto _ : state) {
        FitObserver quiet;
        result = Fit(problem, settings, quiet);
        benchmark::DoNotOptimize(result);
    }
    state.counters["start"] = EvaluateError(problem, problem.start, &problem.startGain).total();
    state.counters["final"] = result.parts.total();
    state.counters["evals"] = result.evaluations;
    state.counters["starts"] = result.starts;
}

} // namespace

int main(int argc, char** argv) {
    for (const char* name : {"Ex-Yzero.01", "Ex-Yzero.02", "Ex-CNTL.1", "Ex-Delay.01",
                             "Ex-Delay.11", "Ex-Delay.12", "Ex-Zpair.1"}) {
        benchmark::RegisterBenchmark(name, FitExample, std::string(name))
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
