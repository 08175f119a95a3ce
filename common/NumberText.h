#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrana {

/// The general text form of a number, as the programs print numbers in logs and summaries:
/// the shortest digits (at most 15 significant) that read back as `value`, no leading zero
/// before the point (".5", "-.25"), and the exponent form with a signed exponent of at least
/// two digits when the decimal exponent is below -4 or 7 and above ("1E-05", "-2.5E+07").
/// Zero (of either sign) is "0"; NaN and infinities give "NaN", "Inf" and "-Inf".
std::string GeneralNumber(double value);

/// The "#.##E+" family of patterns: one digit before the point, at most `maxDecimals`
/// decimals with trailing zeros dropped (and the point with them), then "E", the exponent's
/// sign and as many exponent digits as needed: 1500 with 2 decimals gives "1.5E+3", 0.5
/// gives "5E-1", 1.5 with 5 decimals "1.5E+0", 0 gives "0E+0".
std::string FormatScientific(double value, int maxDecimals);

/// A TAB and `value` in the "#.##E+" pattern with every "E+0" removed: 1.5 gives "\t1.5",
/// 1500 gives "\t1.5E+3".
std::string FormatE(double value);

/// One TAB, then the first `count` values (at most values.size()) each in the "#.##E+"
/// pattern followed by a TAB, every "E+0" removed and trailing blanks trimmed. No values give
/// a single TAB.
std::string FormatEList(const std::vector<double>& values, int count);

/// Reads a whole token as a number, whatever the locale: optional sign, digits with at most
/// one decimal point (".5" and "5." included), optional exponent with E or D (as Fortran
/// writes it) and an optional sign. Returns nothing for anything else, including "inf",
/// "nan", empty text, embedded blanks or TABs, and values outside the range of a double.
std::optional<double> ParseNumber(std::string_view token);

} // namespace veltrana
