#pragma once

#include "RegistryStore.h"

#include <string>
#include <string_view>

namespace veltrana {

/// Company key, parent of the product key; holds `fileIn`, which `plots` reads.
inline constexpr std::string_view kCompanyKey = "Software\\Tamsen Systems";
/// Product key; holds `LastFilePath`.
inline constexpr std::string_view kProductKey = "Software\\Tamsen Systems\\Veltrana";

/// Full path of the result data file `plots` is to read next; "" when none.
std::string GetFileIn(const RegistryStore& store);
/// Records `path` as `fileIn`, creating the company key when missing. Error 1001 when the key
/// cannot be created, 1002 when the value cannot be written; nothing is written then.
RegError SaveFileIn(RegistryStore& store, std::string_view path);

/// Directory of the last input file opened or run, when it is an absolute path (starts with
/// "/" but not "//"); "" otherwise, so that a bare name is never taken for a directory.
std::string GetLastFilePath(const RegistryStore& store);
/// Records `directory` as `LastFilePath`, creating the product key when missing. Errors as for
/// SaveFileIn.
RegError SaveLastFilePath(RegistryStore& store, std::string_view directory);

} // namespace veltrana
