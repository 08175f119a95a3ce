#pragma once

#include "RegistryTypes.h"

#include <map>
#include <string>
#include <string_view>

namespace veltrana {

/// Orders names without regard to ASCII case, as registry key and value names compare.
struct RegNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

using RegValueMap = std::map<std::string, RegValue, RegNameLess>;
/// Every key of the store by its full name ("HKEY_CURRENT_USER\Software\..."), with its values.
using RegKeyMap = std::map<std::string, RegValueMap, RegNameLess>;

/// Full name of a key: the root's name, then "\" and the sub-key unless that is empty.
std::string RegKeyName(RegRoot root, std::string_view subKey);

/// True for "" (the root itself) and for names of non-empty parts joined by single "\".
bool RegValidSubKey(std::string_view subKey);

struct RegParseResult {
    RegKeyMap keys;
    bool damaged = false;
    std::string problem; ///< what is wrong and where, when damaged
};

/// Reads the text of a store file. Empty text is an empty store; anything that is not exactly
/// what SerializeRegistry writes is damaged and gives no keys at all.
RegParseResult ParseRegistry(std::string_view text);

/// The text of a store file.
///
/// Format, one item a line, lines ending in LF:
///   VeltranaRegistry 1                      header
///   [HKEY_CURRENT_USER\Software\Tamsen Systems]   a key, followed by its values
///   1 fileIn=/home/ann/run.dat              type 1: string
///   3 Pattern=00ff7f                        type 3: bytes as lower-case hex pairs
///   4 GridType=-2                           type 4: decimal 32-bit number
///   End                                     trailer; a file without it is incomplete
/// In key names, value names and strings, the bytes below 0x20, 0x7F and "%", "=", "[", "]"
/// are written as "%" and two hex digits; every other byte stands for itself.
std::string SerializeRegistry(const RegKeyMap& keys);

} // namespace veltrana
