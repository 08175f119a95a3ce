#include "FilterModel.h"

namespace veltrana {

std::string LocationName(const FilterLayout& l, int i) {
    if (i < l.nSigmaPoles) {
        return "sigma pole";
    }
    const std::string part = (i - l.nSigmaPoles) % 2 == 0 ? "real part of " : "imaginary part of ";
    if (i < l.sigmaZeroAt()) {
        return part + "pole pair " + std::to_string((i - l.nSigmaPoles) / 2 + 1);
    }
    if (i < l.omegaZero(0)) {
        return "sigma zero";
    }
    if (i < l.zeroReal(0)) {
        return "omega zero " + std::to_string(i - l.omegaZero(0) + 1);
    }
    const int q = (i - l.zeroReal(0)) / 2;
    const std::string which = (i - l.zeroReal(0)) % 2 == 0 ? "real part of " : "imaginary part of ";
    return which + (q < l.nZeroPairs ? "zero pair " + std::to_string(q + 1)
                                     : "zero quad " + std::to_string(q - l.nZeroPairs + 1));
}

} // namespace veltrana
