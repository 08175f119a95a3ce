#include "ImpulseResponse.h"

#include <algorithm>
#include <cmath>

#include <Eigen/Dense>
#include <unsupported/Eigen/MatrixFunctions>

namespace veltrana {

namespace {

using Poly = std::vector<double>; // coefficients, lowest power first

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

} // namespace

ImpulseResponse ComputeImpulseResponse(const FilterLayout& l, const std::vector<double>& p,
                                       double gain, double nsPerUnit) {
    ImpulseResponse out;
    double slowest = INFINITY, fastest = 0;
    auto notePole = [&](double a, double b) {
        slowest = std::min(slowest, a);
        fastest = std::max(fastest, std::hypot(a, b));
    };
    if (l.nSigmaPoles > 0)
        notePole(p[static_cast<size_t>(l.sigmaPole())], 0.0);
    for (int k = 0; k < l.nPolePairs; ++k)
        notePole(p[static_cast<size_t>(l.poleReal(k))], p[static_cast<size_t>(l.poleImag(k))]);
    // Time runs in units of the fastest pole's time constant (s = w0 z), so that the
    // polynomials' coefficients stay near one whatever the frequency scale.
    const double w0 = fastest > 0 ? fastest : 1.0;
    Poly num{1.0}, den{1.0};
    if (l.nSigmaPoles > 0)
        den = Multiply(den, {p[static_cast<size_t>(l.sigmaPole())] / w0, 1.0});
    for (int k = 0; k < l.nPolePairs; ++k) {
        const double a = p[static_cast<size_t>(l.poleReal(k))] / w0;
        const double b = p[static_cast<size_t>(l.poleImag(k))] / w0;
        den = Multiply(den, {a * a + b * b, 2 * a, 1.0});
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        const double c = p[static_cast<size_t>(l.sigmaZeroAt())] / w0;
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
        const double y = p[static_cast<size_t>(l.omegaZero(m))] / w0;
        num = Multiply(num, {y * y, 0.0, 1.0});
    }
    for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
        const double d = p[static_cast<size_t>(l.zeroReal(q))] / w0;
        const double e = p[static_cast<size_t>(l.zeroImag(q))] / w0;
        num = Multiply(num, {d * d + e * e, 2 * d, 1.0});
        if (q >= l.nZeroPairs) {
            num = Multiply(num, {d * d + e * e, -2 * d, 1.0});
        }
    }
    out.improper = l.numeratorDegree() >= l.denominatorDegree();
    const Poly rest = out.improper ? Remainder(num, den) : num;

    const double tEnd = 10.0 / std::max(slowest, 1e-6);
    // A quarter of the fastest pole's time constant per row, so that ringing near the omega
    // axis is drawn, within what plots reads of a section.
    const double rows = std::ceil(tEnd * fastest / 0.25);
    const int n = static_cast<int>(std::clamp(rows, 200.0, 20000.0));
    const double step = tEnd / (n - 1);

    // h(t) = C exp(A t) B for the companion form of rest / den, stepped by the exact
    // transition over one row. Unlike partial fractions this needs no distinct poles:
    // coinciding pole pairs (collapsed in a fit) give their true t^k e^(-at) terms.
    const auto order = static_cast<Eigen::Index>(den.size() - 1);
    // H(s) = w0^(m - n) F(s / w0), so h(t) = w0^(m - n + 1) f(w0 t).
    const double scale = gain * std::pow(w0, l.numeratorDegree() - l.denominatorDegree() + 1);
    Eigen::VectorXd state = Eigen::VectorXd::Zero(order), output = Eigen::VectorXd::Zero(order);
    Eigen::MatrixXd transition = Eigen::MatrixXd::Identity(order, order);
    if (order > 0) {
        Eigen::MatrixXd a = Eigen::MatrixXd::Zero(order, order);
        for (Eigen::Index i = 0; i + 1 < order; ++i)
            a(i, i + 1) = 1.0;
        for (Eigen::Index k = 0; k < order; ++k) {
            a(order - 1, k) = -den[static_cast<size_t>(k)];
            output(k) = static_cast<size_t>(k) < rest.size() ? rest[static_cast<size_t>(k)] : 0;
        }
        transition = (a * (w0 * step)).exp();
        state(order - 1) = 1.0;
    }
    for (int i = 0; i < n; ++i) {
        out.timeNs.push_back(step * i * nsPerUnit);
        out.h.push_back(scale * output.dot(state));
        state = transition * state;
    }
    return out;
}

} // namespace veltrana
