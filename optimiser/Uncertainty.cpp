#include "Uncertainty.h"

#include "Objective.h"

#include <ceres/dynamic_autodiff_cost_function.h>

#include <Eigen/SVD>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace veltrana {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
/// Directions of the scaled Jacobian whose singular value is below this fraction of the
/// largest are taken as undetermined: the covariance along them is beyond any use.
constexpr double kSingular = 1e-8;
/// A standard error of at least this fraction of a location's magnitude.
constexpr double kComparable = 0.5;

struct FixedGainResiduals {
    const FitProblem* problem;
    double gain;
    template <class T> bool operator()(T const* const* parameters, T* residuals) const {
        return Residuals(*problem, parameters[0], residuals, &gain);
    }
};

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6G", v);
    return text;
}

} // namespace

double SignedLocation(const FilterLayout& l, const std::vector<double>& x, int i) {
    const double v = x[static_cast<size_t>(i)];
    const bool omega = i >= l.omegaZero(0) && i < l.zeroReal(0);
    const bool real = !omega && !l.isPairImaginary(i);
    return real ? -v : v;
}

Resonance ResonanceOf(const FitProblem& fp, double a, double b) {
    const double w0 = std::hypot(a, b);
    return {w0 * fp.freqNorm, a != 0 ? w0 / (2 * std::abs(a)) : kNaN};
}

Uncertainty EstimateUncertainty(const FitProblem& fp, const std::vector<double>& x, double gain) {
    const int p = fp.layout.size();
    const int m = ResidualCount(fp);
    Uncertainty u;
    u.residuals = m;
    u.standardError.assign(static_cast<size_t>(p), kNaN);
    u.gainStandardError = kNaN;
    u.onLimit.assign(static_cast<size_t>(p), false);
    u.singular.assign(static_cast<size_t>(p), false);
    u.undetermined.assign(static_cast<size_t>(p), false);
    for (size_t i = 0; i < x.size(); ++i) {
        const double tolerance = 1e-6 * std::max(1.0, std::abs(x[i]));
        u.onLimit[i] = x[i] - fp.lower[i] <= tolerance || fp.upper[i] - x[i] <= tolerance;
    }

    ceres::DynamicAutoDiffCostFunction<FixedGainResiduals, 8> cost(
        new FixedGainResiduals{&fp, gain});
    cost.AddParameterBlock(p);
    cost.SetNumResiduals(m);
    Eigen::VectorXd r(m);
    Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> jx(m, p);
    const double* parameters[] = {x.data()};
    double* jacobians[] = {jx.data()};
    if (!cost.Evaluate(parameters, r.data(), jacobians) || !jx.allFinite()) {
        u.why = "the derivatives at the fit cannot be evaluated";
        return u;
    }
    // The gain scales the pass-band residuals: its column is k Yin |H| there, 0 elsewhere.
    Eigen::VectorXd jg = Eigen::VectorXd::Zero(m);
    for (size_t i = 0; i < fp.w.size(); ++i) {
        jg(static_cast<Eigen::Index>(i)) =
            fp.k[i] * fp.yin[i] * std::sqrt(MagnitudeSquared(fp.layout, x.data(), fp.w[i]));
    }
    u.gainFixed = !(jg.norm() > 0);
    const int n = p + (u.gainFixed ? 0 : 1);
    u.unknowns = n - static_cast<int>(std::count(u.onLimit.begin(), u.onLimit.end(), true));
    Eigen::MatrixXd j(m, n);
    j.leftCols(p) = jx;
    if (!u.gainFixed) {
        j.col(p) = jg;
    }

    // Columns scaled to unit length, so that the singular values compare directions, not
    // units; a column of zeros is a location that no residual sees. A location on a limit is
    // held there: its column drops out.
    Eigen::VectorXd scale(n);
    for (int c = 0; c < n; ++c) {
        const double norm = j.col(c).norm();
        const bool held = c < p && u.onLimit[static_cast<size_t>(c)];
        scale(c) = norm > 0 && !held ? 1 / norm : 0;
        j.col(c) *= scale(c);
    }
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(j, Eigen::ComputeThinV);
    const Eigen::VectorXd& sigma = svd.singularValues();
    const Eigen::MatrixXd& v = svd.matrixV();
    const double largest = sigma.size() > 0 ? sigma(0) : 0;
    Eigen::VectorXd inverseSquare = Eigen::VectorXd::Zero(sigma.size());
    for (Eigen::Index k = 0; k < sigma.size(); ++k) {
        if (sigma(k) > kSingular * largest) {
            inverseSquare(k) = 1 / (sigma(k) * sigma(k));
            continue;
        }
        for (int c = 0; c < p; ++c) {
            if (scale(c) != 0 && std::abs(v(c, k)) > 0.1) {
                u.singular[static_cast<size_t>(c)] = true;
            }
        }
    }
    for (int c = 0; c < p; ++c) {
        const size_t at = static_cast<size_t>(c);
        u.singular[at] = !u.onLimit[at] && (u.singular[at] || scale(c) == 0);
    }
    if (m <= u.unknowns) {
        u.why = std::to_string(m) + " residuals leave no degrees of freedom for " +
                std::to_string(u.unknowns) + " unknowns";
    } else {
        u.estimated = true;
        u.residualVariance = r.squaredNorm() / (m - u.unknowns);
        const Eigen::MatrixXd covariance =
            u.residualVariance * v * inverseSquare.asDiagonal() * v.transpose();
        for (int c = 0; c < n; ++c) {
            const double se = scale(c) != 0 ? std::sqrt(covariance(c, c)) * scale(c) : kNaN;
            if (c < p) {
                u.standardError[static_cast<size_t>(c)] = se;
            } else {
                u.gainStandardError = se;
            }
        }
    }
    for (int c = 0; c < p; ++c) {
        const size_t at = static_cast<size_t>(c);
        u.undetermined[at] =
            u.singular[at] || (u.estimated && u.standardError[at] >= kComparable * std::abs(x[at]));
    }
    return u;
}

bool Uncertainty::warns() const {
    for (size_t i = 0; i < onLimit.size(); ++i) {
        if (onLimit[i] || undetermined[i]) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> DescribeUncertainty(const FitProblem& fp, const std::vector<double>& x,
                                             double gain, const Uncertainty& u) {
    const FilterLayout& l = fp.layout;
    std::vector<std::string> lines;
    auto pm = [&](double se) { return u.estimated && std::isfinite(se) ? "  +/- " + Num(se) : ""; };
    if (u.estimated) {
        lines.push_back("Standard errors (linearised at the fit; residual variance " +
                        Num(u.residualVariance) + " on " +
                        std::to_string(u.residuals - u.unknowns) + " degrees of freedom):");
    } else {
        lines.push_back("Standard errors cannot be estimated: " + u.why + ".");
    }
    lines.push_back("  gain  " + Num(gain) +
                    (u.gainFixed ? "  (enters no residual: it keeps its start value)"
                                 : pm(u.gainStandardError)));
    for (int i = 0; i < l.size(); ++i) {
        std::string line = "  " + LocationName(l, i) + "  " + Num(SignedLocation(l, x, i)) +
                           pm(u.standardError[static_cast<size_t>(i)]);
        if (l.isPairImaginary(i)) {
            const Resonance res =
                ResonanceOf(fp, x[static_cast<size_t>(i - 1)], x[static_cast<size_t>(i)]);
            line += "   (f0 " + Num(res.f0MHz) + " MHz, Q " + Num(res.q) + ")";
        }
        lines.push_back(line);
    }
    for (int i = 0; i < l.size(); ++i) {
        const size_t at = static_cast<size_t>(i);
        if (u.onLimit[at]) {
            lines.push_back("Warning: the " + LocationName(l, i) + " sits on its limit (" +
                            Num(SignedLocation(l, x, i)) +
                            "): the limit holds it there, not the data (questions 13 and 14).");
        }
        if (!u.undetermined[at]) {
            continue;
        }
        lines.push_back("Warning: the " + LocationName(l, i) + " is not determined by the data: " +
                        (u.singular[at]
                             ? "the error sum does not change to first order as it moves "
                               "(the Jacobian is singular in its direction)."
                             : "its standard error " + Num(u.standardError[at]) +
                                   " is comparable to its value " + Num(SignedLocation(l, x, i)) +
                                   "."));
    }
    return lines;
}

} // namespace veltrana
