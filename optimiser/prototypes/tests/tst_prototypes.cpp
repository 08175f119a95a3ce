#include "JacobiElliptic.h"
#include "Prototype.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace veltrana;
using Complex = std::complex<double>;

namespace {

TEST(JacobiElliptic, MatchesKnownValuesAndInvertsItself) {
    struct Case {
        double k, K; // K(k) from tables of the complete integral
    };
    for (const Case& c : {Case{0, M_PI / 2}, Case{M_SQRT1_2, 1.8540746773013719},
                          Case{0.9, 2.2805491384227703}, Case{0.999, 4.4955963958421500}}) {
        SCOPED_TRACE(c.k);
        const JacobiElliptic j(c.k);
        EXPECT_NEAR(j.K(), c.K, 1e-13);
        // sn(K/2) = 1 / sqrt(1 + k'), cd(0) = 1, sn^2 + cn^2 = 1 with cd = cn / dn.
        EXPECT_NEAR(j.sn(0.5).real(), 1 / std::sqrt(1 + std::sqrt(1 - c.k * c.k)), 1e-14);
        EXPECT_NEAR(std::abs(j.cd(0.0) - 1.0), 0, 1e-15);
        for (Complex w : {Complex(0.3, 0), Complex(0, 2.5), Complex(0.7, -0.4)})
            EXPECT_NEAR(std::abs(j.sn(j.asn(w)) - w), 0, 1e-12) << w;
    }
}

/// |H(w)| relative to |H(0)|.
double Relative(const Prototype& p, double w) {
    return std::sqrt(MagnitudeSquared(p.layout, p.truth.data(), w) /
                     MagnitudeSquared(p.layout, p.truth.data(), 0.0));
}

TEST(Prototype, PolesGiveTheClosedFormMagnitude) {
    const double eps2 = std::pow(10, 0.05) - 1; // 0.5 dB
    const auto chebyshev4 = [](double w) {
        return w <= 1 ? std::cos(4 * std::acos(w)) : std::cosh(4 * std::acosh(w));
    };
    const Prototype butterworth = ButterworthPrototype(5);
    const Prototype chebyshev = ChebyshevPrototype(4, 0.5);
    for (double w : {0.2, 0.7, 1.0, 1.3, 3.0}) {
        SCOPED_TRACE(w);
        EXPECT_NEAR(Relative(butterworth, w), 1 / std::sqrt(1 + std::pow(w, 10)), 1e-12);
        // Even order: |H(0)| is the bottom of the ripple.
        EXPECT_NEAR(Relative(chebyshev, w),
                    std::sqrt((1 + eps2) / (1 + eps2 * std::pow(chebyshev4(w), 2))), 1e-12);
    }
}

/// Local maxima of |H| over (from, to): on a grid, each refined by the parabola through its
/// grid point and their neighbours.
std::vector<double> Peaks(const Prototype& p, double from, double to) {
    constexpr int kGrid = 20000;
    std::vector<double> v, peaks;
    for (int i = 0; i <= kGrid; ++i)
        v.push_back(Relative(p, from + (to - from) * i / kGrid));
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] >= v[i - 1] && v[i] > v[i + 1]) {
            const double curvature = v[i - 1] - 2 * v[i] + v[i + 1];
            peaks.push_back(v[i] - (v[i + 1] - v[i - 1]) * (v[i + 1] - v[i - 1]) / (8 * curvature));
        }
    }
    return peaks;
}

TEST(Prototype, EllipticRipplesEquallyInBothBands) {
    for (int order : {3, 4, 5}) {
        SCOPED_TRACE(order);
        const double stopEdge = 1.2;
        const Prototype p = EllipticPrototype(order, 0.5, stopEdge);
        const FilterLayout& l = p.layout;
        EXPECT_EQ(l.nOmegaZeros, order / 2);
        EXPECT_EQ(l.nSigmaPoles + 2 * l.nPolePairs, order);
        const double top = order % 2 ? 1.0 : std::sqrt(1 + std::pow(10, 0.05) - 1);
        const double bottom = top / std::sqrt(std::pow(10, 0.05));
        // Pass band: order / 2 peaks inside (and w = 0 for odd orders) at the top, the edge at
        // the bottom of the ripple.
        for (double peak : Peaks(p, 0, 1))
            EXPECT_NEAR(peak, top, 1e-9);
        EXPECT_EQ(Peaks(p, 0, 1).size(), static_cast<size_t>(order / 2));
        EXPECT_NEAR(Relative(p, 1), bottom, 1e-12);
        // Stop band: every sidelobe peak (between the zeros and past the last one) is as high
        // as the stop edge.
        const double stopLevel = Relative(p, stopEdge);
        const std::vector<double> lobes = Peaks(p, stopEdge, 3 * p.truth.back());
        EXPECT_EQ(lobes.size(), static_cast<size_t>(order / 2 - (order % 2 ? 0 : 1)));
        for (double peak : lobes)
            EXPECT_NEAR(peak / stopLevel, 1, 1e-6);
    }
}

TEST(Prototype, BesselDelayIsMaximallyFlat) {
    const Prototype p = BesselPrototype(4);
    const double tau0 = GroupDelay(p.layout, p.truth.data(), 0.0);
    EXPECT_NEAR(Relative(p, 1), std::sqrt(0.5), 1e-12);
    // 1 - tau(w) / tau(0) = (w / w0)^8 / 105^2 + ..., w0 = 1 / 2.1139 (3 dB frequency of
    // the delay-normalised filter).
    for (double w : {0.05, 0.1}) {
        const double deviation = 1 - GroupDelay(p.layout, p.truth.data(), w) / tau0;
        EXPECT_NEAR(deviation / std::pow(2.11391767490422 * w, 8) * 105 * 105, 1, 0.01) << w;
    }
}

} // namespace
