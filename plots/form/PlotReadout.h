#pragma once

#include <string>

namespace veltrana {

/// A value as the readout shows it: four significant digits, the point as decimal separator
/// whatever the locale, an exponent such as E+06 when the value is very large or small.
std::string ReadoutNumber(double value);

/// The readout of the values under the pointer: "X = 1.235E+06   Y = 0.5".
std::string ReadoutText(double x, double y);

} // namespace veltrana
