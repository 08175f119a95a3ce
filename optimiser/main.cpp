#include "CommandLine.h"
#include "RunGuard.h"

int main(int argc, char** argv) {
    veltrana::RunOptions options;
    options.cancel = &veltrana::CatchCancelSignals();
    return veltrana::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
}
