#include "RunGuard.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace veltrana {

namespace {

std::atomic<bool> g_cancel{false};
std::atomic<int> g_signal{0};

extern "C" void CancelOnSignal(int signal) {
    g_signal.store(signal);
    g_cancel.store(true);
}

constexpr int kCancelSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGXFSZ};

} // namespace

const std::atomic<bool>& CatchCancelSignals() {
    static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
    struct sigaction action {};
    action.sa_handler = CancelOnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : kCancelSignals)
        ::sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return g_cancel;
}

std::string CancelledLine() {
    const int signal = g_signal.load();
    const char* name = signal == SIGTERM   ? "SIGTERM"
                       : signal == SIGINT  ? "SIGINT"
                       : signal == SIGHUP  ? "SIGHUP"
                       : signal == SIGXFSZ ? "SIGXFSZ (file size limit)"
                                           : nullptr;
    return std::string("Run cancelled") + (name ? std::string(" by ") + name : "") +
           ": no result file written.";
}

bool GuardListing(const std::string& listing, const std::string& inputFile, RunLock& lock,
                  std::string& error) {
    RunHolder other;
    RunLock::Result result = RunLock::Result::Failed;
    // A descriptor that is no lock of this listing hands nothing down: the run takes its own.
    if (const char* handed = std::getenv(kRunLockFdVariable); handed && *handed) {
        char* end = nullptr;
        const long fd = std::strtol(handed, &end, 10);
        if (*end == '\0' && fd >= 0 && fd <= INT32_MAX)
            result = lock.Adopt(static_cast<int>(fd), listing, other, error);
    }
    if (result == RunLock::Result::Failed) {
        error.clear();
        result = lock.Take(listing, ThisProcess(inputFile), other, error);
    }
    if (result == RunLock::Result::Busy)
        error = DescribeRun(other) + " The listing " + listing +
                " is that run's: this run stops without touching it.";
    return result == RunLock::Result::Taken;
}

} // namespace veltrana
