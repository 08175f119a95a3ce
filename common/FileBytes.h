#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace veltrana {

/// Reads the whole file into `bytes`. Returns 0, or the errno of the failing step; `bytes`
/// is left empty then. Never throws.
int ReadFileBytes(const std::string& path, std::string& bytes);

/// Replaces the file's contents with `bytes` so that the old file survives any failure: the
/// bytes go to a new file beside it, which is synced, given `mode` and renamed over the old
/// one. Returns 0, or the errno of the failing step.
int ReplaceFileBytes(const std::string& path, std::string_view bytes, mode_t mode);

} // namespace veltrana
