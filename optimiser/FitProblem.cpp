#include "FitProblem.h"

#include "NumberText.h"
#include "ProblemCheck.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veltrana {

namespace {

class Builder {
public:
    Builder(const CheckedProblem& c, FitProblem& fp) : m_c(c), m_fp(fp) {}

    void Build();

private:
    void Constellation();
    void Bound(int index, double lo, double hi);

    const CheckedProblem& m_c;
    FitProblem& m_fp;
};

void Builder::Bound(int index, double lo, double hi) {
    double& x = m_fp.start[static_cast<size_t>(index)];
    m_fp.lower[static_cast<size_t>(index)] = lo;
    m_fp.upper[static_cast<size_t>(index)] = hi;
    if (x < lo || x > hi) {
        const double moved = std::clamp(x, lo, hi);
        m_fp.notes.push_back("The start " + LocationName(m_fp.layout, index) + " = " +
                             GeneralNumber(x) + " lies outside its limits " + GeneralNumber(lo) +
                             " to " + GeneralNumber(hi) + "; it starts at " + GeneralNumber(moved) +
                             ".");
        x = moved;
    }
}

void Builder::Constellation() {
    FilterLayout& l = m_fp.layout;
    l.nSigmaPoles = m_c.nSigmaPoles;
    l.nPolePairs = m_c.nPolePairs;
    if (m_c.sigmaZero) {
        l.sigmaZero = m_c.lossless
                          ? (m_c.doublet ? SigmaZeroKind::LosslessDoublet : SigmaZeroKind::Lossless)
                          : (m_c.doublet ? SigmaZeroKind::Doublet : SigmaZeroKind::Single);
    }
    l.nOmegaZeros = m_c.nOmegaZeros;
    l.nZeroPairs = m_c.nZeroPairs;
    l.nZeroQuads = m_c.nZeroQuads;

    const double lo = m_c.lowest, hi = m_c.highest;
    const size_t size = static_cast<size_t>(l.size());
    m_fp.start.assign(size, 0);
    m_fp.lower.assign(size, 0);
    m_fp.upper.assign(size, 0);

    if (l.nSigmaPoles > 0) {
        m_fp.start[static_cast<size_t>(l.sigmaPole())] = m_c.sigmaPole;
        Bound(l.sigmaPole(), lo, hi);
    }
    for (int k = 0; k < l.nPolePairs; ++k) {
        m_fp.start[static_cast<size_t>(l.poleReal(k))] = m_c.poleReal[static_cast<size_t>(k)];
        m_fp.start[static_cast<size_t>(l.poleImag(k))] = m_c.poleImag[static_cast<size_t>(k)];
        Bound(l.poleReal(k), lo, hi);
        Bound(l.poleImag(k), 0, hi);
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        m_fp.start[static_cast<size_t>(l.sigmaZeroAt())] = m_c.sigmaZeroValue;
        Bound(l.sigmaZeroAt(), lo, hi);
    }
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        m_fp.start[static_cast<size_t>(l.omegaZero(m))] = m_c.omegaZeros[static_cast<size_t>(m)];
        Bound(l.omegaZero(m), 1, hi);
    }
    const int complexZeros = l.nZeroPairs + l.nZeroQuads;
    for (int q = 0; q < complexZeros; ++q) {
        const double d = m_c.zeroReal[static_cast<size_t>(q)];
        m_fp.start[static_cast<size_t>(l.zeroReal(q))] = d;
        m_fp.start[static_cast<size_t>(l.zeroImag(q))] = m_c.zeroImag[static_cast<size_t>(q)];
        // d keeps its sign: a zero in the right half plane stays there.
        if (d < 0) {
            Bound(l.zeroReal(q), -hi, -lo);
        } else {
            Bound(l.zeroReal(q), lo, hi);
        }
        Bound(l.zeroImag(q), 0, hi);
    }
}

void Builder::Build() {
    m_fp = FitProblem{};
    m_fp.equaliseDelay = m_c.equaliseDelay;
    m_fp.useWeights = m_c.useWeights;
    m_fp.iPower = m_c.iPower;
    m_fp.magnVSripple = m_c.magnVSripple;
    m_fp.freqNorm = m_c.freqNorm;
    m_fp.startGain = m_c.startGain;
    m_fp.nsPerUnit = 1000.0 / (2 * std::numbers::pi * m_c.freqNorm);
    m_fp.freqMHz = m_c.freqMHz;
    m_fp.yin = m_c.yin;
    m_fp.yout = m_c.yout;
    m_fp.k = m_c.factor;
    for (double f : m_c.freqMHz) {
        m_fp.w.push_back(f / m_c.freqNorm);
    }
    m_fp.tmin = m_c.tmin;
    m_fp.delayPower = m_c.delayPower;
    m_fp.delFreqMHz = m_c.delFreqMHz;
    m_fp.tx = m_c.tx;
    for (double f : m_c.delFreqMHz) {
        m_fp.dw.push_back(f / m_c.freqNorm);
    }
    m_fp.lowest = m_c.lowest;
    m_fp.highest = m_c.highest;
    Constellation();
}

} // namespace

bool BuildFitProblem(const DesignProblem& design, FitProblem& out, std::string& error) {
    CheckedProblem checked;
    if (!CheckProblem(design, checked, error)) {
        return false;
    }
    Builder(checked, out).Build();
    return true;
}

} // namespace veltrana
