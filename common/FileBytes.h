#pragma once

#include "CheckedFile.h"
#include "ErrorScheme.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace veltrana {

/// Reads the whole of a regular file into `bytes`, through the checked open. A device, pipe
/// or socket is refused without reading (and without waiting for a writer), as is a file of
/// more than `limit` bytes, and a file written in place while it was read. On failure `bytes`
/// is left empty and the error says what went wrong. Never throws.
FileError ReadFileBytes(const std::string& path, std::string& bytes,
                        std::size_t limit = kMaxFileBytes);

/// True when `path` names an existing file that its user made read-only: no write permission
/// bit at all (which even root respects here), or none that lets us write.
bool IsReadOnlyFile(const std::string& path);

/// Replaces the file's contents with `bytes` so that the old file survives any failure: the
/// bytes go to a new file beside it, which is synced, given `mode` and renamed over the old
/// one. A symbolic link is followed, so the link stays a link and its target gets the bytes.
/// Returns 0, or the errno of the failing step; a failing directory sync after the rename is
/// reported too (the file then holds the new bytes, but may not keep them through a crash).
int ReplaceFileBytes(const std::string& path, std::string_view bytes, mode_t mode);

/// The steps of ReplaceFileBytes, in order. Write is passed once for every write call.
enum class SaveStep { Open, Write, Chmod, Sync, Close, Rename, DirSync };

/// Test seam: called before each step of a save. 0 lets the step run; an errno makes the step
/// fail with it; kShortWrite (Write only) writes part of the bytes and goes on.
using SaveFaultHook = std::function<int(SaveStep step)>;
inline constexpr int kShortWrite = -1;
/// Installs the hook (an empty one removes it); returns the previous one.
SaveFaultHook SetSaveFaultHook(SaveFaultHook hook);

} // namespace veltrana
