#include "Objective.h"

namespace veltrana {

int ResidualCount(const FitProblem& fp) {
    int count = static_cast<int>(fp.w.size());
    if (fp.equaliseDelay) {
        count += static_cast<int>(fp.dw.size());
    }
    if (fp.sidelobes()) {
        count += fp.layout.nOmegaZeros;
    }
    return count;
}

double PeakFrequency(const FilterLayout& layout, const double* p, double from, double to) {
    constexpr int kGrid = 32;
    if (!(to > from)) {
        return from;
    }
    const double step = (to - from) / kGrid;
    int best = 1;
    double bestValue = -1;
    // The ends are zeros (except the last interval's far end), so the grid includes the far
    // end and starts one step in.
    for (int i = 1; i <= kGrid; ++i) {
        const double v = MagnitudeSquared(layout, p, from + i * step);
        if (v > bestValue) {
            bestValue = v;
            best = i;
        }
    }
    double a = from + (best - 1) * step;
    double b = std::min(to, from + (best + 1) * step);
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = b - g * (b - a), x2 = a + g * (b - a);
    double f1 = MagnitudeSquared(layout, p, x1), f2 = MagnitudeSquared(layout, p, x2);
    for (int it = 0; it < 40 && b - a > 1e-10 * (1 + std::abs(b)); ++it) {
        if (f1 < f2) {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + g * (b - a);
            f2 = MagnitudeSquared(layout, p, x2);
        } else {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - g * (b - a);
            f1 = MagnitudeSquared(layout, p, x1);
        }
    }
    const double inner = f1 > f2 ? x1 : x2;
    return bestValue > std::max(f1, f2) ? from + best * step : inner;
}

ErrorParts EvaluateError(const FitProblem& fp, const std::vector<double>& p,
                         const double* fixedGain) {
    ErrorParts parts;
    std::vector<double> r(static_cast<size_t>(ResidualCount(fp)));
    parts.finite = Residuals(fp, p.data(), r.data(), fixedGain, &parts.gain, &parts.delayTarget);
    size_t at = 0;
    for (; at < fp.w.size(); ++at) {
        parts.passBand += r[at] * r[at];
    }
    if (fp.equaliseDelay) {
        for (size_t j = 0; j < fp.dw.size(); ++j, ++at) {
            parts.delay += r[at] * r[at];
        }
    }
    for (; at < r.size(); ++at) {
        parts.sidelobe += r[at] * r[at];
    }
    parts.finite = parts.finite && std::isfinite(parts.total());
    return parts;
}

double ZeroFilterError(const FitProblem& fp) {
    double sum = 0;
    for (size_t i = 0; i < fp.w.size(); ++i) {
        sum += fp.k[i] * fp.k[i] * fp.yout[i] * fp.yout[i];
    }
    return sum;
}

} // namespace veltrana
