#include "FitTesting.h"
#include "OptimiserRun.h"
#include "ResultFile.h"
#include "ResultFileName.h"
#include "SaveTemps.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <random>
#include <regex>

using namespace veltrana;
using veltrana::test::Example;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kExamples = {"Ex-Yzero.01", "Ex-Yzero.02", "Ex-CNTL.1",
                                            "Ex-Delay.01", "Ex-Delay.11", "Ex-Delay.12",
                                            "Ex-Zpair.1"};

class OptimiserRun : public test::FamilyRunTest {
protected:
    struct Outcome {
        int status = -1;
        std::string lastLine;
        bool resultWritten = false;
        double seconds = 0;
    };

    Outcome Run(const std::string& name, const std::atomic<bool>* cancel = nullptr) {
        RunOptions options;
        options.cancel = cancel;
        options.timeLimitSeconds = 10;
        const auto began = std::chrono::steady_clock::now();
        Outcome o;
        o.status = RunOptimiser(handOver(name), options);
        o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        o.lastLine = lastLineOfListing();
        o.resultWritten = fs::exists(ResultFilePath(name, m_user));
        return o;
    }

    /// Writes `d` as the input file `name`, in place of any earlier result, and runs it.
    Outcome RunProblem(const std::string& name, const DesignProblem& d) {
        fs::remove(ResultFilePath(name, m_user));
        Install(name, FormatAnsFile(d, name, std::tm{}));
        return Run(name);
    }

    static void ExpectFailed(const Outcome& o) {
        EXPECT_EQ(o.status, RunFailed);
        EXPECT_TRUE(o.lastLine.starts_with("Run failed: ")) << o.lastLine;
        EXPECT_FALSE(o.resultWritten);
    }

    std::string Listing() const { return Contents(ListingPath(m_dir.string())); }

    /// Reads the result file as `plots` does, every section it carries included; returns the
    /// header and model data and the sidelobe section's rows, if any.
    std::pair<ResultData, std::vector<std::pair<double, double>>>
    ExpectReadable(const std::string& name) {
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        EXPECT_EQ(file.ReadResultFile(ResultFilePath(name, m_user)), ReadStatus::Ok);
        const ResultData data = file.data();
        EXPECT_EQ(data.modelX, -2);
        std::vector<ResultSection> sections{
            data.delayMatched == 1 ? ResultSection::Ripple : ResultSection::ImpulseResponse};
        if (data.nOmegaZeros >= 2) {
            sections.insert(sections.begin(), ResultSection::Sidelobe); // it comes first
        }
        std::vector<std::pair<double, double>> sidelobe;
        for (ResultSection s : sections) {
            EXPECT_EQ(file.ReadSection(s), ReadStatus::Ok) << static_cast<int>(s);
            EXPECT_GT(file.data().nPoints, 0);
            for (int i = 0; s == ResultSection::Sidelobe && i < file.data().nPoints; ++i)
                sidelobe.emplace_back(file.data().pointX[i], file.data().pointY2[i]);
        }
        EXPECT_TRUE(prompter.prompts.empty());
        return {data, sidelobe};
    }

    void Install(const std::string& name, const std::string& bytes) {
        std::ofstream(fs::path(m_user) / name, std::ios::binary) << bytes;
    }
};

TEST_F(OptimiserRun, EveryExampleWritesAResultThatPlotsReads) {
    // Each example is exactly what the input-file writer makes of it (made at noon on
    // 6 December 2026), so veltra reads and writes it unchanged.
    std::tm made{};
    ::strptime("2026-12-06 12:00", "%Y-%m-%d %H:%M", &made);
    for (const std::string& name : kExamples) {
        SCOPED_TRACE(name);
        const DesignProblem d = Example(name);
        EXPECT_EQ(FormatAnsFile(d, name, made), Contents(fs::path(OPTIMISER_EXAMPLES) / name));
        installExample(name, name);
        const Outcome o = Run(name);
        EXPECT_EQ(o.status, RunOk) << o.lastLine;
        const auto [data, sidelobe] = ExpectReadable(name);
        // The error sums add up to the total of line 2; the frequency norm follows them.
        ASSERT_EQ(data.fitRecord.size(), 4u);
        EXPECT_NEAR(data.fitRecord[0] + data.fitRecord[1] + data.fitRecord[2],
                    std::stod(data.secondLine), 1e-12 + 1e-9 * std::stod(data.secondLine));
        EXPECT_EQ(data.fitRecord[3], std::stod(d.Answers[6]));
        // plots draws column 2 as the model and columns 2 + 3 as the data (Yout).
        for (size_t i = 0; i < data.pointX.size(); ++i) {
            const double yout = std::stod(d.Yout[i + 1]);
            EXPECT_NEAR(data.pointY1[i] + data.pointY2[i], yout, 1e-5 * std::max(1.0, yout));
        }
        // Poles are written at their places in the left half plane.
        EXPECT_THAT(data.pairReal, testing::Each(testing::Lt(0)));
        EXPECT_TRUE(data.nSigmaPoles == 0 || data.sigmaPole < 0);
        // The error sum of line 2 is never above the start's, which the listing gives.
        const std::string listing = Listing();
        const size_t start = listing.find(" (start ");
        ASSERT_NE(start, std::string::npos);
        EXPECT_LE(std::stod(data.secondLine), std::stod(listing.substr(start + 8)));
        // The sidelobe peaks between the omega zeros (and after the last) are equalised.
        if (!sidelobe.empty()) {
            std::vector<double> edges = data.omegaZeros;
            std::sort(edges.begin(), edges.end());
            edges.push_back(1.5 * edges.back());
            std::vector<double> peaks(edges.size() - 1, -1000);
            for (const auto& [mhz, level] : sidelobe) {
                for (size_t m = 0; m + 1 < edges.size(); ++m) {
                    if (mhz >= 10 * edges[m] && mhz <= 10 * edges[m + 1])
                        peaks[m] = std::max(peaks[m], level);
                }
            }
            const auto [low, high] = std::minmax_element(peaks.begin(), peaks.end());
            EXPECT_LT(*high - *low, 0.5) << "peaks from " << *low << " to " << *high << " dB";
        }
    }
}

TEST_F(OptimiserRun, BadProblemsEndWithAReasonAndNoResult) {
    struct Case {
        const char* name;
        std::function<void(DesignProblem&)> edit;
        const char* reason; // part of the listing's last line
    };
    using D = DesignProblem;
    // The settings are written only with one of the first three lines given.
    const auto setting = [](size_t line, const char* text) {
        return [=](D& d) {
            d.SolverAnswers[1] = "0 0 0", d.SolverAnswers[line] = text, d.nSolverLines = 9;
        };
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"no pass-band points", [](D& d) { d.nFreqPoints = 0; }, "no pass-band points"},
        {"count disagrees with list", [](D& d) { d.Answers[16] = "1.1 1.5"; }, "count says 3"},
        {"Yout 0 with positive Ipower", [](D& d) { d.Answers[3] = "2"; d.Yout[3] = "0"; }, "Yout is 0"},
        {"NaN value", [](D& d) { d.Yin[2] = "nan"; }, "not a number"},
        {"Yin 0 at one point", [](D& d) { d.Yin[2] = "0"; }, "Yin is 0"},
        {"huge frequency", [](D& d) { d.Freq[1] = "1e300"; }, "cannot be evaluated"},
        {"huge gain", [](D& d) { d.Answers[19] = "1e308"; }, "cannot be evaluated"},
        {"zero frequency", [](D& d) { d.Freq[1] = "0"; }, "above 0 MHz"},
        {"duplicate frequency", [](D& d) { d.Freq[2] = d.Freq[1]; }, "repeats the frequency"},
        {"limits reversed", [](D& d) { d.Answers[20] = "22"; d.Answers[21] = ".005"; }, "LowestX_Y < maxX_Y"},
        {"delay without points", [](D& d) { d.Answers[0] = "Y"; d.nDelayPoints = 0; }, "no delay points"},
        {"no poles", [](D& d) { d.Answers[7] = "0 0"; }, "at least one pole"},
        // Empty settings lines before it keep their defaults.
        {"SETRHO of 3", setting(6, "3"), "Setting SETRHO: '3' must be 1 or 2."},
        {"REMAX of two values", setting(0, "5 10"), "REMAX: '5 10' is not three numbers."},
        {"RATIO not above 2", setting(7, "2"), "RATIO: '2' must be above 2."},
        {"fractional EVALMAX", setting(5, "20.5"), "EVALMAX: '20.5' needs a whole number"},
        {"a word", setting(8, "fine"), "ACCURACY: 'fine' is not one number."},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignProblem d = Example("Ex-Yzero.01");
        c.edit(d);
        const Outcome o = RunProblem("Bad.1", d);
        ExpectFailed(o);
        EXPECT_NE(o.lastLine.find(c.reason), std::string::npos) << o.lastLine;
    }
    // Not input files at all: missing, a directory, cut short.
    fs::create_directory(fs::path(m_user) / "Dir.1");
    std::string bytes = Contents(fs::path(OPTIMISER_EXAMPLES) / "Ex-Yzero.01");
    Install("Short.1", bytes.substr(0, bytes.size() / 3));
    for (const char* name : {"Missing.1", "Dir.1", "Short.1"}) {
        SCOPED_TRACE(name);
        ExpectFailed(Run(name));
    }
}

// Damaged and extreme values anywhere in a problem: a run either fits and writes a result
// that reads back, or fails with a reason and writes none; it never crashes or hangs.
TEST_F(OptimiserRun, DamagedProblemsNeverCrashHangOrLeaveAResultThatLooksGood) {
    const std::vector<std::string> values = {"0", "-1",     "1e300", "-1e-300", "nan", "",
                                             "x", "1e-320", "22",    "1",       "3 3"};
    const std::string original = Contents(fs::path(OPTIMISER_EXAMPLES) / "Ex-Delay.01");
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        std::string bytes = original;
        for (int edit = 0; edit < 2; ++edit) {
            // Replace the value of a random line (the text before its first TAB).
            size_t start = 0;
            for (int line = static_cast<int>(rng() % 60); line > 0 && start != std::string::npos;
                 --line) {
                start = bytes.find("\r\n", start);
                start = start == std::string::npos ? start : start + 2;
            }
            if (start != std::string::npos) {
                const size_t end = bytes.find_first_of("\t\r", start);
                bytes.replace(start, end - start, values[rng() % values.size()] + "  ");
            }
        }
        SCOPED_TRACE(bytes);
        fs::remove(ResultFilePath("Fuzz.1", m_user));
        Install("Fuzz.1", bytes);
        const Outcome o = Run("Fuzz.1");
        EXPECT_LT(o.seconds, 30);
        if (o.status == RunOk) {
            ExpectReadable("Fuzz.1");
        } else {
            ExpectFailed(o);
        }
    }
}

TEST_F(OptimiserRun, ACancelledRunWritesNoResultAndLeavesAnOldOneAlone) {
    installExample("Ex-Yzero.01", "Ex-Yzero.01");
    std::ofstream(ResultFilePath("Ex-Yzero.01", m_user)) << "old";
    std::atomic<bool> cancel{true};
    const Outcome o = Run("Ex-Yzero.01", &cancel);
    EXPECT_EQ(o.status, RunCancelled) << o.lastLine;
    EXPECT_EQ(Contents(ResultFilePath("Ex-Yzero.01", m_user)), "old");
    for (const auto& entry : fs::directory_iterator(m_user))
        EXPECT_FALSE(IsSaveTempName(entry.path().filename().string())) << "left behind";
}

TEST_F(OptimiserRun, ADelayOnlyFitKeepsTheStartGain) {
    DesignProblem d = Example("Ex-Delay.01");
    d.Answers[5] = "0"; // magnVSripple: the magnitude does not count
    const Outcome o = RunProblem("Delay.1", d);
    ASSERT_EQ(o.status, RunOk) << o.lastLine;
    EXPECT_DOUBLE_EQ(std::stod(ExpectReadable("Delay.1").first.gainText), std::stod(d.Answers[19]));
}

// Close omega zeros leave narrow lobes between them: each is drawn, not stepped over. The
// first and the last start outside their limits and move to the nearest.
TEST_F(OptimiserRun, EveryLobeBetweenOmegaZerosHasRowsOfItsOwn) {
    DesignProblem d = Example("Ex-Yzero.01");
    d.Answers[15] = "5 0 0";
    d.Answers[16] = "0.5 1.1 1.2 1.5 30"; // they start at 1 at least and at most maxX_Y (22)
    ASSERT_EQ(RunProblem("Lobes.1", d).status, RunOk);
    const std::string listing = Listing();
    for (const char* note :
         {"The start omega zero 1 = .5 lies outside its limits 1 to 22; it starts at 1.",
          "The start omega zero 5 = 30 lies outside its limits 1 to 22; it starts at 22."}) {
        EXPECT_NE(listing.find(note), std::string::npos) << note;
    }
    const auto [data, sidelobe] = ExpectReadable("Lobes.1");
    std::vector<double> zeros = data.omegaZeros;
    std::sort(zeros.begin(), zeros.end());
    for (size_t m = 0; m + 1 < zeros.size(); ++m) {
        const auto inside = std::count_if(sidelobe.begin(), sidelobe.end(), [&](const auto& row) {
            return row.first > 10 * zeros[m] && row.first < 10 * zeros[m + 1];
        });
        EXPECT_GE(inside, 10) << zeros[m] << " to " << zeros[m + 1];
    }
}

// The middle REMAX counts steps the trust region rejected, not only those it could not
// evaluate: with 1, each rejected step (listed with DETAIL inner 1) ends its descent.
TEST_F(OptimiserRun, EachRejectedStepEndsItsDescentUnderRemaxOne) {
    DesignProblem d = Example("Ex-Zpair.1");
    d.SolverAnswers = {"5 1 7", "0 0 1", "1e-5 1e-5 1e-5", "100", "10", "2000", "1", "16", ".0001"};
    d.nSolverLines = 9;
    ASSERT_EQ(RunProblem("Remax.1", d).status, RunOk);
    const std::string listing = Listing();
    const auto count = [&](const char* text) {
        const std::regex pattern(text);
        return std::distance(std::sregex_iterator(listing.begin(), listing.end(), pattern), {});
    };
    EXPECT_GT(count("step rejected at"), 0) << listing;
    EXPECT_EQ(count("step rejected at"), count("REMAX: 1 rejected steps in a row")) << listing;
}

} // namespace
