#pragma once

#include <string>

namespace veltrana {

/// Reads the whole file into `bytes`. Returns 0, or the errno of the failing step; `bytes`
/// is left empty then. Never throws.
int ReadFileBytes(const std::string& path, std::string& bytes);

} // namespace veltrana
