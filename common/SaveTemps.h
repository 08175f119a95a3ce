#pragma once

#include <string>
#include <string_view>

namespace veltrana {

/// The temporary file a save writes beside its target: ".vt-" and six letters or digits.
inline constexpr std::string_view kSaveTempPrefix = ".vt-";
bool IsSaveTempName(std::string_view name);

/// A save's temporary file is locked (flock) by its writer from the moment it is made until
/// it is renamed or removed. Locks the new file `fd`; false when the file system refuses.
bool MarkSaveTempOwned(int fd);

/// Removes the leftovers of saves that were killed: temporary files of that pattern in
/// `directory` that belong to this user, that no process holds locked, and that have not been
/// written for `minAgeSeconds` (a writer takes its lock a moment after making the file).
/// Returns how many were removed; a directory that cannot be read holds none.
int RemoveStaleSaveTemps(const std::string& directory, int minAgeSeconds = 2);

} // namespace veltrana
