#include "Descent.h"

#include <ceres/ceres.h>

#include <cmath>
#include <memory>

namespace veltrana {

namespace {

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
        if (m_observer.Cancelled()) {
            return false;
        }
        ++*m_count;
        return m_inner->Evaluate(parameters, residuals, jacobians);
    }

private:
    std::unique_ptr<ceres::CostFunction> m_inner;
    int* m_count;
    FitObserver& m_observer;
};

/// The descent's own parameters: the imaginary parts of the pairs as their squares.
std::vector<double> Squared(const FilterLayout& l, std::vector<double> x) {
    for (int i = 0; i < l.size(); ++i) {
        if (l.isPairImaginary(i)) {
            x[static_cast<size_t>(i)] *= x[static_cast<size_t>(i)];
        }
    }
    return x;
}

/// The locations of the descent's parameters u.
std::vector<double> Locations(const FilterLayout& l, const double* u) {
    std::vector<double> x(u, u + l.size());
    for (int i = 0; i < l.size(); ++i) {
        if (l.isPairImaginary(i)) {
            x[static_cast<size_t>(i)] = std::sqrt(std::max(0.0, x[static_cast<size_t>(i)]));
        }
    }
    return x;
}

class Progress final : public ceres::IterationCallback {
public:
    Progress(FitObserver& observer, const FilterLayout& layout, int number, const double* x,
             const int* evaluations, int evalMax, int rejectedMax)
        : m_observer(observer), m_layout(layout), m_number(number), m_x(x),
          m_evaluations(evaluations), m_evalMax(evalMax), m_rejectedMax(rejectedMax) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        m_observer.Iteration(m_number, s.iteration, 2 * s.cost, s.step_is_successful,
                             Locations(m_layout, m_x).data());
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
    const FilterLayout& m_layout;
    int m_number;
    const double* m_x;
    const int* m_evaluations;
    int m_evalMax;
    int m_rejectedMax;
    int m_rejected = 0;
};

} // namespace

DescentOutcome Descend(const FitProblem& fp, const SolverSettings& settings,
                       const std::vector<double>& start, const DescentPlan& plan,
                       FitObserver& observer, int number) {
    const FilterLayout& l = fp.layout;
    FitProblem squared = fp;
    squared.layout.squaredImaginary = true;
    std::vector<double> u = Squared(l, start);
    DescentOutcome d;
    ceres::Problem problem;
    problem.AddResidualBlock(new CountingCost(squared, &d.evaluations, observer), nullptr,
                             u.data());
    for (int i = 0; i < l.size(); ++i) {
        const size_t at = static_cast<size_t>(i);
        const double hi = fp.upper[at];
        problem.SetParameterLowerBound(u.data(), i, fp.lower[at]);
        problem.SetParameterUpperBound(u.data(), i, l.isPairImaginary(i) ? hi * hi : hi);
    }
    if (!plan.held.empty() && static_cast<int>(plan.held.size()) < l.size()) {
        problem.SetManifold(u.data(), new ceres::SubsetManifold(l.size(), plan.held));
    }
    Progress progress(observer, l, number, u.data(), &d.evaluations, plan.evaluations,
                      settings.remax[1]);
    ceres::Solver::Options options;
    options.minimizer_type = ceres::TRUST_REGION;
    options.trust_region_strategy_type =
        settings.setRho == 2 ? ceres::DOGLEG : ceres::LEVENBERG_MARQUARDT;
    options.linear_solver_type = ceres::DENSE_QR;
    options.max_num_iterations = plan.iterations;
    options.max_num_consecutive_invalid_steps = settings.remax[1];
    options.function_tolerance = plan.functionTolerance;
    options.parameter_tolerance = plan.parameterTolerance;
    options.gradient_tolerance = plan.gradientTolerance;
    options.max_solver_time_in_seconds = std::max(0.001, plan.seconds);
    options.logging_type = ceres::SILENT;
    options.minimizer_progress_to_stdout = false;
    options.num_threads = 1;
    options.initial_trust_region_radius = plan.firstRadius;
    options.jacobi_scaling = true;
    options.update_state_every_iteration = true;
    options.callbacks.push_back(&progress);
    ceres::Solver::Summary summary;
    ceres::Solve(options, &problem, &summary);

    d.x = Locations(l, u.data());
    d.parts = EvaluateError(fp, d.x);
    d.iterations = static_cast<int>(summary.iterations.size());
    d.cancelled = progress.cancelled || observer.Cancelled();
    d.evaluationLimit = progress.evalLimit;
    d.iterationLimit =
        summary.termination_type == ceres::NO_CONVERGENCE &&
        summary.num_successful_steps + summary.num_unsuccessful_steps >= plan.iterations;
    d.converged = summary.termination_type == ceres::CONVERGENCE;
    d.why = d.cancelled          ? "cancelled"
            : progress.evalLimit ? "its share of EVALMAX, " + std::to_string(plan.evaluations) +
                                       " model evaluations, used"
            : progress.rejectedLimit
                ? "REMAX: " + std::to_string(settings.remax[1]) + " rejected steps in a row"
                : summary.message;
    return d;
}

} // namespace veltrana
