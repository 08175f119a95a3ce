#include "OptimiserRun.h"
#include "RunGuard.h"

int main(int argc, char** argv) {
    veltrana::RunOptions options;
    options.cancel = &veltrana::CatchCancelSignals();
    return veltrana::RunOptimiser(std::vector<std::string>(argv + 1, argv + argc), options);
}
