#include "PointSelection.h"

#include <algorithm>
#include <cmath>

namespace veltrana {

std::vector<std::size_t> SelectPoints(const std::vector<double>& freqMHz, const PointRange& range) {
    std::vector<std::size_t> inside;
    for (std::size_t i = 0; i < freqMHz.size(); ++i) {
        const double f = freqMHz[i];
        if (f > 0 && (!range.fromMHz || f >= *range.fromMHz) && (!range.toMHz || f <= *range.toMHz))
            inside.push_back(i);
    }
    const std::size_t most = static_cast<std::size_t>(std::max(range.maxPoints, 2));
    if (range.maxPoints <= 0 || inside.size() <= most)
        return inside;
    // Evenly over the points' order, so that a uniform sweep stays uniform.
    std::vector<std::size_t> kept(most);
    const double step = static_cast<double>(inside.size() - 1) / static_cast<double>(most - 1);
    for (std::size_t k = 0; k < most; ++k)
        kept[k] = inside[static_cast<std::size_t>(std::llround(static_cast<double>(k) * step))];
    return kept;
}

} // namespace veltrana
