// Writing and reading an input file of 100,000 pass-band points, through the disk.
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace veltrana;

namespace {

constexpr int kPoints = 100000;

DesignProblem BigProblem() {
    DesignProblem p;
    p.Answers[SlotFreqCount] = std::to_string(kPoints);
    for (auto* v : {&p.Freq, &p.Yin, &p.Yout, &p.Weight})
        v->assign(kPoints + 1, {});
    for (int i = 1; i <= kPoints; ++i) {
        p.Freq[i] = std::to_string(i * 0.0001);
        p.Yin[i] = "1.0023";
        p.Yout[i] = std::to_string(1.0 - i * 1e-6);
        p.Weight[i] = "1.00";
    }
    p.nFreqPoints = kPoints;
    p.SolverAnswers[0] = "5 10 7";
    return p;
}

std::string Directory() {
    static std::string dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("veltra-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir;
}

void BM_WriteAnsFile(benchmark::State& st) {
    DesignProblem p = BigProblem();
    ShellState state;
    ScriptedPrompter prompter;
    for (auto _ : st)
        benchmark::DoNotOptimize(WriteAnsFile(p, "big.1", Directory(), state, prompter));
    if (state.writeFailed)
        st.SkipWithError("write failed");
}

void BM_FileReadMe(benchmark::State& st) {
    DesignProblem p = BigProblem();
    ShellState state;
    ScriptedPrompter prompter;
    WriteAnsFile(p, "big.1", Directory(), state, prompter);
    DesignProblem back;
    for (auto _ : st)
        benchmark::DoNotOptimize(FileReadMe("big.1", Directory(), back, prompter));
    if (back.nFreqPoints != kPoints)
        st.SkipWithError("read back a different table");
}

} // namespace

BENCHMARK(BM_WriteAnsFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileReadMe)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(Directory());
    return 0;
}
