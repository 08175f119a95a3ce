#include "Fit.h"
#include "InputFile.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace veltrana;

namespace {

std::string Texts(const std::vector<double>& values) {
    std::string line;
    for (double v : values) {
        line += (line.empty() ? "" : " ") + std::to_string(v);
    }
    return line;
}

/// A pass-band-only problem whose data are |H| of a known constellation: one sigma pole at
/// a and pole pairs (re, im), gain 2, Yin 1, 30 points up to freqNorm.
DesignProblem KnownProblem(double a, const std::vector<double>& re, const std::vector<double>& im,
                           const std::vector<double>& startRe, const std::vector<double>& startIm) {
    const std::string poles = "1 " + std::to_string(re.size()), reStart = Texts(startRe),
                      imStart = Texts(startIm);
    DesignProblem d;
    d.Answers = {"N", "0", "-2", "0",     "N", "1", "10", poles, "0.9",  reStart, imStart, "N",
                 "",  "N", "N",  "0 0 0", "",  "",  "",   "1",   ".005", "22",    "30",    "0"};
    FilterLayout l{1, static_cast<int>(re.size())};
    std::vector<double> p{a};
    for (size_t k = 0; k < re.size(); ++k) {
        p.push_back(re[k]);
        p.push_back(im[k]);
    }
    d.nFreqPoints = 30;
    d.Freq.assign(31, "");
    d.Yin.assign(31, "1");
    d.Yout.assign(31, "");
    for (int i = 1; i <= 30; ++i) {
        const double w = i / 30.0;
        d.Freq[i] = std::to_string(10 * w);
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
    const DesignProblem d = KnownProblem(0.4, {0.3, 0.2}, {0.5, 0.9}, {0.6, 0.6}, {0.2, 1.4});
    const FitProblem fp = Build(d);
    FitObserver quiet;
    const FitResult r = Fit(fp, SolverSettings{}, quiet);
    EXPECT_LT(r.parts.total(), 1e-16);
    const std::vector<double> truth{0.4, 0.3, 0.5, 0.2, 0.9};
    for (size_t i = 0; i < truth.size(); ++i) {
        EXPECT_NEAR(r.x[i], truth[i], 1e-6) << "parameter " << i;
    }
    EXPECT_NEAR(r.parts.gain, 2.0, 1e-6);
}

TEST(Fit, NeverEndsAboveTheStartFromRandomStartsWithinTheBounds) {
    const DesignProblem base =
        KnownProblem(0.4, {0.3, 0.2, 0.1}, {0.5, 0.9, 1.3}, {0.3, 0.3, 0.3}, {0.3, 0.6, 0.9});
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
        const FitResult r = Fit(fp, settings, quiet, 60, seed);
        EXPECT_LE(r.parts.total(), r.startError);
        for (size_t i = 0; i < r.x.size(); ++i) {
            EXPECT_GE(r.x[i], fp.lower[i]);
            EXPECT_LE(r.x[i], fp.upper[i]);
        }
    }
}

TEST(Fit, SettingsAreReadOrRefused) {
    const std::array<std::string, 9> defaults{
        "5  10  7", "0   0   0", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
    const std::tuple<const char*, size_t, std::string, bool> cases[] = {
        {"defaults as written", 0, "5  10  7", true},
        {"empty entry keeps its default", 4, "", true},
        {"two values for REMAX", 0, "5 10", false},
        {"SETRHO 3", 6, "3", false},
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
