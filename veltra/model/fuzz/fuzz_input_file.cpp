// libFuzzer entry: any bytes as an input file. Whatever was read must write out and read
// back as itself after one round (the first round normalises what the format cannot hold:
// counts with trailing text, characters Windows-1252 leaves unassigned).
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace veltrana;

namespace {

std::tm Fixed() {
    return std::tm{};
}

bool TablesCoverCounts(const DesignProblem& p) {
    auto covers = [](const std::vector<std::string>& v, int n) {
        return n >= 0 && v.size() > static_cast<size_t>(n);
    };
    return covers(p.Freq, p.nFreqPoints) && covers(p.Yin, p.nFreqPoints) &&
           covers(p.Yout, p.nFreqPoints) && covers(p.Weight, p.nFreqPoints) &&
           covers(p.DelFreq, p.nDelayPoints) && covers(p.TX, p.nDelayPoints);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedPrompter prompter;
    DesignProblem first;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadOutcome outcome = ParseAnsFile(bytes, first, prompter);
    if (!TablesCoverCounts(first))
        __builtin_trap();
    // A damaged file earns exactly one message.
    if (prompter.prompts.size() != (outcome == ReadOutcome::Failed ? 1u : 0u))
        __builtin_trap();
    if (outcome != ReadOutcome::Read)
        return 0;
    DesignProblem second, third;
    if (ParseAnsFile(FormatAnsFile(first, "f", Fixed()), second, prompter) != ReadOutcome::Read ||
        ParseAnsFile(FormatAnsFile(second, "f", Fixed()), third, prompter) != ReadOutcome::Read ||
        !(second == third))
        __builtin_trap();
    return 0;
}
