#include "CommandLine.h"

#include <csignal>

namespace {

std::atomic<bool> g_cancel{false};

extern "C" void RequestCancel(int) {
    g_cancel.store(true);
}

} // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::signal(SIGTERM, RequestCancel);
    std::signal(SIGINT, RequestCancel);
    veltrana::RunOptions options;
    options.cancel = &g_cancel;
    return veltrana::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
}
