#include "FitTesting.h"
#include "Prototype.h"

#include <gmock/gmock.h>

#include <cmath>
#include <functional>
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
    SolverSettings single;
    single.remax[0] = 1;
    const double converged = Quietly(sidelobes, single).parts.total();
    struct Case {
        const char* name;
        const FitProblem& problem;
        std::function<void(SolverSettings&)> set;
        std::function<void(const FitResult&)> check;
    };
    const Case cases[] = {
        // Restarts without progress used to end the run after two, REMAX unused.
        {"every REMAX descent is used while the fit is not good", sidelobes,
         [](SolverSettings& s) { s.remax[0] = 12, s.zero[0] = 0; },
         [](const FitResult& r) {
             EXPECT_EQ(r.starts, 12);
             EXPECT_EQ(r.stopReason, "All REMAX descents used.");
         }},
        // The final descent used to stop on STEPSLIM while the error sum still fell.
        {"the final descent goes on while the error sum falls", sidelobes,
         [](SolverSettings& s) { s.remax[0] = 1, s.stepsLim = 4; },
         [&](const FitResult& r) { EXPECT_LE(r.parts.total(), converged * (1 + 1e-6)); }},
        {"EVALMAX bounds the whole run", pair, [](SolverSettings& s) { s.evalMax = 300; },
         [](const FitResult& r) {
             EXPECT_LE(r.evaluations, 300 + 3 * r.starts); // the last iteration of each ends
             EXPECT_THAT(r.stopReason, testing::HasSubstr("EVALMAX"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SolverSettings settings;
        c.set(settings);
        c.check(Quietly(c.problem, settings));
    }
}

} // namespace
