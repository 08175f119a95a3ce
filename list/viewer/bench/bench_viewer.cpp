// The viewer over huge files: the memory it takes and how long its window may go without
// handling events while it reads (the worst gap between two ticks of a 5 ms timer). Each case runs
// in a process of its own, for its peak memory. Run with QT_QPA_PLATFORM=offscreen; a scratch
// folder may be given (default: the temp folder).
#include "FollowingTextView.h"
#include "TextViewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

std::string Lines(std::uint64_t bytes) {
    std::string text;
    text.reserve(bytes + 100);
    for (int i = 0; text.size() < bytes; ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        line.resize(79, '.');
        text += line + "\n";
    }
    return text;
}

// Processor time of this thread: what kept the event loop from turning, on a busy machine too.
double CpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long PeakMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) / 1024;
    return -1;
}

struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;                // the file when the view opens
    std::function<void(const fs::path&, int tick)> meanwhile; // what happens to it, per tick
};

// Shows the file in the viewer's window until it has caught up; prints the figures.
void Measure(const Case& c, const fs::path& file) {
    int argc = 1;
    char name[] = "bench_viewer";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    c.make(file);
    QElapsedTimer clock;
    clock.start();
    veltrana::TextViewer viewer(QString::fromStdString(file.string()));
    viewer.show();
    qint64 last = clock.elapsed(), worstGap = 0;
    double lastCpu = CpuMs(), worstCpu = 0;
    int ticks = 0, quietTicks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        // The writer's own time (a write may wait for the disk) is not the window's.
        const qint64 now = clock.elapsed();
        const double cpu = CpuMs();
        worstGap = std::max(worstGap, now - last);
        worstCpu = std::max(worstCpu, cpu - lastCpu);
        if (c.meanwhile)
            c.meanwhile(file, ticks);
        last = clock.elapsed();
        lastCpu = CpuMs();
        ++ticks;
        // Done once the view has caught up and nothing was added for half a second.
        quietTicks = viewer.view().caughtUp() ? quietTicks + 1 : 0;
        if (quietTicks > 100 || now > 120'000)
            app.quit();
    });
    tick.start(5);
    app.exec();
    const QTextDocument* doc = viewer.view().document();
    std::printf("%-66s %6.1f s %5ld MB %5lld ms %5.0f ms %9d %7d\n", c.name,
                (clock.elapsed() - 500) / 1000.0, PeakMb(), worstGap, worstCpu,
                doc->characterCount(), doc->blockCount());
}

} // namespace

int main(int argc, char** argv) {
    const fs::path dir = fs::path(argc > 1 ? argv[1] : fs::temp_directory_path().string()) /
                         ("bench-viewer-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string lines = Lines(16 << 20);
    const Case cases[] = {
        {"1 GB without a line end (sparse)",
         [](const fs::path& f) {
             std::ofstream(f).close();
             fs::resize_file(f, kGigabyte);
         },
         {}},
        {"1 GB, its last 16 MB in lines of 80 characters",
         [&](const fs::path& f) {
             std::ofstream(f).close();
             fs::resize_file(f, kGigabyte - lines.size());
             std::ofstream(f, std::ios::app) << lines;
         },
         {}},
        {"a listing growing by 4 MB every 50 ms to 96 MB",
         [](const fs::path& f) { std::ofstream(f) << "start\n"; },
         [&](const fs::path& f, int tick) {
             if (tick % 10 == 0 && tick / 10 < 24)
                 std::ofstream(f, std::ios::app) << std::string_view(lines).substr(0, 4 << 20);
         }},
        {"1 GB without a line end, growing by 4 MB every 50 ms to 1.1 GB",
         [](const fs::path& f) {
             std::ofstream(f).close();
             fs::resize_file(f, kGigabyte);
         },
         [](const fs::path& f, int tick) {
             if (tick % 10 == 0 && tick / 10 < 24)
                 std::ofstream(f, std::ios::app) << std::string(4 << 20, 'x');
         }},
    };
    std::printf("%-66s %8s %8s %8s %8s %9s %7s\n", "file", "read", "peak", "gap", "gap cpu",
                "chars", "lines");
    for (const Case& c : cases) {
        std::fflush(stdout);
        const fs::path file = dir / "file";
        if (const pid_t child = ::fork(); child == 0) {
            Measure(c, file);
            std::fflush(stdout);
            ::_exit(0);
        } else {
            int status = 0;
            ::waitpid(child, &status, 0);
        }
        fs::remove(file);
    }
    fs::remove_all(dir);
}
