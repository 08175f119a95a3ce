#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// Removes blanks (not TABs) at both ends, as the programs' trimming does.
std::string TrimBlanks(std::string_view text);

/// Replaces every occurrence of `from` (non-empty) by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

/// The numeric value of a text: blanks and TABs are skipped, then the longest leading number
/// (sign, digits, one decimal point, exponent with E or D) is read; 0 when there is none.
double NumericValue(std::string_view text);

/// Rounds to the nearest integer, halves to even, clamped to the int range.
int RoundToInt(double value);

/// Splits at every occurrence of `separator`; two separators in a row give an empty piece.
std::vector<std::string> SplitAt(std::string_view text, char separator);

/// The first `count` characters (code points) of UTF-8 text; all of it when shorter.
std::string LeftChars(std::string_view utf8, size_t count);

/// The first `count` characters of UTF-8 text and "..." when it is longer: text from a file
/// (a line of junk, a header cell) quoted in a message or a list without being repeated whole.
std::string Shortened(std::string_view utf8, size_t count);

/// UTF-8 text to Windows-1252 bytes; characters outside the code page become '?'.
std::string ToCp1252(std::string_view utf8);
/// Windows-1252 bytes to UTF-8 text; the five unassigned bytes map to U+FFFD.
std::string FromCp1252(std::string_view bytes);

/// Case-sensitive wildcard match of a file name: '*' any run, '?' one character.
bool WildcardMatch(std::string_view pattern, std::string_view name);

} // namespace veltrana
