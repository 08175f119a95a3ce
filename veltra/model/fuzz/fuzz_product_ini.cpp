// libFuzzer entry: any bytes as the product ini file.
#include "ProductIni.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace veltrana;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ProductIni ini = ParseProductIni(std::string_view(reinterpret_cast<const char*>(data), size));
    // The user name is one line's value: never a line end, never the comment.
    if (ini.userName.find_first_of("\n!") != std::string::npos)
        __builtin_trap();
    return 0;
}
