#pragma once

#include "FitProblem.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace veltrana {

/// Number of residuals: one per pass-band point, one per delay point when the delay is
/// equalised, one per sidelobe interval with two or more omega zeros.
int ResidualCount(const FitProblem& problem);

/// The frequency of the highest |H| inside [from, to], found on a grid and refined by golden
/// section. Plain numbers: the derivative of a peak value is the partial derivative at the
/// peak, so the jets only need the model evaluated there.
double PeakFrequency(const FilterLayout& layout, const double* p, double from, double to);

/// The gain that minimises the pass-band error for unit-gain magnitudes h; the start gain when
/// the pass band carries no weight (a delay-only fit, where the gain changes nothing).
template <class T> T BestGain(const FitProblem& fp, const std::vector<T>& h) {
    T num(0.0), den(0.0);
    for (size_t i = 0; i < h.size(); ++i) {
        const double k2 = fp.k[i] * fp.k[i];
        num += k2 * h[i] * fp.yin[i] * fp.yout[i];
        den += k2 * h[i] * h[i] * fp.yin[i] * fp.yin[i];
    }
    return ScalarOf(den) > 0 ? num / den : T(fp.startGain);
}

/// sign(e) |e|^power, kept linear very close to 0 where a power below 1 has no derivative.
template <class T> T SignedPower(const T& e, double power) {
    constexpr double kLinear = 1e-12;
    const double m = std::abs(ScalarOf(e));
    if (power == 1.0) {
        return e;
    }
    if (m < kLinear) {
        return e * std::pow(kLinear, power - 1.0);
    }
    using std::abs;
    using std::pow;
    return ScalarOf(e) > 0 ? pow(abs(e), power) : -pow(abs(e), power);
}

/// Fills r with the residuals of parameters p. The gain is solved for unless `fixedGain` is
/// given; `gainOut` and `targetOut` receive the gain and the delay target used. Returns
/// false when a residual is not finite.
template <class T>
bool Residuals(const FitProblem& fp, const T* p, T* r, const double* fixedGain = nullptr,
               double* gainOut = nullptr, double* targetOut = nullptr) {
    using std::log10;
    using std::sqrt;
    const FilterLayout& l = fp.layout;
    const size_t n = fp.w.size();
    std::vector<T> h(n);
    for (size_t i = 0; i < n; ++i) {
        // On an omega zero the magnitude is 0 and its square root has no derivative.
        const T m2 = MagnitudeSquared(l, p, T(fp.w[i]));
        h[i] = ScalarOf(m2) == 0 ? T(0.0) : sqrt(m2);
    }
    const T gain = fixedGain ? T(*fixedGain) : BestGain(fp, h);
    if (gainOut) {
        *gainOut = ScalarOf(gain);
    }
    int at = 0;
    for (size_t i = 0; i < n; ++i) {
        r[at++] = fp.k[i] * (gain * h[i] * fp.yin[i] - fp.yout[i]);
    }
    if (fp.equaliseDelay) {
        const size_t m = fp.dw.size();
        std::vector<T> total(m);
        T mean(0.0);
        for (size_t j = 0; j < m; ++j) {
            total[j] = fp.tx[j] + GroupDelay(l, p, T(fp.dw[j])) * fp.nsPerUnit;
            mean += total[j];
        }
        mean /= static_cast<double>(m);
        const T target = fp.tmin != 0 ? T(fp.tmin) : mean;
        if (targetOut) {
            *targetOut = ScalarOf(target);
        }
        // A target of 0 ns would divide by zero: the error is then taken in ns.
        const T scale = ScalarOf(target) != 0 ? target : T(1.0);
        for (size_t j = 0; j < m; ++j) {
            r[at++] = SignedPower((total[j] - target) / scale, fp.delayPower / 2);
        }
    }
    if (fp.sidelobes()) {
        std::vector<double> pd(static_cast<size_t>(l.size()));
        for (size_t i = 0; i < pd.size(); ++i) {
            pd[i] = ScalarOf(p[i]);
        }
        std::vector<int> order(static_cast<size_t>(l.nOmegaZeros));
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](int a, int b) { return pd[l.omegaZero(a)] < pd[l.omegaZero(b)]; });
        T hmax2(0.0);
        for (size_t i = 0; i < n; ++i) {
            const T h2 = h[i] * h[i];
            if (ScalarOf(h2) > ScalarOf(hmax2)) {
                hmax2 = h2;
            }
        }
        const size_t count = order.size();
        std::vector<T> level(count);
        T mean(0.0);
        for (size_t m = 0; m < count; ++m) {
            const T& from = p[l.omegaZero(order[m])];
            const T to =
                m + 1 < count ? p[l.omegaZero(order[m + 1])] : 1.5 * p[l.omegaZero(order.back())];
            const double peak = PeakFrequency(l, pd.data(), ScalarOf(from), ScalarOf(to));
            // A peak on the end of the last interval moves with that end.
            const T wPeak = (m + 1 == count && peak >= ScalarOf(to) * (1 - 1e-12)) ? to : T(peak);
            T mag2 = MagnitudeSquared(l, p, wPeak);
            if (ScalarOf(mag2) < 1e-300) {
                mag2 = T(1e-300);
            }
            level[m] = 10.0 * log10(mag2 / hmax2);
            mean += level[m];
        }
        mean /= static_cast<double>(count);
        for (size_t m = 0; m < count; ++m) {
            r[at++] = (level[m] - mean) / 20.0;
        }
    }
    for (int i = 0; i < at; ++i) {
        if (!std::isfinite(ScalarOf(r[i]))) {
            return false;
        }
    }
    return true;
}

/// The error sum and its parts at parameters p.
struct ErrorParts {
    double passBand = 0;
    double delay = 0;
    double sidelobe = 0;
    double gain = 0;
    double delayTarget = 0;
    bool finite = false;
    double total() const { return passBand + delay + sidelobe; }
};

/// Evaluates the error at p, with the best gain or with `fixedGain` when given.
ErrorParts EvaluateError(const FitProblem& fp, const std::vector<double>& p,
                         const double* fixedGain = nullptr);

/// The pass-band error sum of H = 0: the scale against which ACCURACY judges a fit.
double ZeroFilterError(const FitProblem& fp);

} // namespace veltrana
