#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace veltrana {

/// The two predefined roots the programs use.
enum class RegRoot { CurrentUser, ClassesRoot };

/// Value types, numbered as the platform numbers them; other numbers can be passed (and are
/// refused), so the enum is open.
enum class RegType : int { String = 1, Binary = 3, Number = 4 };

using RegBytes = std::vector<std::uint8_t>;

/// A stored value: a string (any bytes, any length), a byte array or a 32-bit number. The
/// alternative held is the value's type.
using RegValue = std::variant<std::string, RegBytes, std::int32_t>;

/// Error numbers of the registry routines.
inline constexpr int kRegErrorCreate = 1001;    ///< key not creatable, or unsupported value type
inline constexpr int kRegErrorWrite = 1002;     ///< a value could not be written
inline constexpr int kRegErrorDamaged = 1003;   ///< the store file could not be read
inline constexpr int kRegNoticeReadOnly = 1004; ///< the store file is read-only: kept in memory

inline constexpr const char* kRegTextCreateKey = "Unable to create the registry key";
inline constexpr const char* kRegTextUnsupportedType = "Unsupported value type";

/// An error of a registry routine; number 0 means none.
struct RegError {
    int number = 0;
    std::string description;
    bool ok() const { return number == 0; }
    bool operator==(const RegError&) const = default;
};

/// A value together with the error of the routine that produced it.
template <class T> struct RegResult {
    T value{};
    RegError error;
};

} // namespace veltrana
