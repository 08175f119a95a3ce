#include "Prototype.h"

#include "Fit.h"
#include "JacobiElliptic.h"
#include "NumberList.h"

#include <Eigen/Eigenvalues>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>

namespace veltrana {

namespace {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;
constexpr double kFreqNorm = 10;
constexpr int kPassBandPoints = 40;
constexpr int kDelayPoints = 10;

/// Fills the pole part of p from poles in the left half plane (each pair given once, with a
/// positive imaginary part, and at most one real pole).
void SetPoles(Prototype& p, const std::vector<Complex>& poles) {
    std::vector<double> real, pairs;
    for (const Complex& s : poles) {
        if (std::abs(s.imag()) < 1e-12) {
            real.push_back(-s.real());
        } else if (s.imag() > 0) {
            pairs.push_back(-s.real());
            pairs.push_back(s.imag());
        }
    }
    p.layout.nSigmaPoles = static_cast<int>(real.size());
    p.layout.nPolePairs = static_cast<int>(pairs.size() / 2);
    p.truth = real;
    p.truth.insert(p.truth.end(), pairs.begin(), pairs.end());
}

std::string Text(double v) {
    return NumberText(v, "%.17g");
}

double Magnitude(const Prototype& p, double w) {
    return std::sqrt(MagnitudeSquared(p.layout, p.truth.data(), w));
}

} // namespace

Prototype ButterworthPrototype(int order) {
    Prototype p{"Butterworth " + std::to_string(order), {}, {}};
    std::vector<Complex> poles;
    for (int k = 1; k <= order; ++k) {
        poles.push_back(std::polar(1.0, kPi * (2 * k + order - 1) / (2 * order)));
    }
    SetPoles(p, poles);
    return p;
}

Prototype ChebyshevPrototype(int order, double rippleDb) {
    char name[64];
    std::snprintf(name, sizeof name, "Chebyshev I %d, %g dB", order, rippleDb);
    Prototype p{name, {}, {}};
    const double eps = std::sqrt(std::pow(10, rippleDb / 10) - 1);
    const double mu = std::asinh(1 / eps) / order;
    std::vector<Complex> poles;
    for (int k = 1; k <= order; ++k) {
        const double theta = kPi * (2 * k - 1) / (2 * order);
        poles.emplace_back(-std::sinh(mu) * std::sin(theta), std::cosh(mu) * std::cos(theta));
    }
    SetPoles(p, poles);
    return p;
}

Prototype EllipticPrototype(int order, double rippleDb, double stopEdge) {
    char name[64];
    std::snprintf(name, sizeof name, "elliptic %d, %g dB, stop edge %g", order, rippleDb, stopEdge);
    Prototype p{name, {}, {}};
    // Selectivity k = 1 / stopEdge fixes the discrimination k1 through the degree equation;
    // the zeros are the images of the pass-band ripple's zeros, the poles those of the points
    // where the ripple function reaches +-j / eps.
    const double k = 1 / stopEdge;
    const JacobiElliptic jk(k);
    const int pairs = order / 2;
    double k1 = std::pow(k, order);
    for (int i = 1; i <= pairs; ++i) {
        k1 *= std::pow(jk.sn((2.0 * i - 1) / order).real(), 4);
    }
    const double eps = std::sqrt(std::pow(10, rippleDb / 10) - 1);
    const double v0 = (Complex(0, -1) * JacobiElliptic(k1).asn(Complex(0, 1 / eps))).real() / order;
    std::vector<Complex> poles;
    std::vector<double> zeros;
    for (int i = 1; i <= pairs; ++i) {
        const double u = (2.0 * i - 1) / order;
        zeros.push_back(1 / (k * jk.cd(u).real()));
        poles.push_back(Complex(0, 1) * jk.cd(Complex(u, -v0)));
    }
    if (order % 2 == 1) {
        poles.push_back(Complex(0, 1) * jk.sn(Complex(0, v0)));
    }
    SetPoles(p, poles);
    std::sort(zeros.begin(), zeros.end());
    p.layout.nOmegaZeros = pairs;
    p.truth.insert(p.truth.end(), zeros.begin(), zeros.end());
    // Past the last zero |H| rises to one more sidelobe peak before it falls for good.
    p.topFrequency = 1.6 * zeros.back();
    return p;
}

Prototype BesselPrototype(int order) {
    Prototype p{"Bessel " + std::to_string(order) + " with group delay", {}, {}};
    // theta_n(s) = sum a_j s^j, a_j = (2n - j)! / (2^(n - j) j! (n - j)!); its roots are the
    // poles for a delay of 1 at w = 0.
    std::vector<double> a(static_cast<size_t>(order) + 1);
    for (int j = 0; j <= order; ++j) {
        a[static_cast<size_t>(j)] =
            std::tgamma(2 * order - j + 1) /
            (std::pow(2, order - j) * std::tgamma(j + 1) * std::tgamma(order - j + 1));
    }
    Eigen::MatrixXd companion = Eigen::MatrixXd::Zero(order, order);
    for (int j = 0; j < order; ++j) {
        companion(0, j) = -a[static_cast<size_t>(order - 1 - j)] / a[static_cast<size_t>(order)];
        if (j + 1 < order) {
            companion(j + 1, j) = 1;
        }
    }
    const Eigen::VectorXcd roots = companion.eigenvalues();
    SetPoles(p, std::vector<Complex>(roots.data(), roots.data() + roots.size()));
    // Scale the frequency so that |H| is 3 dB down at w = 1.
    const double dc = Magnitude(p, 0);
    double lo = 0.1, hi = 10;
    for (int it = 0; it < 200; ++it) {
        const double mid = (lo + hi) / 2;
        (Magnitude(p, mid) / dc > std::sqrt(0.5) ? lo : hi) = mid;
    }
    for (double& x : p.truth) {
        x /= lo;
    }
    p.withDelay = true;
    return p;
}

std::vector<Prototype> KnownAnswerPrototypes() {
    return {ButterworthPrototype(5), ChebyshevPrototype(4, 0.5), BesselPrototype(4),
            EllipticPrototype(3, 0.5, 1.5), EllipticPrototype(5, 0.5, 1.2)};
}

DesignProblem KnownAnswerProblem(const Prototype& p, const std::vector<double>& start) {
    const FilterLayout& l = p.layout;
    auto at = [&](int i) { return start[static_cast<size_t>(i)]; };
    std::vector<double> re, im, zeros;
    for (int k = 0; k < l.nPolePairs; ++k) {
        re.push_back(at(l.poleReal(k)));
        im.push_back(at(l.poleImag(k)));
    }
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        zeros.push_back(at(l.omegaZero(m)));
    }
    DesignProblem d;
    d.Answers = {p.withDelay ? "Y" : "N",
                 "0",
                 "-2",
                 "0",
                 "N",
                 "1",
                 Text(kFreqNorm),
                 std::to_string(l.nSigmaPoles) + " " + std::to_string(l.nPolePairs),
                 l.nSigmaPoles > 0 ? Text(at(l.sigmaPole())) : ".02",
                 NumberList(re, "%.17g"),
                 NumberList(im, "%.17g"),
                 "N",
                 ".05",
                 "N",
                 "N",
                 std::to_string(l.nOmegaZeros) + " 0 0",
                 zeros.empty() ? "1.111" : NumberList(zeros, "%.17g"),
                 ".01",
                 ".01",
                 "1",
                 ".005",
                 "22",
                 std::to_string(kPassBandPoints),
                 std::to_string(p.withDelay ? kDelayPoints : 0)};
    d.Note1 = "Known answer: " + p.name;
    d.Note2 = "Yin 1, Yout |H| of the prototype; the start is the answer moved";
    d.nFreqPoints = kPassBandPoints;
    d.Freq.assign(kPassBandPoints + 1, "");
    d.Yin.assign(kPassBandPoints + 1, "1");
    d.Yout.assign(kPassBandPoints + 1, "");
    d.Weight.assign(kPassBandPoints + 1, "1");
    const double dc = Magnitude(p, 0);
    for (int i = 1; i <= kPassBandPoints; ++i) {
        const double w = p.topFrequency * i / kPassBandPoints;
        d.Freq[static_cast<size_t>(i)] = Text(w * kFreqNorm);
        // The model sees the frequency as the text reads back.
        const double read = std::stod(d.Freq[static_cast<size_t>(i)]) / kFreqNorm;
        d.Yout[static_cast<size_t>(i)] = Text(Magnitude(p, read) / dc);
    }
    if (p.withDelay) {
        // The channel's delay plus the prototype's is 2 tau(0): flat, so the answer equalises
        // it exactly whatever the target.
        const double nsPerUnit = 1000 / (2 * kPi * kFreqNorm);
        const double total = 2 * GroupDelay(l, p.truth.data(), 0.0) * nsPerUnit;
        d.nDelayPoints = kDelayPoints;
        d.DelFreq.assign(kDelayPoints + 1, "");
        d.TX.assign(kDelayPoints + 1, "");
        for (int j = 1; j <= kDelayPoints; ++j) {
            const double w = static_cast<double>(j) / kDelayPoints;
            d.DelFreq[static_cast<size_t>(j)] = Text(w * kFreqNorm);
            const double read = std::stod(d.DelFreq[static_cast<size_t>(j)]) / kFreqNorm;
            d.TX[static_cast<size_t>(j)] =
                Text(total - GroupDelay(l, p.truth.data(), read) * nsPerUnit);
        }
    }
    return d;
}

std::vector<double> PerturbedStart(const Prototype& p, std::mt19937& rng) {
    std::uniform_real_distribution<double> size(0.3, 0.5);
    std::bernoulli_distribution up(0.5);
    std::vector<double> x = p.truth;
    for (double& v : x) {
        const double by = size(rng);
        v *= up(rng) ? 1 + by : 1 - by;
    }
    return x;
}

namespace {

/// x with its pole pairs sorted by imaginary part and its omega zeros ascending.
std::vector<double> Canonical(const FilterLayout& l, std::vector<double> x) {
    std::vector<std::pair<double, double>> pairs;
    for (int k = 0; k < l.nPolePairs; ++k) {
        pairs.emplace_back(x[static_cast<size_t>(l.poleImag(k))],
                           x[static_cast<size_t>(l.poleReal(k))]);
    }
    std::sort(pairs.begin(), pairs.end());
    for (int k = 0; k < l.nPolePairs; ++k) {
        x[static_cast<size_t>(l.poleImag(k))] = pairs[static_cast<size_t>(k)].first;
        x[static_cast<size_t>(l.poleReal(k))] = pairs[static_cast<size_t>(k)].second;
    }
    std::sort(x.begin() + l.omegaZero(0), x.begin() + l.omegaZero(l.nOmegaZeros));
    return x;
}

} // namespace

std::vector<double> ObjectiveAnswer(const Prototype& p) {
    FitProblem fp;
    std::string error;
    BuildFitProblem(KnownAnswerProblem(p, p.truth), fp, error);
    SolverSettings settings;
    settings.remax[0] = 1;
    settings.zero = {0, 1e-14, 1e-14};
    settings.accuracy = 1e-7;
    settings.evalMax = 100000;
    FitObserver quiet;
    return Fit(fp, settings, quiet).x;
}

bool FoundAnswer(const Prototype& p, const std::vector<double>& answer,
                 const std::vector<double>& x, double tolerance) {
    const std::vector<double> a = Canonical(p.layout, x), b = Canonical(p.layout, answer);
    for (size_t i = 0; i < a.size(); ++i) {
        if (!(std::abs(a[i] - b[i]) <= tolerance * std::abs(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace veltrana
