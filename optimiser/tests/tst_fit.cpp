#include "Fit.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <gmock/gmock.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>

using namespace veltrana;

namespace {

/// A pass-band-only problem whose data are |H| of a known constellation p: a sigma pole, then
/// pole pairs (re, im); gain 2, Yin 1, 30 points up to freqNorm. The start is given as text.
DesignProblem KnownProblem(const std::vector<double>& p, const std::string& reStart,
                           const std::string& imStart) {
    const FilterLayout l{1, static_cast<int>(p.size() / 2)};
    DesignProblem d;
    d.Answers = {
        "N",   "0",     "-2",    "0", "N",    "1",  "10", "1 " + std::to_string(l.nPolePairs),
        "0.9", reStart, imStart, "N", "",     "N",  "N",  "0 0 0",
        "",    "",      "",      "1", ".005", "22", "30", "0"};
    d.nFreqPoints = 30;
    d.Freq.assign(31, "");
    d.Yin.assign(31, "1");
    d.Yout.assign(31, "");
    for (int i = 1; i <= 30; ++i) {
        d.Freq[i] = std::to_string(i / 3.0);
        const double wRead = std::stod(d.Freq[i]) / 10;
        char text[40];
        std::snprintf(text, sizeof text, "%.17g",
                      2 * std::sqrt(MagnitudeSquared(l, p.data(), wRead)));
        d.Yout[i] = text;
    }
    return d;
}

FitProblem Build(const DesignProblem& d) {
    FitProblem fp;
    std::string error;
    EXPECT_TRUE(BuildFitProblem(d, fp, error)) << error;
    return fp;
}

TEST(Fit, RecoversAKnownConstellationFromAStartAwayFromIt) {
    const std::vector<double> truth{0.4, 0.3, 0.5, 0.2, 0.9};
    const FitProblem fp = Build(KnownProblem(truth, "0.6 0.6", "0.2 1.4"));
    FitObserver quiet;
    const FitResult r = Fit(fp, SolverSettings{}, quiet);
    EXPECT_LT(r.parts.total(), 1e-12);
    EXPECT_THAT(r.x, testing::Pointwise(testing::DoubleNear(1e-6), truth));
    EXPECT_NEAR(r.parts.gain, 2.0, 1e-6);
}

// |H| does not tell a zero pair from its mirror image: one started in the right half plane
// fits as well as in the left and stays where it started.
TEST(Fit, AZeroPairFitsEquallyWellInEitherHalfPlane) {
    for (const char* real : {".1", "-.1"}) {
        SCOPED_TRACE(real);
        DesignProblem d;
        ScriptedPrompter prompter;
        ASSERT_EQ(FileReadMe("Ex-Zpair.1", OPTIMISER_EXAMPLES, d, prompter), ReadOutcome::Read);
        d.Answers[17] = real;
        const FitProblem fp = Build(d);
        FitObserver quiet;
        const FitResult r = Fit(fp, SolverSettings{}, quiet);
        EXPECT_LT(r.parts.total(), 0.01);
        EXPECT_EQ(r.x[static_cast<size_t>(fp.layout.zeroReal(0))] < 0, real[0] == '-');
    }
}

TEST(Fit, NeverEndsAboveTheStartFromRandomStartsWithinTheBounds) {
    const DesignProblem base =
        KnownProblem({0.4, 0.3, 0.5, 0.2, 0.9, 0.1, 1.3}, "0.3 0.3 0.3", "0.3 0.6 0.9");
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> u(-5.3, 3.0); // log of .005 .. 20
        FitProblem fp = Build(base);
        for (double& x : fp.start) {
            x = std::exp(u(rng));
        }
        SolverSettings settings;
        settings.remax[0] = 3;
        FitObserver quiet;
        const FitResult r = Fit(fp, settings, quiet, {60, seed});
        EXPECT_LE(r.parts.total(), r.startError);
        EXPECT_THAT(r.x, testing::Pointwise(testing::Ge(), fp.lower));
        EXPECT_THAT(r.x, testing::Pointwise(testing::Le(), fp.upper));
    }
}

FitProblem Example(const std::string& name) {
    DesignProblem d;
    ScriptedPrompter prompter;
    EXPECT_EQ(FileReadMe(name, OPTIMISER_EXAMPLES, d, prompter), ReadOutcome::Read);
    return Build(d);
}

// Limits that once ended runs early, or stretched beyond what they say.
TEST(Fit, SettingsBoundTheRunAsTheySay) {
    const FitProblem sidelobes = Example("Ex-Yzero.01"), pair = Example("Ex-Zpair.1");
    SolverSettings single;
    single.remax[0] = 1;
    FitObserver quiet;
    const double converged = Fit(sidelobes, single, quiet).parts.total();
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
        c.check(Fit(c.problem, settings, quiet));
    }
}

TEST(Fit, SettingsAreReadOrRefused) {
    const std::array<std::string, 9> defaults{
        "5  10  7", "0   0   0", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
    const std::tuple<const char*, size_t, std::string, bool> cases[] = {
        {"empty entry keeps its default", 4, "", true},
        {"two values for REMAX", 0, "5 10", false},
        {"RATIO 2 is not above 2", 7, "2", false},
        {"fractional EVALMAX", 5, "20.5", false},
        {"word", 8, "fine", false},
    };
    for (const auto& [name, entry, text, ok] : cases) {
        SCOPED_TRACE(name);
        auto texts = defaults;
        texts[entry] = text;
        SolverSettings s;
        std::vector<std::string> notes;
        std::string error;
        EXPECT_EQ(ParseSolverSettings(texts, 9, s, notes, error), ok) << error;
        EXPECT_EQ(error.empty(), ok);
    }
}

} // namespace
