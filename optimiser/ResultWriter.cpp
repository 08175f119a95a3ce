#include "ResultWriter.h"

#include "FileBytes.h"
#include "NumberText.h"
#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace veltrana {

namespace {

std::string Num(double v) {
    return GeneralNumber(v);
}

std::string Join(const std::vector<double>& values) {
    std::string line;
    for (double v : values) {
        line += (line.empty() ? "" : " ") + Num(v);
    }
    return line.empty() ? "0" : line;
}

class Lines {
public:
    void Add(const std::string& line) { m_text += ToCp1252(line) + "\r\n"; }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

void AddSection(Lines& out, const ResultSectionData& s) {
    out.Add(s.title);
    out.Add(std::to_string(s.rows.size()));
    for (const auto& [x, y] : s.rows) {
        out.Add(Num(x) + " " + Num(y));
    }
}

double Floored(double db) {
    return std::isfinite(db) ? std::max(db, -200.0) : -200.0;
}

} // namespace

ResultSectionData SidelobeSection(const FitProblem& fp, const std::vector<double>& x) {
    // Each lobe (between two omega zeros, and after the last) gets rows of its own: an even
    // grid over the whole band left the lobes between close zeros with one row or none.
    constexpr int kRowsPerLobe = 60;
    const FilterLayout& l = fp.layout;
    double hmax2 = 0;
    for (double w : fp.w) {
        hmax2 = std::max(hmax2, MagnitudeSquared(l, x.data(), w));
    }
    std::vector<double> edges{1};
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        edges.push_back(std::max(1.0, x[static_cast<size_t>(l.omegaZero(m))]));
    }
    std::sort(edges.begin(), edges.end());
    edges.push_back(1.5 * edges.back());
    ResultSectionData s{"Sidelobe ripple: 20 Log10(|H| / Hmax) vs. MHz", {}};
    for (size_t e = 0; e + 1 < edges.size(); ++e) {
        const int rows = edges[e + 1] > edges[e] ? kRowsPerLobe : 0;
        for (int i = 0; i < rows; ++i) {
            // Midway between grid points: a row right on a zero would sink the plot's scale to
            // the floor of -200 dB.
            const double w = edges[e] + (edges[e + 1] - edges[e]) * (i + 0.5) / kRowsPerLobe;
            const double level = 10 * std::log10(MagnitudeSquared(l, x.data(), w) / hmax2);
            s.rows.emplace_back(w * fp.freqNorm, Floored(level));
        }
    }
    const double w = edges.back();
    s.rows.emplace_back(w * fp.freqNorm,
                        Floored(10 * std::log10(MagnitudeSquared(l, x.data(), w) / hmax2)));
    return s;
}

ResultSectionData RippleSection(const FitProblem& fp, const std::vector<double>& x, double target) {
    ResultSectionData s{"Group delay ripple: total delay - target (ns) vs. MHz", {}};
    for (size_t j = 0; j < fp.dw.size(); ++j) {
        const double total = fp.tx[j] + GroupDelay(fp.layout, x.data(), fp.dw[j]) * fp.nsPerUnit;
        s.rows.emplace_back(fp.delFreqMHz[j], total - target);
    }
    return s;
}

std::string FormatResultFile(const FitProblem& fp, const std::vector<double>& x,
                             const ErrorParts& parts, const ResultHeader& header,
                             const ImpulseResponse& impulse) {
    const FilterLayout& l = fp.layout;
    auto at = [&](int i) { return x[static_cast<size_t>(i)]; };
    Lines out;
    out.Add(header.titleLine);
    out.Add(Num(parts.total()));
    out.Add(header.thirdLine);
    out.Add("-2 0 " + std::to_string(fp.w.size()));
    out.Add(std::string(fp.equaliseDelay ? "1 " : "0 ") + std::to_string(fp.dw.size()) + " " +
            std::to_string(fp.w.size()) + " " + Num(fp.equaliseDelay ? parts.delayTarget : 0));
    out.Add(std::to_string(l.nSigmaPoles) + " " + std::to_string(l.nPolePairs));
    if (l.nSigmaPoles > 0) {
        out.Add(Num(-at(l.sigmaPole())));
    }
    std::vector<double> re, im;
    for (int k = 0; k < l.nPolePairs; ++k) {
        re.push_back(-at(l.poleReal(k)));
        im.push_back(at(l.poleImag(k)));
    }
    out.Add(Join(re));
    out.Add(Join(im));
    out.Add(l.sigmaZero == SigmaZeroKind::None ? "0" : "1");
    if (l.sigmaZero != SigmaZeroKind::None) {
        const bool doublet =
            l.sigmaZero == SigmaZeroKind::Doublet || l.sigmaZero == SigmaZeroKind::LosslessDoublet;
        const bool paired =
            l.sigmaZero == SigmaZeroKind::Lossless || l.sigmaZero == SigmaZeroKind::LosslessDoublet;
        out.Add(Num(-at(l.sigmaZeroAt())) + (doublet ? " 1" : " 0") + (paired ? " 1" : " 0"));
    }
    out.Add(std::to_string(l.nOmegaZeros) + " " + std::to_string(l.nZeroPairs) + " " +
            std::to_string(l.nZeroQuads));
    if (l.nOmegaZeros > 0) {
        std::vector<double> y;
        for (int m = 0; m < l.nOmegaZeros; ++m) {
            y.push_back(at(l.omegaZero(m)));
        }
        out.Add(Join(y));
    }
    if (l.nZeroPairs + l.nZeroQuads > 0) {
        re.clear();
        im.clear();
        for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
            re.push_back(-at(l.zeroReal(q)));
            im.push_back(at(l.zeroImag(q)));
        }
        out.Add(Join(re));
        out.Add(Join(im));
    }
    out.Add(Num(parts.gain));
    // Read by plots as the error sums; the sidelobe sum and the frequency norm after them let
    // its exports give the whole fit and the locations in MHz.
    out.Add(Num(parts.passBand) + " " + Num(parts.delay) + " " + Num(parts.sidelobe) + " " +
            Num(fp.freqNorm));
    for (size_t i = 0; i < fp.w.size(); ++i) {
        const double ycalc =
            parts.gain * std::sqrt(MagnitudeSquared(l, x.data(), fp.w[i])) * fp.yin[i];
        // plots draws column 2 as the model and columns 2 + 3 as the data.
        out.Add(Num(fp.freqMHz[i]) + " " + Num(ycalc) + " " + Num(fp.yout[i] - ycalc));
    }
    if (fp.sidelobes()) {
        AddSection(out, SidelobeSection(fp, x));
    }
    if (fp.equaliseDelay) {
        AddSection(out, RippleSection(fp, x, parts.delayTarget));
    } else {
        ResultSectionData s{impulse.improper ? "Impulse response h(t) of the strictly proper part"
                                             : "Impulse response h(t) vs. ns",
                            {}};
        for (size_t i = 0; i < impulse.h.size(); ++i) {
            s.rows.emplace_back(impulse.timeNs[i], impulse.h[i]);
        }
        AddSection(out, s);
    }
    return out.text();
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (const int err = ReplaceFileBytes(path, bytes, 0666 & ~mask); err != 0) {
        error = "Cannot write the result file " + path + ": " + std::strerror(err);
        return false;
    }
    return true;
}

} // namespace veltrana
