#include "PlotReadout.h"

#include "FitSummary.h"

namespace veltrana {

std::string ReadoutNumber(double value) {
    return SignificantDigits(value, 4);
}

std::string ReadoutText(double x, double y) {
    return "X = " + ReadoutNumber(x) + "   Y = " + ReadoutNumber(y);
}

} // namespace veltrana
