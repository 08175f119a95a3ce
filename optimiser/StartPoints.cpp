#include "StartPoints.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace veltrana {

namespace {

/// The magnitudes a location may take, and its sign.
struct Range {
    double low, high, sign;
};

Range RangeOf(const FitProblem& fp, size_t i) {
    const double lo = fp.lower[i], hi = fp.upper[i];
    const double low = std::max(std::min(std::abs(lo), std::abs(hi)), fp.lowest);
    return {low, std::max({std::abs(lo), std::abs(hi), low}), hi <= 0 ? -1.0 : 1.0};
}

/// The location at fraction t (0 to 1) of its range on the log scale.
double AtFraction(const FitProblem& fp, size_t i, double t) {
    const Range r = RangeOf(fp, i);
    const double m = r.low * std::pow(r.high / r.low, t);
    return std::clamp(r.sign * m, fp.lower[i], fp.upper[i]);
}

/// The radical inverse of n in base b: the digits of n mirrored behind the point.
double RadicalInverse(unsigned n, unsigned base) {
    double value = 0, scale = 1.0 / base;
    for (; n > 0; n /= base, scale /= base) {
        value += (n % base) * scale;
    }
    return value;
}

bool IsPrime(unsigned n) {
    for (unsigned d = 2; d * d <= n; ++d) {
        if (n % d == 0) {
            return false;
        }
    }
    return n >= 2;
}

std::mt19937 Generator(unsigned seed, int n) {
    std::seed_seq sequence{seed, static_cast<unsigned>(n)};
    return std::mt19937(sequence);
}

} // namespace

std::vector<double> SpreadStart(const FitProblem& fp, int n, unsigned seed) {
    // A random shift per dimension (modulo 1) keeps the even spread and breaks the
    // correlation of the first points in high prime bases.
    std::mt19937 rng = Generator(seed, 0);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<double> x(fp.start.size());
    unsigned base = 2;
    for (size_t i = 0; i < x.size(); ++i, ++base) {
        while (!IsPrime(base)) {
            ++base;
        }
        const double t = std::fmod(RadicalInverse(static_cast<unsigned>(n), base) + u(rng), 1.0);
        x[i] = AtFraction(fp, i, t);
    }
    return x;
}

std::vector<double> StartAround(const FitProblem& fp, const std::vector<double>& x, double radius,
                                int n, unsigned seed) {
    std::mt19937 rng = Generator(seed, n);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> y = x;
    for (size_t i = 0; i < x.size(); ++i) {
        const Range r = RangeOf(fp, i);
        const double m = std::abs(x[i]);
        const double tolerance = 1e-6 * std::max(1.0, m);
        const bool stuck =
            x[i] - fp.lower[i] <= tolerance || fp.upper[i] - x[i] <= tolerance || m < r.low;
        const double draw = u(rng); // drawn for every location, so that each keeps its numbers
        y[i] = stuck ? AtFraction(fp, i, (draw + 1) / 2)
                     : std::clamp(r.sign * m * std::exp(draw * radius), fp.lower[i], fp.upper[i]);
    }
    return y;
}

} // namespace veltrana
