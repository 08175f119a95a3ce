#include "FitTesting.h"
#include "Prototype.h"

#include <gmock/gmock.h>

#include <cmath>
#include <random>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// |H| does not tell a zero pair from its mirror image: one started in the right half plane
// fits as well as in the left and stays where it started.
TEST(Fit, AZeroPairFitsEquallyWellInEitherHalfPlane) {
    for (const char* real : {".1", "-.1"}) {
        SCOPED_TRACE(real);
        DesignProblem d = Example("Ex-Zpair.1");
        d.Answers[17] = real;
        const FitProblem fp = Build(d);
        const FitResult r = Quietly(fp);
        EXPECT_LT(r.parts.total(), 0.01);
        EXPECT_EQ(r.x[static_cast<size_t>(fp.layout.zeroReal(0))] < 0, real[0] == '-');
    }
}

TEST(Fit, NeverEndsAboveTheStartFromRandomStartsWithinTheBounds) {
    const Prototype p = ButterworthPrototype(7); // a sigma pole and three pairs
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> u(-5.3, 3.0); // log of .005 .. 20
        FitProblem fp = Build(KnownAnswerProblem(p, p.truth));
        for (double& x : fp.start)
            x = std::exp(u(rng));
        SolverSettings settings;
        settings.remax[0] = 3;
        FitObserver quiet;
        const FitResult r = Fit(fp, settings, quiet, {60, seed});
        EXPECT_LE(r.parts.total(), r.startError);
        EXPECT_THAT(r.x, testing::Pointwise(testing::Ge(), fp.lower));
        EXPECT_THAT(r.x, testing::Pointwise(testing::Le(), fp.upper));
    }
}

// Limits that once ended runs early, or stretched beyond what they say.
TEST(Fit, SettingsBoundTheRunAsTheySay) {
    const FitProblem sidelobes = Build(Example("Ex-Yzero.01")), pair = Build(Example("Ex-Zpair.1"));
    // Restarts without progress used to end the run after two, REMAX unused.
    SolverSettings s;
    s.remax[0] = 12, s.zero[0] = 0;
    FitResult r = Quietly(sidelobes, s);
    EXPECT_EQ(r.starts, 12);
    EXPECT_EQ(r.stopReason, "All REMAX descents used.");
    // The final descent used to stop on STEPSLIM while the error sum still fell.
    s = {};
    s.remax[0] = 1;
    const double converged = Quietly(sidelobes, s).parts.total();
    s.stepsLim = 4;
    EXPECT_LE(Quietly(sidelobes, s).parts.total(), converged * (1 + 1e-6));
    // EVALMAX bounds the whole run; the last iteration of each descent ends.
    s = {};
    s.evalMax = 300;
    r = Quietly(pair, s);
    EXPECT_LE(r.evaluations, 300 + 3 * r.starts);
    EXPECT_THAT(r.stopReason, testing::HasSubstr("EVALMAX"));
}

} // namespace
