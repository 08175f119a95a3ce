#pragma once

#include "ImportError.h"
#include "TextTable.h"
#include "Touchstone.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrana {

/// A file of measured data as read: a Touchstone file (by its name, ".sNp" in any case or
/// ".ts") or else a text table.
struct MeasuredFile {
    enum class Kind { Touchstone, Table };
    Kind kind = Kind::Table;
    std::string name; ///< the file's name without its directory
    TouchstoneData touchstone;
    TextTable table;
};

/// Measured files beyond this size are refused unread: a sweep of 100,001 points of a
/// four-port is about 40 MB.
inline constexpr std::size_t kMaxMeasuredFileBytes = std::size_t{48} << 20;

/// Reads the file at `path` through the suite's checked read (a regular file of limited size).
bool LoadMeasuredFile(const std::string& path, MeasuredFile& file, ImportError& error);

/// Takes the file's `bytes` in, as a Touchstone file or a text table after its `name`.
bool ParseMeasuredFile(std::string_view name, std::string_view bytes, MeasuredFile& file,
                       ImportError& error);

} // namespace veltrana
