// Reading the largest result file a run can produce: a model -2 design with a full point
// table and three full trailing sections.
#include "ResultFile.h"
#include "ScriptedPrompter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace veltrana;

namespace {

constexpr int kRows = 32767;

std::string WriteLargeFile() {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("veltrana-bench-" + std::to_string(getpid()) + ".dat");
    std::ofstream out(path, std::ios::binary);
    out << "Benchmark design\r\nsecond line\r\nthird line\r\n";
    out << " -2  0  " << kRows << "\r\n";
    out << " 1  3  2  0.5\r\n 1  8\r\n -0.35\r\n";
    out << " -0.11 -0.22 -0.33 -0.44 -0.55\r\n -0.66 -0.77 -0.88\r\n";
    out << " 8.5 1.25 7.75 2.5 6.125 3.0625 5.5 4.75\r\n";
    out << " 1\r\n -0.5  0  1\r\n 3  2  1\r\n 1.5 2.5 4.5\r\n";
    out << " -0.2 -0.3 -0.4\r\n 0.8 1.2 1.6\r\n 1.2345E+02\r\n 0 0\r\n";
    char line[128];
    for (int i = 0; i < kRows; ++i) {
        const double x = i * 1.0e-3;
        std::snprintf(line, sizeof line, " %.15E %.15E %.15E\r\n", x, 1.0 / (1.0 + x),
                      -0.5 * x * x);
        out << line;
    }
    for (const char* title : {"Sidelobe ripple (dB)", "Group delay ripple", "h(t)"}) {
        out << ' ' << title << "\r\n " << kRows << "\r\n";
        for (int i = 0; i < kRows; ++i) {
            std::snprintf(line, sizeof line, " %.15E %.15E\r\n", i * 2.5e-4, -40.0 - i * 1e-3);
            out << line;
        }
    }
    return path.string();
}

void ReadLargeModelMinusTwoFile(benchmark::State& state) {
    const std::string path = WriteLargeFile();
    ScriptedPrompter prompter;
    ResultFile file(prompter);
    for (auto _ : state) {
        bool ok = file.ReadResultFile(path) == ReadStatus::Ok;
        for (ResultSection s :
             {ResultSection::Sidelobe, ResultSection::Ripple, ResultSection::ImpulseResponse})
            ok = ok && file.ReadSection(s) == ReadStatus::Ok && file.data().nPoints == kRows;
        if (!ok) {
            state.SkipWithError("the generated file did not read cleanly");
            break;
        }
        benchmark::DoNotOptimize(file.data().pointY2.data());
        file.Close();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

BENCHMARK(ReadLargeModelMinusTwoFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
