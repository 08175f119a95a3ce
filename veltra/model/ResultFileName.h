#pragma once

#include <string>
#include <string_view>

namespace veltrana {

/// Where the optimiser writes the result data file of input file directory/name, and where
/// `plots` finds it: the name lower-cased with its first "." turned into "_" and anything
/// after a second "." dropped, then ".dat" (Test.frq gives test_frq.dat, ex-yzero.01 gives
/// ex-yzero_01.dat). The directory is kept as it is: on a case-sensitive file system a
/// lower-cased directory would be another one. `veltra` and the optimiser both call this.
std::string ResultFilePath(std::string_view name, std::string_view directory);

} // namespace veltrana
