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

/// Whether the result file at `path` holds the result of another input file than `name`, as
/// its first line tells: the optimiser begins it with the input file's name and two blanks.
/// `other` is then that name. False when there is no such file, it cannot be read or it
/// names `name` (a.frq and a.frq.bak, Test.frq and test.frq share one result file).
bool ResultOfAnotherInput(const std::string& path, std::string_view name, std::string& other);

} // namespace veltrana
