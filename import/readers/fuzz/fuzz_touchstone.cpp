// libFuzzer entry: any bytes as a Touchstone file of one, two, three or four ports, or of a
// ".ts" name. Whatever is read must hold one full matrix per ascending frequency, and the
// response taken from it, delay included, must be finite.
#include "MeasuredResponse.h"
#include "Touchstone.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace veltrana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int ports : {0, 1, 2, 3, 4}) {
        MeasuredFile file;
        file.kind = MeasuredFile::Kind::Touchstone;
        ImportError error;
        if (!ReadTouchstone(text, ports, file.touchstone, error)) {
            if (error.what.empty() || error.line < 0)
                __builtin_trap();
            continue;
        }
        const TouchstoneData& t = file.touchstone;
        const auto n = static_cast<std::size_t>(t.ports);
        if (t.ports < 1 || t.freqHz.empty() || t.values.size() != t.freqHz.size() * n * n)
            __builtin_trap();
        for (std::size_t k = 1; k < t.freqHz.size(); ++k)
            if (!(t.freqHz[k] > t.freqHz[k - 1]))
                __builtin_trap();
        ImportChoices choices;
        choices.delay = true;
        MeasuredResponse response;
        if (!MeasuredResponseOf(file, choices, response, error))
            continue;
        for (auto* v : {&response.freqMHz, &response.yout, &response.delayNs})
            for (double x : *v)
                if (!std::isfinite(x))
                    __builtin_trap();
    }
    return 0;
}
