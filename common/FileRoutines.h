#pragma once

#include "ErrorScheme.h"
#include "Prompter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// Names of the normal files a path names, sorted. The name part (after the last "/") may hold
/// the wildcards "*" and "?" ("x.*" also names "x"); a wildcard does not match a leading "."
/// unless the pattern starts with one. Directories never count. A missing directory is no
/// error: it just holds no files. A path without "/" is looked up in the current directory.
struct FileListing {
    std::vector<std::string> names;
    FileError error;
};
FileListing ListFiles(std::string_view path);

/// Whether something exists, or the error that kept us from knowing.
struct FileProbe {
    bool exists = false;
    FileError error;
};
/// True when ListFiles(path) names a file.
FileProbe ProbeFile(std::string_view path);
/// True when the directory exists.
FileProbe ProbeDir(std::string_view directory);

/// True when the path names a normal file (wildcards allowed); false on any error.
bool FileExists(std::string_view path);
/// As above, with errors handled by HandleFileError under the title "In 'FileExists' routine
/// ...". At most `maxRetries` retries; when the handling does not end in a successful retry
/// the result is false, and `*fatal` (when given) tells whether it ended in Fatal.
bool FileExists(std::string_view path, Prompter& prompter, int maxRetries = 3,
                bool* fatal = nullptr);

/// True when the directory exists; false on any error.
bool dirExists(std::string_view directory);
/// As above, with errors handled as for FileExists, titled "In 'dirExists' routine ...".
bool dirExists(std::string_view directory, Prompter& prompter, int maxRetries = 3,
               bool* fatal = nullptr);

/// The process's current directory; "" when it cannot be known (removed, say).
std::string CurrentDirectory();

/// There are no short names here: an existing path is returned unchanged, else "".
std::string ShortPathOf(std::string_view path);

struct PathParts {
    std::string directory; ///< text before the last "/"
    std::string name;      ///< text after the last "/"
    bool operator==(const PathParts&) const = default;
};
/// Splits at the last "/". Without one, the name is the whole text and the directory is
/// `currentDirectory`, or the process's current directory when that is empty.
PathParts SplitPath(std::string_view path, std::string_view currentDirectory = {});

/// Formats a platform version number: low byte major, next byte minor, shown as
/// major + minor / 100 with two decimals ("4.00", "4.10", "5.01").
std::string GetWindowsVer(std::uint32_t version);

/// Deletes every normal file ListFiles(path) names, stopping at the first failure.
struct DeleteResult {
    int deleted = 0;
    FileError error;
};
DeleteResult DeleteMatching(std::string_view path);

} // namespace veltrana
