// The hand-over after a run: from the optimiser's exit to the start of plots, through
// veltra's child-process watch, the end-of-run checks and the start of plots. Both ends are
// HandoverStub, which notes the wall-clock time; each iteration is one whole Submit.
// Run with QT_QPA_PLATFORM=offscreen and the stub's path as first argument.
#include "ScriptedPrompter.h"
#include "VeltraShell.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

std::string g_stub;

// Runs the event loop as the program does (QTest::qWaitFor sleeps between its looks, which
// would delay the child's end by up to its sleep) until `done` or `ms` have passed.
template <class Done> bool WaitFor(Done done, int ms) {
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    look.start(2);
    loop.exec();
    return done();
}

long long ReadNs(const fs::path& path) {
    long long ns = 0;
    std::ifstream(path) >> ns;
    return ns;
}

void BM_OptimiserExitToPlotsStart(benchmark::State& state) {
    const fs::path family =
        fs::temp_directory_path() / ("bench-handover-" + std::to_string(::getpid()));
    const fs::path user = family / "Veltr.hz/User";
    fs::create_directories(user);
    fs::copy_file(g_stub, family / "optimiser", fs::copy_options::overwrite_existing);
    fs::copy_file(g_stub, family / "plots", fs::copy_options::overwrite_existing);
    fs::copy_file(fs::path(VELTRANA_EXAMPLES) / "Ex-Yzero.01", user / "run.frq",
                  fs::copy_options::overwrite_existing);
    ::setenv("VELTRANA_REGISTRY", (family / "registry").c_str(), 1);

    StartupEnvironment env = SystemEnvironment();
    env.getenv = [&](const char* n) {
        return std::string(n) == "Quillon" ? family.string() : std::string();
    };
    ScriptedPrompter prompter;
    VeltraShell shell(&prompter, env);
    shell.start();
    for (auto _ : state) {
        fs::remove(family / "plots.ns");
        shell.state().currentFileName = "run.frq";
        shell.state().currentDir = user.string();
        shell.state().dataChanged = false;
        shell.runCommands().SubmitCommand();
        // plots.ns may exist before its number is written.
        if (!WaitFor([&] { return ReadNs(family / "plots.ns") > 0; }, 5000) ||
            !prompter.prompts.empty()) {
            state.SkipWithError("the run did not end in plots");
            break;
        }
        const long long ns = ReadNs(family / "plots.ns") - ReadNs(family / "exit.ns");
        state.SetIterationTime(static_cast<double>(ns) * 1e-9);
    }
    fs::remove_all(family);
}
BENCHMARK(BM_OptimiserExitToPlotsStart)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path of handover_stub>\n", argv[0]);
        return 2;
    }
    g_stub = fs::absolute(argv[1]).string();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
