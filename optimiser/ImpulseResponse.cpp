#include "ImpulseResponse.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace veltrana {

namespace {

using Poly = std::vector<double>; // coefficients, lowest power first
using Complex = std::complex<double>;

Poly Multiply(const Poly& a, const Poly& b) {
    Poly c(a.size() + b.size() - 1, 0.0);
    for (size_t i = 0; i < a.size(); ++i) {
        for (size_t j = 0; j < b.size(); ++j) {
            c[i + j] += a[i] * b[j];
        }
    }
    return c;
}

/// The remainder of num / den (den monic).
Poly Remainder(Poly num, const Poly& den) {
    const size_t dd = den.size() - 1;
    while (num.size() > dd) {
        const double lead = num.back();
        const size_t shift = num.size() - 1 - dd;
        for (size_t i = 0; i <= dd; ++i) {
            num[shift + i] -= lead * den[i];
        }
        num.pop_back();
    }
    return num.empty() ? Poly{0.0} : num;
}

Complex Evaluate(const Poly& poly, Complex s) {
    Complex v = 0;
    for (size_t i = poly.size(); i-- > 0;) {
        v = v * s + poly[i];
    }
    return v;
}

} // namespace

ImpulseResponse ComputeImpulseResponse(const FilterLayout& l, const std::vector<double>& p,
                                       double gain, double nsPerUnit) {
    ImpulseResponse out;
    Poly num{1.0}, den{1.0};
    std::vector<Complex> poles;
    if (l.nSigmaPoles > 0) {
        const double a = p[static_cast<size_t>(l.sigmaPole())];
        den = Multiply(den, {a, 1.0});
        poles.emplace_back(-a, 0.0);
    }
    for (int k = 0; k < l.nPolePairs; ++k) {
        const double a = p[static_cast<size_t>(l.poleReal(k))];
        const double b = p[static_cast<size_t>(l.poleImag(k))];
        den = Multiply(den, {a * a + b * b, 2 * a, 1.0});
        poles.emplace_back(-a, b);
        poles.emplace_back(-a, -b);
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        const double c = p[static_cast<size_t>(l.sigmaZeroAt())];
        const bool lossless =
            l.sigmaZero == SigmaZeroKind::Lossless || l.sigmaZero == SigmaZeroKind::LosslessDoublet;
        const Poly f = lossless ? Poly{-c * c, 0.0, 1.0} : Poly{c, 1.0};
        num = Multiply(num, f);
        if (l.sigmaZero == SigmaZeroKind::Doublet ||
            l.sigmaZero == SigmaZeroKind::LosslessDoublet) {
            num = Multiply(num, f);
        }
    }
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        const double y = p[static_cast<size_t>(l.omegaZero(m))];
        num = Multiply(num, {y * y, 0.0, 1.0});
    }
    for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
        const double d = p[static_cast<size_t>(l.zeroReal(q))];
        const double e = p[static_cast<size_t>(l.zeroImag(q))];
        num = Multiply(num, {d * d + e * e, 2 * d, 1.0});
        if (q >= l.nZeroPairs) {
            num = Multiply(num, {d * d + e * e, -2 * d, 1.0});
        }
    }
    out.improper = l.numeratorDegree() >= l.denominatorDegree();
    const Poly rest = out.improper ? Remainder(num, den) : num;

    // Coinciding poles (a pair with imaginary part 0, equal pairs) have no simple fractions:
    // set them a little apart, which changes h(t) by about the same relative amount.
    for (size_t i = 0; i < poles.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            const double scale = std::max(1.0, std::abs(poles[i]));
            if (std::abs(poles[i] - poles[j]) < 1e-6 * scale) {
                poles[i] += Complex(-1e-6 * scale * static_cast<double>(i - j), 0.0);
                out.polesSeparated = true;
            }
        }
    }
    std::vector<Complex> residues;
    double slowest = INFINITY, fastest = 0;
    for (size_t i = 0; i < poles.size(); ++i) {
        Complex d = 1;
        for (size_t j = 0; j < poles.size(); ++j) {
            if (j != i) {
                d *= poles[i] - poles[j];
            }
        }
        residues.push_back(gain * Evaluate(rest, poles[i]) / d);
        slowest = std::min(slowest, -poles[i].real());
        fastest = std::max(fastest, std::abs(poles[i]));
    }
    const double tEnd = 10.0 / std::max(slowest, 1e-6);
    // A quarter of the fastest pole's time constant per row, so that ringing near the omega
    // axis is drawn, within what plots reads of a section.
    const double rows = std::ceil(tEnd * fastest / 0.25);
    const int n = static_cast<int>(std::clamp(rows, 200.0, 20000.0));
    for (int i = 0; i < n; ++i) {
        const double t = tEnd * i / (n - 1);
        Complex h = 0;
        for (size_t k = 0; k < poles.size(); ++k) {
            h += residues[k] * std::exp(poles[k] * t);
        }
        out.timeNs.push_back(t * nsPerUnit);
        out.h.push_back(h.real());
    }
    return out;
}

} // namespace veltrana
