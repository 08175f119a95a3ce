// libFuzzer entry: any bytes as a result data file, then its sections and its summary.
#include "ResultFile.h"
#include "RunSummary.h"
#include "ScriptedPrompter.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

using namespace veltrana;

namespace {

// What the plot run relies on after a clean read: every count has its entries.
bool ArraysCoverCounts(const ResultData& d) {
    auto covers = [](const std::vector<double>& v, int n) {
        return n <= 0 || v.size() >= static_cast<size_t>(n);
    };
    bool ok = d.nPoints > 0 && covers(d.pointX, d.nPoints) && covers(d.pointY2, d.nPoints);
    if (d.modelX == -2 || d.modelX == -1) {
        ok = ok && d.nSigmaPoles >= 0 && d.nPolePairs >= 0 && d.nOmegaZeros >= 0 &&
             d.nZeroPairs >= 0 && d.nZeroQuads >= 0 && covers(d.pairReal, d.nPolePairs) &&
             covers(d.pairImag, d.nPolePairs) && covers(d.omegaZeros, d.nOmegaZeros) &&
             covers(d.zeroReal, d.nZeroPairs + d.nZeroQuads) &&
             covers(d.zeroImag, d.nZeroPairs + d.nZeroQuads);
        for (int i = 1; ok && i < d.nPolePairs; ++i)
            ok = d.pairImag[i - 1] <= d.pairImag[i];
    }
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedPrompter prompter;
    ResultFile file(prompter);
    std::string text(reinterpret_cast<const char*>(data), size);
    ReadStatus status =
        file.ReadResultStream(std::make_unique<std::istringstream>(std::move(text)), "fuzz.dat");
    if (status == ReadStatus::Ok) {
        if (!ArraysCoverCounts(file.data()))
            __builtin_trap();
        const std::string summary = WriteRunSummary(file.data(), LocalDateTime{});
        if (summary.empty() || summary.front() != '\t')
            __builtin_trap();
        for (ResultSection s :
             {ResultSection::Sidelobe, ResultSection::Ripple, ResultSection::ImpulseResponse}) {
            status = file.ReadSection(s);
            if (status != ReadStatus::Ok)
                break;
            if (!ArraysCoverCounts(file.data()))
                __builtin_trap();
        }
    }
    // A damaged file earns exactly one message, never a cascade.
    if (prompter.prompts.size() > 1 || (status == ReadStatus::Corrupted && file.isOpen()))
        __builtin_trap();
    return 0;
}
