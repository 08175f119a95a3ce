#pragma once

#include <ceres/jet.h>

#include <cmath>
#include <string>
#include <vector>

namespace veltrana {

/// How the sigma-axis zero enters H(s).
enum class SigmaZeroKind { None, Single, Doublet, Lossless, LosslessDoublet };

/// Which elements the constellation has and where each one sits in the parameter vector.
/// Locations are normalised by freqNorm and held as magnitudes: a sigma pole a stands for
/// the factor 1/(s + a), a pole pair (a, b) for 1/((s+a)^2 + b^2), the sigma zero c, the
/// omega zeros y, the zero pairs and quads (d, e) for the factors of the table below. The
/// gain is not a parameter: it enters the pass-band residuals linearly and is solved for in
/// closed form at every evaluation.
struct FilterLayout {
    int nSigmaPoles = 0; ///< 0 or 1
    int nPolePairs = 0;
    SigmaZeroKind sigmaZero = SigmaZeroKind::None;
    int nOmegaZeros = 0;
    int nZeroPairs = 0;
    int nZeroQuads = 0;

    int sigmaPole() const { return 0; }
    int poleReal(int k) const { return nSigmaPoles + 2 * k; }
    int poleImag(int k) const { return nSigmaPoles + 2 * k + 1; }
    int sigmaZeroAt() const { return nSigmaPoles + 2 * nPolePairs; }
    int omegaZero(int m) const {
        return sigmaZeroAt() + (sigmaZero == SigmaZeroKind::None ? 0 : 1) + m;
    }
    /// Zero pairs first, then quads: q counts over both.
    int zeroReal(int q) const { return omegaZero(nOmegaZeros) + 2 * q; }
    int zeroImag(int q) const { return zeroReal(q) + 1; }
    int size() const { return zeroReal(nZeroPairs + nZeroQuads); }
    /// True for the imaginary part of a pole or zero pair: |H| and the delay are even in it.
    bool isPairImaginary(int i) const {
        if (i >= nSigmaPoles && i < sigmaZeroAt()) {
            return (i - nSigmaPoles) % 2 == 1;
        }
        return i >= zeroReal(0) && (i - zeroReal(0)) % 2 == 1;
    }
    int numeratorDegree() const {
        static constexpr int kSigmaZeroDegree[] = {0, 1, 2, 2, 4};
        return kSigmaZeroDegree[static_cast<int>(sigmaZero)] + 2 * nOmegaZeros + 2 * nZeroPairs +
               4 * nZeroQuads;
    }
    int denominatorDegree() const { return nSigmaPoles + 2 * nPolePairs; }

    /// The parameters hold the squares b^2, e^2 of the pairs' imaginary parts instead of b, e.
    /// The model is even in b and e, a smooth function of their squares: in b its derivative
    /// vanishes on the real axis, in b^2 it does not.
    bool squaredImaginary = false;
};

/// The name of location i as the listing gives it: "sigma pole", "real part of pole pair 2",
/// "imaginary part of zero quad 1", "omega zero 3", ...
std::string LocationName(const FilterLayout& l, int i);

/// The plain value of a number or of an automatic-differentiation jet.
inline double ScalarOf(double x) {
    return x;
}
template <int N> double ScalarOf(const ceres::Jet<double, N>& x) {
    return x.a;
}

/// L(a, x) = a / (a^2 + x^2): the group delay of one first-order factor.
template <class T> T Lorentz(const T& a, const T& x) {
    return a / (a * a + x * x);
}

/// The square of the imaginary part of the pair whose imaginary part sits at index i.
template <class T> T ImaginarySquare(const FilterLayout& l, const T* p, int i) {
    return l.squaredImaginary ? p[i] : p[i] * p[i];
}

/// |(jw + a)^2 + v|^2 for v = b^2, the factor of a pair (a, b): ((w-b)^2 + a^2)((w+b)^2 + a^2)
/// written as a sum of terms that are never negative, so that it loses no digits near a
/// resonance (w close to b, a small).
template <class T> T PairFactor(const T& a, const T& v, const T& w2) {
    const T d = w2 - v;
    const T a2 = a * a;
    return d * d + a2 * (2.0 * (w2 + v) + a2);
}

/// The group delay of a pair (a, b) at w: L(a, w - b) + L(a, w + b), with v = b^2.
template <class T> T PairDelay(const T& a, const T& v, const T& w2) {
    return 2.0 * a * (a * a + w2 + v) / PairFactor(a, v, w2);
}

/// |H(jw)|^2 with unit gain, as a closed real expression.
template <class T> T MagnitudeSquared(const FilterLayout& l, const T* p, const T& w) {
    const T w2 = w * w;
    T num(1.0), den(1.0);
    if (l.nSigmaPoles > 0) {
        den *= w2 + p[l.sigmaPole()] * p[l.sigmaPole()];
    }
    for (int k = 0; k < l.nPolePairs; ++k) {
        den *= PairFactor(p[l.poleReal(k)], ImaginarySquare(l, p, l.poleImag(k)), w2);
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        const T& c = p[l.sigmaZeroAt()];
        const T f = w2 + c * c;
        // |s + c|^2 = |s^2 - c^2| = w^2 + c^2 on the omega axis.
        switch (l.sigmaZero) {
        case SigmaZeroKind::Single:
            num *= f;
            break;
        case SigmaZeroKind::Doublet:
        case SigmaZeroKind::Lossless:
            num *= f * f;
            break;
        default:
            num *= f * f * f * f;
            break;
        }
    }
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        const T& y = p[l.omegaZero(m)];
        const T f = y * y - w2;
        num *= f * f;
    }
    for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
        const T f = PairFactor(p[l.zeroReal(q)], ImaginarySquare(l, p, l.zeroImag(q)), w2);
        num *= q < l.nZeroPairs ? f : f * f;
    }
    return num / den;
}

/// The group delay of H at w in normalised time units; multiply by 1000 / (2 pi freqNorm)
/// for nanoseconds. Lossless sigma zeros and zero quads have a constant phase: no delay.
template <class T> T GroupDelay(const FilterLayout& l, const T* p, const T& w) {
    const T w2 = w * w;
    T tau(0.0);
    if (l.nSigmaPoles > 0) {
        tau += Lorentz(p[l.sigmaPole()], w);
    }
    for (int k = 0; k < l.nPolePairs; ++k) {
        tau += PairDelay(p[l.poleReal(k)], ImaginarySquare(l, p, l.poleImag(k)), w2);
    }
    if (l.sigmaZero == SigmaZeroKind::Single) {
        tau -= Lorentz(p[l.sigmaZeroAt()], w);
    } else if (l.sigmaZero == SigmaZeroKind::Doublet) {
        tau -= 2.0 * Lorentz(p[l.sigmaZeroAt()], w);
    }
    for (int q = 0; q < l.nZeroPairs; ++q) {
        tau -= PairDelay(p[l.zeroReal(q)], ImaginarySquare(l, p, l.zeroImag(q)), w2);
    }
    return tau;
}

} // namespace veltrana
