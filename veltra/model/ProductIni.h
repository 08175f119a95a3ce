#pragma once

#include <string>
#include <string_view>

namespace veltrana {

/// What the product ini file holds beyond its title line.
struct ProductIni {
    double waitFactor = 0;
    std::string userName;
};

/// Reads the text of a product ini file: the first line is skipped, the second gives the
/// wait factor (its numeric value), the third the user name; each read as an answer line.
ProductIni ParseProductIni(std::string_view bytes);

} // namespace veltrana
