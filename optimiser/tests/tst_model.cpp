#include "FilterModel.h"
#include "ImpulseResponse.h"
#include "Objective.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <tuple>

using namespace veltrana;
using Complex = std::complex<double>;
using enum SigmaZeroKind;

namespace {

/// H(s) with unit gain, multiplied out factor by factor in complex numbers.
Complex H(const FilterLayout& l, const std::vector<double>& p, Complex s) {
    auto at = [&](int i) { return p[static_cast<size_t>(i)]; };
    Complex h = 1;
    if (l.nSigmaPoles > 0)
        h /= s + at(l.sigmaPole());
    for (int k = 0; k < l.nPolePairs; ++k) {
        h /= (s + at(l.poleReal(k))) * (s + at(l.poleReal(k))) +
             at(l.poleImag(k)) * at(l.poleImag(k));
    }
    // Sigma zeros: (s + c), lossless (s^2 - c^2), each of them once or as a doublet.
    if (l.sigmaZero != None) {
        const double c = at(l.sigmaZeroAt());
        const bool lossless = l.sigmaZero == Lossless || l.sigmaZero == LosslessDoublet;
        const Complex z = lossless ? s * s - c * c : s + c;
        h *= l.sigmaZero == Doublet || l.sigmaZero == LosslessDoublet ? z * z : z;
    }
    for (int m = 0; m < l.nOmegaZeros; ++m)
        h *= s * s + at(l.omegaZero(m)) * at(l.omegaZero(m));
    for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
        const double d = at(l.zeroReal(q)), e = at(l.zeroImag(q));
        h *= (s + d) * (s + d) + e * e;
        if (q >= l.nZeroPairs)
            h *= (s - d) * (s - d) + e * e;
    }
    return h;
}

struct Constellation {
    const char* name;
    FilterLayout layout;
    std::vector<double> p;
};

const std::vector<Constellation> kConstellations = {
    {"poles only", {1, 2}, {0.4, 0.3, 0.5, 0.2, 0.9}},
    {"single zero", {0, 1, Single}, {0.3, 0.6, 0.7}},
    {"doublet", {1, 1, Doublet}, {0.5, 0.3, 0.6, 0.2}},
    {"lossless", {1, 2, Lossless}, {0.3, 0.25, 0.45, 0.27, 0.86, 0.58}},
    {"lossless doublet", {0, 2, LosslessDoublet}, {0.2, 0.3, 0.4, 0.8, 0.5}},
    {"omega zeros", {0, 3, None, 2}, {0.3, 0.2, 0.2, 0.6, 0.1, 0.9, 1.1, 1.6}},
    {"zero pair and quad", {1, 2, None, 0, 1, 1}, {0.5, 0.3, 0.4, 0.2, 0.8, -0.3, 0.7, 0.25, 1.3}},
};

// The fit holds the pairs' imaginary parts as their squares: the model must not change.
TEST(FilterModel, MagnitudeAndDelayMatchTheComplexTransferFunction) {
    for (const Constellation& c : kConstellations) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.layout.size(), static_cast<int>(c.p.size()));
        FilterLayout squared = c.layout;
        squared.squaredImaginary = true;
        std::vector<double> q = c.p;
        for (int i = 0; i < squared.size(); ++i)
            q[static_cast<size_t>(i)] *= squared.isPairImaginary(i) ? q[static_cast<size_t>(i)] : 1;
        for (double w = 0.05; w < 2.5; w += 0.0731) {
            const Complex h = H(c.layout, c.p, Complex(0, w));
            // Group delay is minus the derivative of the phase; the phase's ratio form avoids
            // its jumps of 2 pi.
            const double dw = 1e-6;
            const double delay = -std::arg(H(c.layout, c.p, Complex(0, w + dw)) /
                                           H(c.layout, c.p, Complex(0, w - dw))) /
                                 (2 * dw);
            for (const auto& [layout, x] : {std::pair{c.layout, c.p}, std::pair{squared, q}}) {
                EXPECT_NEAR(MagnitudeSquared(layout, x.data(), w), std::norm(h),
                            1e-10 * std::norm(h));
                EXPECT_NEAR(GroupDelay(layout, x.data(), w), delay, 1e-5);
            }
        }
    }
}

TEST(PeakFrequency, FindsTheHighestPointOfAnIntervalItsFarEndIncluded) {
    // name, layout, locations, interval, its peak and the tolerance
    const std::tuple<const char*, FilterLayout, std::vector<double>, double, double, double, double>
        cases[] = {
            // 1 / |(s + a)^2 + b^2|^2 is highest at w = sqrt(b^2 - a^2).
            {"inside", {0, 1}, {0.3, 0.5}, 0.1, 2, 0.4, 1e-6},
            // More zeros than poles: |H| rises all the way beyond the last omega zero.
            {"rising to the far end", {0, 1, None, 2}, {0.3, 0.5, 1.1, 1.6}, 1.6, 2.4, 2.4, 1e-12},
            {"empty", {0, 1, None, 2}, {0.3, 0.5, 1.1, 1.6}, 1.6, 1.6, 1.6, 0},
        };
    for (const auto& [name, layout, p, from, to, peak, tolerance] : cases)
        EXPECT_NEAR(PeakFrequency(layout, p.data(), from, to), peak, tolerance) << name;
}

// A pole pair next to the omega axis: its factor is tiny on the resonance and must keep its
// digits there (the expanded (w^2 + a^2 + b^2)^2 - 4 w^2 b^2 loses six of them).
TEST(FilterModel, AResonanceNextToTheAxisKeepsItsDigits) {
    const FilterLayout l{0, 1};
    const std::vector<double> p{1e-5, 1.0};
    for (double w : {1.0, 1 + 1e-6, 1 - 3e-6, 1.001}) {
        const double exact = std::norm(1.0 / H(l, p, Complex(0, w)));
        EXPECT_NEAR(1 / MagnitudeSquared(l, p.data(), w), exact, 1e-9 * exact) << w;
    }
}

TEST(ImpulseResponse, PartialFractionsGiveKnownResponses) {
    struct Case {
        const char* name;
        FilterLayout layout;
        std::vector<double> p;
        bool improper;
        double (*expected)(double t); // at unit gain
    };
    using std::exp;
    const std::vector<Case> cases = {
        {"single pole", {1, 0}, {0.5}, false, [](double t) { return exp(-0.5 * t); }},
        {"pole pair", {0, 1}, {0.3, 1.0}, false, [](double t) { return exp(-0.3 * t) * sin(t); }},
        // (s + 1.5) / (s + 0.5) = 1 + 1 / (s + 0.5): the impulse at t = 0 is left out.
        {"improper", {1, 0, Single}, {0.5, 1.5}, true, [](double t) { return exp(-0.5 * t); }},
        // A pair with imaginary part 0 is a double pole: h = t e^{-at}.
        {"double pole", {0, 1}, {0.4, 0.0}, false, [](double t) { return t * exp(-0.4 * t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImpulseResponse r = ComputeImpulseResponse(c.layout, c.p, 2.0, 1.0);
        EXPECT_EQ(r.improper, c.improper);
        ASSERT_GE(r.h.size(), 200u);
        for (size_t i = 0; i < r.h.size(); i += 17)
            EXPECT_NEAR(r.h[i], 2 * c.expected(r.timeNs[i]), 1e-4);
    }
}

// A pole pair near the omega axis rings for long: the rows must still follow each swing.
TEST(ImpulseResponse, RingingNearTheOmegaAxisGetsSeveralRowsPerPeriod) {
    const ImpulseResponse r = ComputeImpulseResponse({0, 2}, {0.3, 0.5, 0.001, 0.9}, 1.0, 1.0);
    ASSERT_GE(r.timeNs.size(), 2u);
    EXPECT_LE(r.timeNs[1] - r.timeNs[0], 2 * M_PI / 0.9 / 8); // an eighth of the period
}

// Collapsed pole pairs, as a fit can leave them: (s + a)^2 + b^2 four times over. Checked
// through the transform itself, H(1) = integral of h(t) e^-t.
TEST(ImpulseResponse, CoincidingPolePairsGiveTheirTrueResponse) {
    const double a = 0.5, b = 1.0;
    const ImpulseResponse r = ComputeImpulseResponse({0, 4}, {a, b, a, b, a, b, a, b}, 1.0, 1.0);
    double integral = 0;
    for (size_t i = 1; i < r.h.size(); ++i) {
        const double dt = r.timeNs[i] - r.timeNs[i - 1];
        integral +=
            dt / 2 * (r.h[i] * std::exp(-r.timeNs[i]) + r.h[i - 1] * std::exp(-r.timeNs[i - 1]));
    }
    EXPECT_NEAR(integral, std::pow((1 + a) * (1 + a) + b * b, -4), 1e-5);
}

} // namespace
