#include "FitTesting.h"
#include "Prototype.h"
#include "Uncertainty.h"

#include <gmock/gmock.h>

#include <cmath>
#include <random>

using namespace veltrana;
using namespace veltrana::test;
using testing::Each;
using testing::Pointwise;

namespace {

// Every location 30 to 50 % off the answer, default settings: the answer is found, inside
// the limits, and the data determine every location of it.
TEST(KnownAnswers, EachPrototypeIsFoundFromPerturbedStarts) {
    for (const Prototype& p : KnownAnswerPrototypes()) {
        SCOPED_TRACE(p.name);
        const std::vector<double> answer = ObjectiveAnswer(p);
        EXPECT_TRUE(FoundAnswer(p, p.truth, answer, 0.01)) << "near the prototype";
        std::mt19937 rng(2024);
        for (int start = 0; start < 2; ++start) {
            const FitProblem fp = Build(KnownAnswerProblem(p, PerturbedStart(p, rng)));
            const FitResult r = Quietly(fp);
            EXPECT_TRUE(FoundAnswer(p, answer, r.x)) << testing::PrintToString(r.x);
            EXPECT_THAT(r.x, Pointwise(testing::Ge(), fp.lower));
            EXPECT_THAT(r.x, Pointwise(testing::Le(), fp.upper));
            const Uncertainty u = EstimateUncertainty(fp, r.x, r.parts.gain);
            EXPECT_FALSE(u.warns()) << testing::PrintToString(u.standardError);
        }
    }
}

// A pair started on the real axis, or one that a first step throws there: |H| is even in the
// imaginary part, so its derivative is 0 on the axis, and a pair clamped there stayed.
TEST(KnownAnswers, PairsStartedOnTheRealAxisLeaveIt) {
    for (const Prototype& p : {ChebyshevPrototype(4, 0.5), ButterworthPrototype(5)}) {
        SCOPED_TRACE(p.name);
        std::vector<double> start = p.truth;
        for (int k = 0; k < p.layout.nPolePairs; ++k)
            start[static_cast<size_t>(p.layout.poleImag(k))] = 0;
        SolverSettings one;
        one.remax[0] = 1;
        const FitResult r = Quietly(Build(KnownAnswerProblem(p, start)), one);
        EXPECT_TRUE(FoundAnswer(p, p.truth, r.x)) << testing::PrintToString(r.x);
    }
}

/// The Butterworth data with noise of standard deviation sigma added to Yout.
FitProblem Noisy(const Prototype& p, double sigma, std::mt19937& rng) {
    FitProblem fp = Build(KnownAnswerProblem(p, p.truth));
    std::normal_distribution<double> noise(0, sigma);
    for (double& y : fp.yout)
        y += noise(rng);
    return fp;
}

// The linearised standard errors agree with the spread of the fitted locations over many
// noisy copies of the same data.
TEST(KnownAnswers, StandardErrorsMatchTheScatterOfRepeatedFits) {
    const Prototype p = ButterworthPrototype(5);
    constexpr int kCopies = 40;
    constexpr double kSigma = 0.002;
    std::mt19937 rng(5);
    SolverSettings one;
    one.remax[0] = 1;
    const size_t n = p.truth.size();
    std::vector<double> sum(n), sumSquares(n), predicted(n);
    for (int copy = 0; copy < kCopies; ++copy) {
        const FitProblem fp = Noisy(p, kSigma, rng);
        const FitResult r = Quietly(fp, one);
        const Uncertainty u = EstimateUncertainty(fp, r.x, r.parts.gain);
        ASSERT_TRUE(u.estimated) << u.why;
        EXPECT_NEAR(std::sqrt(u.residualVariance), kSigma, 0.4 * kSigma);
        for (size_t i = 0; i < n; ++i) {
            sum[i] += r.x[i];
            sumSquares[i] += r.x[i] * r.x[i];
            predicted[i] += u.standardError[i] / kCopies;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const double mean = sum[i] / kCopies;
        const double scatter =
            std::sqrt((sumSquares[i] / kCopies - mean * mean) * kCopies / (kCopies - 1));
        EXPECT_NEAR(predicted[i] / scatter, 1.0, 0.35)
            << LocationName(p.layout, static_cast<int>(i));
    }
}

// A pole pair and a zero pair that cancel each other, on top of an exact fit: they may move
// together anywhere. The listing says that the data do not determine them instead of
// reporting a clean fit.
TEST(KnownAnswers, LocationsTheDataCannotSeeAreFlagged) {
    const Prototype p = ButterworthPrototype(3);
    FitProblem fp = Build(KnownAnswerProblem(p, p.truth));
    fp.layout.nPolePairs = 2;
    fp.layout.nZeroPairs = 1;
    const std::vector<double> cancelling{0.3, 1.2};
    for (int copy = 0; copy < 2; ++copy) {
        const auto at = copy == 0 ? fp.start.begin() + fp.layout.poleReal(1) : fp.start.end();
        const auto offset = at - fp.start.begin();
        fp.start.insert(at, cancelling.begin(), cancelling.end());
        fp.lower.insert(fp.lower.begin() + offset, {fp.lowest, 0.0});
        fp.upper.insert(fp.upper.begin() + offset, {fp.highest, fp.highest});
    }
    const FitResult r = Quietly(fp);
    EXPECT_LT(r.parts.total(), 1e-20);
    const Uncertainty u = EstimateUncertainty(fp, r.x, r.parts.gain);
    EXPECT_THAT(u.singular, Pointwise(testing::Eq(), std::vector<bool>{false, false, false, true,
                                                                       true, true, true}));
    EXPECT_THAT(DescribeUncertainty(fp, r.x, r.parts.gain, u),
                testing::Contains("Warning: the imaginary part of pole pair 2 is not determined "
                                  "by the data: the error sum does not change to first order as "
                                  "it moves (the Jacobian is singular in its direction)."));
}

// Standard errors need more residuals than unknowns; a gain that enters no residual (a fit of
// the delay alone) has none and keeps its start.
TEST(KnownAnswers, WhatCannotBeEstimatedIsSaid) {
    const Prototype p = ButterworthPrototype(5);
    FitProblem few = Build(KnownAnswerProblem(p, p.truth));
    for (auto* v : {&few.w, &few.yin, &few.yout, &few.k, &few.freqMHz}) {
        v->resize(6); // five locations and the gain
    }
    FitProblem delayOnly = Build(KnownAnswerProblem(BesselPrototype(4), BesselPrototype(4).truth));
    std::fill(delayOnly.k.begin(), delayOnly.k.end(), 0.0);
    const std::pair<const FitProblem*, const char*> cases[] = {
        {&few, "Standard errors cannot be estimated: 6 residuals leave no degrees of freedom for 6 "
               "unknowns."},
        {&delayOnly, "  gain  1  (enters no residual: it keeps its start value)"},
    };
    for (const auto& [fp, line] : cases) {
        SCOPED_TRACE(line);
        const FitResult r = Quietly(*fp);
        const Uncertainty u = EstimateUncertainty(*fp, r.x, r.parts.gain);
        EXPECT_THAT(DescribeUncertainty(*fp, r.x, r.parts.gain, u), testing::Contains(line));
    }
}

} // namespace
