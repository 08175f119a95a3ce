// libFuzzer entry: any bytes as the registry store's file. A file that reads as undamaged
// must write back to a text that reads as the same keys and writes the same again.
#include "RegistryFormat.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace veltrana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegParseResult parsed = ParseRegistry(std::string_view(reinterpret_cast<const char*>(data), size));
    if (parsed.damaged) {
        if (!parsed.keys.empty() || parsed.problem.empty())
            __builtin_trap();
        return 0;
    }
    std::string text = SerializeRegistry(parsed.keys);
    RegParseResult again = ParseRegistry(text);
    if (again.damaged || again.keys != parsed.keys || SerializeRegistry(again.keys) != text)
        __builtin_trap();
    return 0;
}
