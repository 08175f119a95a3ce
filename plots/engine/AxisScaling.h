#pragma once

#include <string>

namespace veltrana {

/// Turns raw axis bounds into decade-scaled bounds over `steps` nice steps. `exponent`
/// receives the even decade exponent; min and max come back in units of 10^exponent. The two
/// log lines (CR LF TAB " Min/Max/step= " ... and " min/max/step= " ...) are appended to `log`.
void ScaleAxis(double& min, double& max, int steps, int& exponent, std::string& log);
/// ScaleAxis over 11 steps (X) and 6 steps (Y).
void ScaleXAxis(double& min, double& max, int& exponent, std::string& log);
void ScaleYAxis(double& min, double& max, int& exponent, std::string& log);

double Log10(double x);
double Ceiling(double x);

} // namespace veltrana
