#include "Fit.h"

#include <ceres/ceres.h>
#include <glog/logging.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

namespace veltrana {

// How the nine settings steer the fit:
//   REMAX    outer: the most descents (the first one and the restarts);
//            middle: rejected trust-region steps in a row that end a descent (counted by the
//            progress callback; Ceres' own limit counts only steps it could not evaluate);
//            inner: not used, the linear solve of each
//            step is direct (dense QR) and needs no iterations.
//   DETAIL   outer: list the constellation at the start and end of every Nth descent;
//            middle: list it every Nth iteration; inner: list every Nth rejected step
//            (0 turns each off).
//   (A restart is made only while the best point is not a good fit and its descent stalled:
//   it ended on a limit of STEPSLIM, REMAX or EVALMAX, or with a location on its bounds.)
//   ZERO     outer: a restart must lower the best error sum by more than this fraction to
//            count as progress; two restarts in a row without progress end the run;
//            middle: function_tolerance (relative change of the error sum);
//            inner: parameter_tolerance (relative size of the step).
//   STEPSLIM max_num_iterations of each descent.
//   STEPOUT  one progress line every N iterations (0: none).
//   EVALMAX  model evaluations over the whole run; the descent running when it is reached
//            ends at its current (best) point.
//   SETRHO   1: Levenberg-Marquardt; 2: dogleg, which takes the gradient (Cauchy) step where
//            the Gauss-Newton model does not hold.
//   RATIO    the restart radius (a fraction of each location's range, on a log scale)
//            starts at 1/2 and is divided by sqrt(RATIO) from one restart to the next.
//   ACCURACY the relative accuracy asked of the fitted output: a fit is good, and no restart
//            is made, once the error sum is at most ACCURACY^2 times the error sum of H = 0
//            (an RMS error of ACCURACY relative to the RMS of the weighted Yout); the final
//            descent from the best point stops when the error sum and the step change by less
//            than ACCURACY^2 (relative).

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStride = 8;

struct CostFunctor {
    const FitProblem* problem;
    template <class T> bool operator()(T const* const* parameters, T* residuals) const {
        return Residuals(*problem, parameters[0], residuals);
    }
};

/// Counts model evaluations for EVALMAX, and fails them once the run is cancelled: a large
/// problem spends seconds in one iteration, longer than a cancel may wait.
class CountingCost final : public ceres::CostFunction {
public:
    CountingCost(const FitProblem& problem, int* count, FitObserver& observer)
        : m_count(count), m_observer(observer) {
        auto* inner =
            new ceres::DynamicAutoDiffCostFunction<CostFunctor, kStride>(new CostFunctor{&problem});
        inner->AddParameterBlock(problem.layout.size());
        inner->SetNumResiduals(ResidualCount(problem));
        m_inner.reset(inner);
        mutable_parameter_block_sizes()->push_back(problem.layout.size());
        set_num_residuals(ResidualCount(problem));
    }
    bool Evaluate(double const* const* parameters, double* residuals,
                  double** jacobians) const override {
        if (m_observer.Cancelled())
            return false;
        ++*m_count;
        return m_inner->Evaluate(parameters, residuals, jacobians);
    }

private:
    std::unique_ptr<ceres::CostFunction> m_inner;
    int* m_count;
    FitObserver& m_observer;
};

class Progress final : public ceres::IterationCallback {
public:
    Progress(FitObserver& observer, int start, const double* x, const int* evaluations, int evalMax,
             int rejectedMax)
        : m_observer(observer), m_start(start), m_x(x), m_evaluations(evaluations),
          m_evalMax(evalMax), m_rejectedMax(rejectedMax) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        m_observer.Iteration(m_start, s.iteration, 2 * s.cost, s.step_is_successful, m_x);
        if (m_observer.Cancelled()) {
            cancelled = true;
            return ceres::SOLVER_ABORT;
        }
        if (*m_evaluations >= m_evalMax) {
            evalLimit = true;
            return ceres::SOLVER_TERMINATE_SUCCESSFULLY;
        }
        m_rejected = s.iteration == 0 || s.step_is_successful ? 0 : m_rejected + 1;
        if (m_rejected >= m_rejectedMax) {
            rejectedLimit = true;
            return ceres::SOLVER_TERMINATE_SUCCESSFULLY;
        }
        return ceres::SOLVER_CONTINUE;
    }
    bool cancelled = false;
    bool evalLimit = false;
    bool rejectedLimit = false;

private:
    FitObserver& m_observer;
    int m_start;
    const double* m_x;
    const int* m_evaluations;
    int m_evalMax;
    int m_rejectedMax;
    int m_rejected = 0;
};

bool OnItsLimit(const FitProblem& fp, const std::vector<double>& x, size_t i) {
    const double tolerance = 1e-6 * std::max(1.0, std::abs(x[i]));
    return x[i] - fp.lower[i] <= tolerance || fp.upper[i] - x[i] <= tolerance;
}

/// A point around x within radius rho (a fraction of each location's range on a log scale).
/// Locations that sit on a limit are drawn anew over their whole range: they are what held
/// the descent back.
std::vector<double> Perturb(const FitProblem& fp, const std::vector<double>& x, double rho,
                            std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> y = x;
    for (size_t i = 0; i < x.size(); ++i) {
        const double lo = fp.lower[i], hi = fp.upper[i];
        const double sign = hi <= 0 ? -1.0 : 1.0;
        const double mLo = std::max(std::min(std::abs(lo), std::abs(hi)), fp.lowest);
        const double mHi = std::max(std::abs(lo), std::abs(hi));
        if (!(mHi > mLo)) {
            continue;
        }
        const double span = std::log(mHi / mLo);
        const double m = std::clamp(std::abs(x[i]), mLo, mHi);
        const double moved = OnItsLimit(fp, x, i)
                                 ? std::exp(std::log(mLo) + (u(rng) + 1) / 2 * span)
                                 : std::exp(std::log(m) + u(rng) * rho * span);
        y[i] = std::clamp(sign * std::clamp(moved, mLo, mHi), lo, hi);
    }
    return y;
}

} // namespace

namespace {

struct Descent {
    std::string why;
    bool cancelled = false;
    bool evalLimit = false;
    bool converged = false; ///< ended on a tolerance, not on a limit or a failure
};

/// True when a location of x lies on (or within a relative 1e-6 of) one of its limits: a
/// descent that ends pressed against the box has usually run into the wrong basin.
bool OnALimit(const FitProblem& fp, const std::vector<double>& x) {
    for (size_t i = 0; i < x.size(); ++i) {
        if (OnItsLimit(fp, x, i)) {
            return true;
        }
    }
    return false;
}

/// One bounded trust-region descent from x (changed in place).
Descent Descend(const FitProblem& fp, const SolverSettings& settings, FitObserver& observer,
                int start, std::vector<double>& x, double functionTolerance,
                double parameterTolerance, double seconds, FitResult& result,
                const std::vector<int>& held = {}) {
    ceres::Problem problem;
    problem.AddResidualBlock(new CountingCost(fp, &result.evaluations, observer), nullptr,
                             x.data());
    for (int i = 0; i < fp.layout.size(); ++i) {
        problem.SetParameterLowerBound(x.data(), i, fp.lower[static_cast<size_t>(i)]);
        problem.SetParameterUpperBound(x.data(), i, fp.upper[static_cast<size_t>(i)]);
    }
    if (!held.empty() && static_cast<int>(held.size()) < fp.layout.size()) {
        problem.SetManifold(x.data(), new ceres::SubsetManifold(fp.layout.size(), held));
    }
    Progress progress(observer, start, x.data(), &result.evaluations, settings.evalMax,
                      settings.remax[1]);
    ceres::Solver::Options options;
    options.minimizer_type = ceres::TRUST_REGION;
    options.trust_region_strategy_type =
        settings.setRho == 2 ? ceres::DOGLEG : ceres::LEVENBERG_MARQUARDT;
    options.linear_solver_type = ceres::DENSE_QR;
    options.max_num_iterations = settings.stepsLim;
    options.max_num_consecutive_invalid_steps = settings.remax[1];
    options.function_tolerance = functionTolerance;
    options.parameter_tolerance = parameterTolerance;
    options.gradient_tolerance = 1e-14;
    options.max_solver_time_in_seconds = std::max(0.001, seconds);
    options.logging_type = ceres::SILENT;
    options.minimizer_progress_to_stdout = false;
    options.num_threads = 1;
    options.jacobi_scaling = false;
    options.update_state_every_iteration = true;
    options.callbacks.push_back(&progress);
    ceres::Solver::Summary summary;
    ceres::Solve(options, &problem, &summary);
    result.iterations += static_cast<int>(summary.iterations.size());
    Descent d;
    d.cancelled = progress.cancelled || observer.Cancelled();
    d.evalLimit = progress.evalLimit || result.evaluations >= settings.evalMax;
    d.converged = summary.termination_type == ceres::CONVERGENCE;
    d.why = d.cancelled          ? "cancelled"
            : progress.evalLimit ? "EVALMAX model evaluations reached"
            : progress.rejectedLimit
                ? "REMAX: " + std::to_string(settings.remax[1]) + " rejected steps in a row"
                : summary.message;
    return d;
}

} // namespace

FitResult Fit(const FitProblem& fp, const SolverSettings& settings, FitObserver& observer,
              double timeLimitSeconds, unsigned seed) {
    const auto began = Clock::now();
    // Ceres reports a failed evaluation (a step into a non-finite error) on stderr through
    // glog; the descent's end in the listing says it, and stderr stays clean.
    FLAGS_minloglevel = google::GLOG_FATAL;
    auto remaining = [&] {
        return timeLimitSeconds - std::chrono::duration<double>(Clock::now() - began).count();
    };
    FitResult result;
    result.x = fp.start;
    result.parts = EvaluateError(fp, fp.start);
    result.startError = result.parts.total();
    const double goodError = settings.accuracy * settings.accuracy * ZeroFilterError(fp);
    std::mt19937 rng(seed);
    double rho = 0.5;
    int restartsWithoutProgress = 0;
    bool limited = false;

    // Keeps x when it is at least as good as the best so far; true when it beat it by more
    // than the outer ZERO fraction.
    auto keep = [&](const std::vector<double>& x) {
        const ErrorParts reached = EvaluateError(fp, x);
        const double before = result.parts.total();
        if (reached.finite && reached.total() <= before) {
            result.x = x;
            result.parts = reached;
        }
        return reached.finite && reached.total() < before * (1 - settings.zero[0]);
    };

    for (int start = 1; start <= settings.remax[0]; ++start) {
        std::vector<double> x = fp.start;
        if (start > 1) {
            x = Perturb(fp, result.x, rho, rng);
            rho /= std::sqrt(settings.ratio);
        }
        const ErrorParts from = EvaluateError(fp, x);
        if (!from.finite) {
            continue;
        }
        observer.StartBegins(start, x, from.total());
        result.starts = start;
        const Descent d = Descend(fp, settings, observer, start, x, settings.zero[1],
                                  settings.zero[2], remaining(), result);
        observer.StartEnds(start, x, EvaluateError(fp, x).total(), d.why);
        const bool progressed = keep(x);
        restartsWithoutProgress = (start > 1 && !progressed) ? restartsWithoutProgress + 1 : 0;

        if (d.cancelled) {
            result.cancelled = true;
            result.stopReason = "The run was cancelled.";
            return result;
        }
        limited = d.evalLimit || remaining() <= 0;
        if (d.evalLimit) {
            result.stopReason = "EVALMAX model evaluations reached.";
        } else if (remaining() <= 0) {
            result.stopReason = "Time limit of the run reached.";
        } else if (result.parts.total() <= goodError) {
            result.stopReason = "Good fit: error sum at or below ACCURACY^2 x the error of H = 0.";
        } else if (d.converged && !OnALimit(fp, result.x)) {
            result.stopReason = "The descent converged inside the limits.";
        } else if (restartsWithoutProgress >= 2) {
            result.stopReason = "Two restarts in a row did not lower the error sum.";
        } else if (start == settings.remax[0]) {
            result.stopReason = "All REMAX descents used.";
        } else {
            continue;
        }
        break;
    }
    if (result.stopReason.empty()) {
        result.stopReason = "No start could be evaluated.";
        return result;
    }
    if (!limited) {
        // The final descent polishes the best point to ACCURACY^2 relative change of the error
        // sum and of the step (1e-8 for the default ACCURACY). Projected steps crawl along a
        // limit, so the locations that sit on one are first held there while the others
        // settle; a free descent then lets them leave it if that pays.
        std::vector<int> held;
        for (size_t i = 0; i < result.x.size(); ++i) {
            if (OnItsLimit(fp, result.x, i)) {
                held.push_back(static_cast<int>(i));
            }
        }
        const double tolerance = settings.accuracy * settings.accuracy;
        result.polished = true;
        for (bool holding : {true, false}) {
            if (holding && held.empty()) {
                continue;
            }
            std::vector<double> x = result.x;
            observer.StartBegins(0, x, result.parts.total());
            const Descent d = Descend(fp, settings, observer, 0, x, tolerance, tolerance,
                                      remaining(), result, holding ? held : std::vector<int>{});
            observer.StartEnds(0, x, EvaluateError(fp, x).total(), d.why);
            keep(x);
            if (d.cancelled) {
                result.cancelled = true;
                result.stopReason = "The run was cancelled.";
                break;
            }
            if (d.evalLimit || remaining() <= 0) {
                break;
            }
        }
    }
    return result;
}

} // namespace veltrana
