#include "Fit.h"

#include "Descent.h"
#include "StartPoints.h"

#include <glog/logging.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <system_error>
#include <thread>

namespace veltrana {

// How the nine settings steer the fit:
//   REMAX    outer: the most descents (the first one and the restarts);
//            middle: rejected trust-region steps in a row that end a descent (counted by the
//            progress callback; Ceres' own limit counts only steps it could not evaluate);
//            inner: not used, the linear solve of each step is direct (dense QR) and needs no
//            iterations.
//   DETAIL   outer: list the constellation at the start and end of every Nth descent;
//            middle: list it every Nth iteration; inner: list every Nth rejected step
//            (0 turns each off).
//   ZERO     outer: a round of restarts that lowers the best error sum by more than this
//            fraction has found a new basin: the next round searches around it as widely as
//            the first; otherwise the radius shrinks (RATIO). (It used to end the run after
//            two restarts without progress, which left fits in a trap with REMAX unused.)
//            middle: function_tolerance (relative change of the error sum);
//            inner: parameter_tolerance (relative size of the step).
//   STEPSLIM max_num_iterations of each descent. The final descent runs in spans of STEPSLIM
//            iterations for as long as a span lowers the error sum by more than ACCURACY^2
//            (relative): it used to stop on STEPSLIM while the error sum still fell.
//   STEPOUT  one progress line every N iterations (0: none).
//   EVALMAX  model evaluations over the whole run. Each descent of a round may use an equal
//            share of what is left, one share kept back for the final descent (so that the
//            result does not depend on which thread runs first); the final descent may use
//            all that is left. The run ends, without the final descent, once fewer than
//            kFewestEvaluations are left.
//   SETRHO   1: Levenberg-Marquardt; 2: dogleg, which takes the gradient (Cauchy) step where
//            the Gauss-Newton model does not hold.
//   RATIO    the restarts around the best point move each location by a factor of up to
//            exp(1/2) either way; the radius is divided by sqrt(RATIO) after each round that
//            made no progress.
//   ACCURACY the relative accuracy asked of the fitted output: a fit is good, and no restart
//            is made, once the error sum is at most ACCURACY^2 times the error sum of H = 0
//            (an RMS error of ACCURACY relative to the RMS of the weighted Yout); the final
//            descent stops when the error sum and the step change by less than ACCURACY^2
//            (relative), or, from a good fit, by less than 1e-15: it used to stop a step
//            short of the round-off that a general-purpose solver reaches.
// Restarts come in rounds of up to kRoundSize descents, half of them around the best point,
// half spread over the box of limits; the descents of a round run in parallel and are
// listed in order once the round is over.

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRoundSize = 8;
constexpr double kFirstRadius = 0.5;
constexpr double kPolishRadius = 1e4;
constexpr double kRoundOff = 1e-15;
/// Fewer evaluations than this left of EVALMAX are not worth another descent.
constexpr int kFewestEvaluations = 20;

/// Keeps what a descent tells, to be told again in start order.
class Recording final : public FitObserver {
public:
    Recording(FitObserver& target, int size) : m_target(target), m_size(size) {}
    void Iteration(int start, int iteration, double error, bool successful,
                   const double* x) override {
        m_steps.push_back({start, iteration, error, successful, {x, x + m_size}});
    }
    bool Cancelled() override { return m_target.Cancelled(); }
    void Replay(FitObserver& to) const {
        for (const Step& s : m_steps) {
            to.Iteration(s.start, s.iteration, s.error, s.successful, s.x.data());
        }
    }

private:
    struct Step {
        int start, iteration;
        double error;
        bool successful;
        std::vector<double> x;
    };
    FitObserver& m_target;
    int m_size;
    std::vector<Step> m_steps;
};

/// Runs work(0) .. work(count - 1) on up to `threads` threads, this one included.
void RunParallel(int count, int threads, const std::function<void(int)>& work) {
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int i; (i = next++) < count;) {
            work(i);
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < std::min(threads, count); ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break; // fewer threads: the same result, later
        }
    }
    worker();
    for (std::thread& t : pool) {
        t.join();
    }
}

struct Planned {
    StartKind kind;
    std::vector<double> x;
};

class MultiStart {
public:
    MultiStart(const FitProblem& fp, const SolverSettings& s, FitObserver& observer,
               const FitOptions& options)
        : m_fp(fp), m_s(s), m_observer(observer), m_options(options), m_began(Clock::now()) {
        const unsigned cores = std::thread::hardware_concurrency();
        m_threads = options.threads > 0 ? options.threads : std::max(1u, cores);
    }

    FitResult Run();

private:
    double Remaining() const {
        return m_options.timeLimitSeconds -
               std::chrono::duration<double>(Clock::now() - m_began).count();
    }
    int EvaluationsLeft() const { return std::max(0, m_s.evalMax - m_result.evaluations); }
    /// The error sum of a good fit by ACCURACY.
    double GoodError() const { return m_s.accuracy * m_s.accuracy * ZeroFilterError(m_fp); }
    /// Runs the starts as one round; false when the run is to end (cancel, limits).
    bool Round(const std::vector<Planned>& starts);
    /// Counts what d used and keeps its end when it beats the best point.
    void Keep(const DescentOutcome& d);
    void Polish();

    const FitProblem& m_fp;
    const SolverSettings& m_s;
    FitObserver& m_observer;
    const FitOptions& m_options;
    Clock::time_point m_began;
    int m_threads = 1;
    FitResult m_result;
};

void MultiStart::Keep(const DescentOutcome& d) {
    m_result.evaluations += d.evaluations;
    m_result.iterations += d.iterations;
    if (d.parts.finite && d.parts.total() < m_result.parts.total()) {
        m_result.x = d.x;
        m_result.parts = d.parts;
    }
}

bool MultiStart::Round(const std::vector<Planned>& starts) {
    const int count = static_cast<int>(starts.size());
    DescentPlan plan;
    plan.iterations = m_s.stepsLim;
    // One share more than there are descents: the final descent gets at least that.
    plan.evaluations = EvaluationsLeft() / (count + 1);
    plan.functionTolerance = m_s.zero[1];
    plan.parameterTolerance = m_s.zero[2];
    plan.seconds = Remaining();
    const int first = m_result.starts + 1;
    std::vector<DescentOutcome> ends(starts.size());
    auto begins = [&](int i) {
        const Planned& p = starts[static_cast<size_t>(i)];
        m_observer.StartBegins(first + i, p.kind, p.x, EvaluateError(m_fp, p.x).total());
    };
    auto ended = [&](int i) {
        const DescentOutcome& d = ends[static_cast<size_t>(i)];
        m_observer.StartEnds(first + i, d.x, d.parts.total(), d.why);
    };
    if (count == 1) {
        // Alone, a descent tells its iterations as they come: a long one shows its progress.
        begins(0);
        ends[0] = Descend(m_fp, m_s, starts[0].x, plan, m_observer, first);
        ended(0);
    } else {
        std::vector<Recording> recordings;
        for (int i = 0; i < count; ++i) {
            recordings.emplace_back(m_observer, m_fp.layout.size());
        }
        RunParallel(count, m_threads, [&](int i) {
            const size_t at = static_cast<size_t>(i);
            ends[at] = Descend(m_fp, m_s, starts[at].x, plan, recordings[at], first + i);
        });
        for (int i = 0; i < count; ++i) {
            begins(i);
            recordings[static_cast<size_t>(i)].Replay(m_observer);
            ended(i);
        }
    }
    bool cancelled = false;
    for (const DescentOutcome& d : ends) {
        m_result.starts += 1;
        Keep(d);
        cancelled = cancelled || d.cancelled;
    }
    if (cancelled) {
        m_result.cancelled = true;
        m_result.stopReason = "The run was cancelled.";
        return false;
    }
    if (EvaluationsLeft() < kFewestEvaluations) {
        m_result.stopReason = "EVALMAX model evaluations reached.";
        return false;
    }
    if (Remaining() <= 0) {
        m_result.stopReason = "Time limit of the run reached.";
        return false;
    }
    return true;
}

void MultiStart::Polish() {
    // Projected steps crawl along a limit, so the locations that sit on one are first held
    // there while the others settle; free spans then let them leave it if that pays.
    std::vector<int> held;
    for (size_t i = 0; i < m_result.x.size(); ++i) {
        const double x = m_result.x[i];
        const double tolerance = 1e-6 * std::max(1.0, std::abs(x));
        const bool onLimit = x - m_fp.lower[i] <= tolerance || m_fp.upper[i] - x <= tolerance;
        if (onLimit && !m_fp.layout.isPairImaginary(static_cast<int>(i))) {
            held.push_back(static_cast<int>(i));
        }
    }
    // A good fit matches its data to round-off: its steps shrink quadratically, and a step or
    // two more take it there.
    const bool good = m_result.parts.total() <= GoodError();
    const double tolerance = good ? kRoundOff : m_s.accuracy * m_s.accuracy;
    m_result.polished = true;
    bool holding = !held.empty();
    for (;;) {
        DescentPlan plan;
        plan.iterations = m_s.stepsLim;
        plan.evaluations = EvaluationsLeft();
        plan.functionTolerance = tolerance;
        plan.parameterTolerance = tolerance;
        plan.seconds = Remaining();
        plan.firstRadius = kPolishRadius;
        plan.gradientTolerance = good ? 0 : plan.gradientTolerance;
        if (holding) {
            plan.held = held;
        }
        const double before = m_result.parts.total();
        m_observer.StartBegins(0, StartKind::Polish, m_result.x, before);
        const DescentOutcome d = Descend(m_fp, m_s, m_result.x, plan, m_observer, 0);
        m_observer.StartEnds(0, d.x, d.parts.total(), d.why);
        Keep(d);
        if (d.cancelled) {
            m_result.cancelled = true;
            m_result.stopReason = "The run was cancelled.";
            return;
        }
        if (EvaluationsLeft() < kFewestEvaluations || Remaining() <= 0) {
            m_result.stopReason += EvaluationsLeft() < kFewestEvaluations
                                       ? " The final descent used the last of EVALMAX."
                                       : " The final descent ran into the time limit of the run.";
            return;
        }
        const bool stillFalling =
            d.iterationLimit && m_result.parts.total() < before * (1 - tolerance);
        if (!holding && !stillFalling) {
            return;
        }
        holding = false;
    }
}

FitResult MultiStart::Run() {
    m_result.threads = m_threads;
    m_result.x = m_fp.start;
    m_result.parts = EvaluateError(m_fp, m_fp.start);
    m_result.startError = m_result.parts.total();
    if (!m_result.parts.finite) {
        m_result.stopReason = "No start could be evaluated.";
        return m_result;
    }
    const double goodError = GoodError();
    double radius = kFirstRadius;
    int spread = 0;
    bool going = Round({{StartKind::Given, m_fp.start}});
    while (going) {
        if (m_result.parts.total() <= goodError) {
            m_result.stopReason =
                "Good fit: error sum at or below ACCURACY^2 x the error of H = 0.";
            break;
        }
        const int left = m_s.remax[0] - m_result.starts;
        if (left <= 0) {
            m_result.stopReason = "All REMAX descents used.";
            break;
        }
        std::vector<Planned> starts;
        for (int i = 0; i < std::min(left, kRoundSize); ++i) {
            const int n = m_result.starts + 1 + i;
            starts.push_back(
                i % 2 == 0
                    ? Planned{StartKind::AroundBest,
                              StartAround(m_fp, m_result.x, radius, n, m_options.seed)}
                    : Planned{StartKind::Spread, SpreadStart(m_fp, ++spread, m_options.seed)});
        }
        const double before = m_result.parts.total();
        going = Round(starts);
        radius = m_result.parts.total() < before * (1 - m_s.zero[0])
                     ? kFirstRadius
                     : radius / std::sqrt(m_s.ratio);
    }
    m_result.good = m_result.parts.total() <= goodError;
    if (going) {
        Polish();
        m_result.good = m_result.parts.total() <= goodError;
    }
    return m_result;
}

} // namespace

FitResult Fit(const FitProblem& fp, const SolverSettings& settings, FitObserver& observer,
              const FitOptions& options) {
    // Ceres reports a failed evaluation (a step into a non-finite error) on stderr through
    // glog; the descent's end in the listing says it, and stderr stays clean.
    FLAGS_minloglevel = google::GLOG_FATAL;
    return MultiStart(fp, settings, observer, options).Run();
}

} // namespace veltrana
