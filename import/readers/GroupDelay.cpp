#include "GroupDelay.h"

#include <cmath>
#include <numbers>

namespace veltrana {

std::vector<double> UnwrapPhase(const std::vector<double>& radians) {
    constexpr double kTwoPi = 2 * std::numbers::pi;
    std::vector<double> out = radians;
    double shift = 0;
    for (std::size_t i = 1; i < out.size(); ++i) {
        const double step = radians[i] - radians[i - 1];
        shift -= kTwoPi * std::round(step / kTwoPi);
        out[i] = radians[i] + shift;
    }
    return out;
}

std::vector<double> GroupDelayNs(const std::vector<double>& freqHz,
                                 const std::vector<double>& phase) {
    const std::size_t n = std::min(freqHz.size(), phase.size());
    if (n < 2)
        return {};
    // The derivative at x[k] of the parabola through three neighbouring points: second order
    // also where the grid is uneven.
    auto derivative = [&](std::size_t a, std::size_t b, std::size_t c, std::size_t at) {
        const double xa = freqHz[a], xb = freqHz[b], xc = freqHz[c], x = freqHz[at];
        const double la = ((x - xb) + (x - xc)) / ((xa - xb) * (xa - xc));
        const double lb = ((x - xa) + (x - xc)) / ((xb - xa) * (xb - xc));
        const double lc = ((x - xa) + (x - xb)) / ((xc - xa) * (xc - xb));
        return la * phase[a] + lb * phase[b] + lc * phase[c];
    };
    constexpr double kNsPerSecond = 1e9;
    const double scale = -kNsPerSecond / (2 * std::numbers::pi); // dphi/df to -dphi/domega
    std::vector<double> delay(n);
    if (n == 2) {
        delay[0] = delay[1] = scale * (phase[1] - phase[0]) / (freqHz[1] - freqHz[0]);
        return delay;
    }
    delay[0] = scale * derivative(0, 1, 2, 0);
    for (std::size_t k = 1; k + 1 < n; ++k)
        delay[k] = scale * derivative(k - 1, k, k + 1, k);
    delay[n - 1] = scale * derivative(n - 3, n - 2, n - 1, n - 1);
    return delay;
}

} // namespace veltrana
