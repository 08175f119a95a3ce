#include "GroupDelay.h"
#include "ImportDataCommand.h"
#include "ImportedTables.h"
#include "MeasuredResponse.h"
#include "PointSelection.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <sstream>
#include <sys/stat.h>

using namespace veltrana;
using testing::DoubleNear;
using testing::Pointwise;

namespace {

constexpr double kPi = std::numbers::pi;

// --- delay from phase -------------------------------------------------------------------------

// A second-order section w0^2 / (s^2 + (w0/Q) s + w0^2) and its group delay, worked out from
// phi = -atan2((w0/Q) w, w0^2 - w^2): tau = (w0/Q)(w0^2 + w^2) / ((w0^2 - w^2)^2 + (w0 w/Q)^2).
struct Section {
    double w0, q;
    std::complex<double> at(double w) const {
        const std::complex<double> s(0, w);
        return w0 * w0 / (s * s + (w0 / q) * s + w0 * w0);
    }
    double delay(double w) const {
        const double d = w0 * w0 - w * w;
        return (w0 / q) * (w0 * w0 + w * w) / (d * d + (w0 * w / q) * (w0 * w / q));
    }
};

class DelayFromPhase : public test::TempDirTest {};

TEST_F(DelayFromPhase, MatchesTheAnalyticDelayOfTwoSectionsToATenthOfAPercent) {
    // Two sections take the phase past -180 degrees, where the file's angles wrap round.
    const Section a{2 * kPi * 100e6, 2.0}, b{2 * kPi * 150e6, 1.0};
    std::string text = "! H(s) of two second-order sections, 0 to 400 MHz\n# MHz S MA R 50\n";
    for (int mhz = 0; mhz <= 400; ++mhz) {
        const double w = 2 * kPi * mhz * 1e6;
        const std::complex<double> h = a.at(w) * b.at(w);
        char line[160];
        std::snprintf(line, sizeof line, "%d 0 0 %.12e %.12e 0 0 0 0\n", mhz, std::abs(h),
                      std::arg(h) * 180 / kPi);
        text += line;
    }
    const std::string path = in("sections.s2p");
    ASSERT_EQ(ReplaceFileBytes(path, text, 0644), 0);

    MeasuredFile file;
    ImportError error;
    ASSERT_TRUE(LoadMeasuredFile(path, file, error)) << error.text();
    ImportChoices choices;
    choices.delay = true;
    MeasuredResponse response;
    ASSERT_TRUE(MeasuredResponseOf(file, choices, response, error)) << error.text();
    ASSERT_EQ(response.delayNs.size(), 401u);
    for (std::size_t k = 0; k < response.delayNs.size(); ++k) {
        const double w = 2 * kPi * response.freqMHz[k] * 1e6;
        const double expected = (a.delay(w) + b.delay(w)) * 1e9;
        EXPECT_NEAR(response.delayNs[k], expected, 1e-3 * expected)
            << response.freqMHz[k] << " MHz";
    }
}

TEST(UnwrapPhase, TakesOutTheJumpsOfTwoPi) {
    const std::pair<std::vector<double>, std::vector<double>> cases[] = {
        {{0, 3, -3}, {0, 3, 2 * kPi - 3}},
        {{3, -3, 3}, {3, 2 * kPi - 3, 3}},
        {{-3, 3}, {-3, -2 * kPi + 3}},
        {{0.5, 1, 1.5}, {0.5, 1, 1.5}},
        {{}, {}},
    };
    for (const auto& [wrapped, unwrapped] : cases)
        EXPECT_THAT(UnwrapPhase(wrapped), Pointwise(DoubleNear(1e-12), unwrapped));
}

TEST(GroupDelayEnds, TwoPointsShareOneDifferenceAndOnePointHasNone) {
    // A phase falling by 2 pi * 1e-9 rad per Hz is a delay of 1 ns.
    const std::vector<double> f = {1e6, 2e6}, phase = {-2 * kPi * 1e-3, -2 * kPi * 2e-3};
    EXPECT_THAT(GroupDelayNs(f, phase), Pointwise(DoubleNear(1e-12), {1.0, 1.0}));
    EXPECT_TRUE(GroupDelayNs({1e6}, {0}).empty());
}

// --- range and thinning -----------------------------------------------------------------------

TEST(SelectPoints, TakesTheRangeAboveZeroAndThinsKeepingBothEnds) {
    const std::vector<double> f = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const std::tuple<std::optional<double>, std::optional<double>, int, std::vector<std::size_t>>
        cases[] = {
            {{}, {}, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, // 0 Hz left out
            {2, 6, 0, {2, 3, 4, 5, 6}},               // both bounds included
            {{}, {}, 3, {1, 5, 9}},                   // 9 points to 3: every fourth
            {{}, {}, 4, {1, 4, 6, 9}},                // steps of 8/3 rounded
            {{}, {}, 1, {1, 9}},                      // the ends stay
            {2, 6, 9, {2, 3, 4, 5, 6}},               // no thinning needed
            {10, {}, 0, {}},
            {2.5, 2.7, 0, {}},
        };
    for (const auto& [from, to, maxPoints, kept] : cases)
        EXPECT_EQ(SelectPoints(f, {from, to, maxPoints}), kept)
            << from.value_or(-1) << " " << to.value_or(-1) << " " << maxPoints;
}

// --- tables of the problem ---------------------------------------------------------------------

TEST(ImportedTables, ReplaceBothTablesAndSwitchOnWhatTheyNeed) {
    MeasuredResponse r;
    r.freqMHz = {0, 100, 1234.56789012};
    r.yout = {1, 0.5, 1.0 / 3};
    r.weight = {9, 2, 1};
    r.delayNs = {0, 12.25, 2.0 / 3};
    const ImportedTables tables = BuildTables(r, {1, 2});
    // Frequencies exact, measured values to nine digits.
    EXPECT_EQ(tables.pass,
              (std::vector<std::array<std::string, 4>>{{"100", "1", ".5", "2"},
                                                       {"1234.56789012", "1", ".333333333", "1"}}));
    EXPECT_EQ(tables.delay, (std::vector<std::array<std::string, 2>>{
                                {"100", "12.25"}, {"1234.56789012", ".666666667"}}));

    DesignProblem p;
    p.Answers[SlotUseWeights] = p.Answers[SlotEqualDelay] = "N";
    ApplyImport(p, tables);
    // The rows as written to a file are checked with the program below.
    EXPECT_EQ(p.TX, (std::vector<std::string>{"", "12.25", ".666666667"}));
    EXPECT_EQ(p.Answers[SlotUseWeights] + p.Answers[SlotEqualDelay], "YY");
}

// --- the program --------------------------------------------------------------------------------

struct CliCase {
    const char* name;
    const char* args; // split at blanks; "@x" is test data file x, "%x" file x of the test's own
                      // directory, where the template T waits and the output O goes
    int status;
    const char* says; // on stdout for status 0, else on stderr
    const char* rows; // OUT's pass-band rows "Freq Yin Yout Weight", "|" between rows
    int delayPoints;  // of OUT
};

const CliCase kCli[] = {
    // |S21| from the RI rows: 1, .5, .13; the 0 Hz row stays out. The template's delay
    // table (one point) stays.
    {"defaults", "@filter_ri.s2p %T %O", 0, "3 pass-band points (|S21|)",
     "100 1 1 1.00|200 1 .5 1.00|300 1 .13 1.00", 1},
    // MA in GHz, the extension in upper case: the magnitudes .5 and .25 as written.
    {"MA in GHz", "@filter_ma.S2P %T %O", 0, "2 pass-band points (|S21|)",
     "100 1 .5 1.00|200 1 .25 1.00", 1},
    {"parameter and range", "--param S12 --from=150 @filter_ri.s2p %T %O", 0, "",
     "200 1 .13 1.00|300 1 1 1.00", 1},
    // 10^(0/20) = 1 and 10^(-40/20) = .01 at the two ends.
    {"thinned", "--max-points 2 @filter_db.s2p %T %O", 0, "thinned evenly from 3",
     "100 1 1 1.00|300 1 .01 1.00", 1},
    {"version 2 with delay", "--delay @filter_v2.s2p %T %O", 0, "and 2 delay points",
     "100 1 1 1.00|200 1 .5 1.00", 2},
    {"table with weights", "--columns freq,yout,yin,weight @table_semicolon.csv %T %O", 0, "",
     "1.5 1 .9 2|2.5 .95 .8 1", 1},
    {"table in Hz and dB", "--unit hz --db @table_header.csv %T %O", 0, "",
     "1 1 1 1.00|2 1 .1 1.00|3 1 .01 1.00", 1},
    {"skipped column", "--columns freq,-,yout --unit kHz @table_blank.txt %T %O", 0, "",
     ".01 1 .5 1.00|.02 1 .25 1.00", 1},
    {"help", "--help", 0, "usage: import-data", "", 0},
    {"parameter beyond the ports", "@three_port.s3p %T %O --param S44", 1,
     "no parameter 'S44': it describes 3 ports (S11 to S33)", "", 0},
    {"table options on Touchstone", "--columns freq,yout @filter_ri.s2p %T %O", 1,
     "are for text tables", "", 0},
    {"delay on a table", "--delay @table_header.csv %T %O", 1, "are for Touchstone files", "", 0},
    {"too many points", "--max-points 5001 @filter_db.s2p %T %O", 1, "from 2 to 5000", "", 0},
    {"range upside down", "--from 300 --to 100 @filter_db.s2p %T %O", 1, "--from is above --to", "",
     0},
    {"bad bound", "--to 1GHz @filter_db.s2p %T %O", 1, "'1GHz' is not a number", "", 0},
    {"nothing in range", "--from 400 @filter_db.s2p %T %O", 1,
     "No point above 0 MHz lies in the range", "", 0},
    {"bad columns", "--columns freq,y @table_blank.txt %T %O", 1,
     "'y' is not freq, yout, yin, weight or -", "", 0},
    {"bad unit", "--unit THz @table_blank.txt %T %O", 1, "'THz' is not Hz", "", 0},
    {"unknown option", "--colour red @filter_db.s2p %T %O", 1, "unknown option '--colour'", "", 0},
    {"value missing", "@filter_db.s2p %T %O --param", 1, "--param needs a value", "", 0},
    {"two files", "@filter_db.s2p %T", 1, "DATA, TEMPLATE and OUT are needed", "", 0},
    {"missing data", "%none.s2p %T %O", 1, "cannot be read", "", 0},
    {"missing template", "@filter_db.s2p %missing.1 %O", 1, "Missing 'missing.1' file?", "", 0},
};

class ImportDataTest : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        DesignProblem p;
        for (int slot = 0; slot < 22; ++slot)
            p.Answers[static_cast<std::size_t>(slot)] = "1";
        p.Answers[SlotEqualDelay] = p.Answers[SlotUseWeights] = "N";
        p.Freq = {"", "5"};
        p.Yin = p.Yout = p.Weight = {"", "1"};
        p.nFreqPoints = 1;
        p.DelFreq = {"", "5"};
        p.TX = {"", "7"};
        p.nDelayPoints = 1;
        ASSERT_EQ(ReplaceFileBytes(in("T"), FormatAnsFile(p, "T", {}), 0644), 0);
    }
    int run(const char* line) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string a; words >> a;)
            args.push_back(a[0] == '@'   ? std::string(VELTRANA_TEST_DATA) + "/" + a.substr(1)
                           : a[0] == '%' ? in(a.substr(1))
                                         : a);
        std::ostringstream out, err;
        const int status = RunImportData(args, out, err);
        said = out.str();
        errors = err.str();
        return status;
    }
    std::string said, errors;
};

class ImportDataProgram : public ImportDataTest, public ::testing::WithParamInterface<CliCase> {};

TEST_P(ImportDataProgram, WritesTheImportedTablesOrNothing) {
    const CliCase& c = GetParam();
    EXPECT_EQ(run(c.args), c.status) << errors;
    EXPECT_NE((c.status == 0 ? said : errors).find(c.says), std::string::npos) << said << errors;
    if (c.status != 0 || *c.rows == 0) {
        EXPECT_FALSE(std::filesystem::exists(in("O")));
        return;
    }
    EXPECT_EQ(errors, "");
    ScriptedPrompter prompter;
    DesignProblem read;
    ASSERT_EQ(FileReadMe("O", in(""), read, prompter), ReadOutcome::Read);
    std::string rows;
    for (int i = 1; i <= read.nFreqPoints; ++i)
        rows += (i > 1 ? "|" : "") + read.Freq[i] + " " + read.Yin[i] + " " + read.Yout[i] + " " +
                read.Weight[i];
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(read.nDelayPoints, c.delayPoints);
    EXPECT_EQ(read.Answers[SlotEqualDelay], c.delayPoints > 1 ? "Y" : "N");
    EXPECT_EQ(read.Note1, "Keep notes for future runs"); // the rest of the template stays
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportDataProgram, ::testing::ValuesIn(kCli), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST_F(ImportDataTest, AFailedSaveKeepsTheOldOutOrLeavesNone) {
    ASSERT_EQ(ReplaceFileBytes(in("O"), "old", 0444), 0);
    EXPECT_EQ(run("@filter_db.s2p %T %O"), 1);
    EXPECT_NE(errors.find("File not saved"), std::string::npos) << errors;
    EXPECT_EQ(Contents(in("O")), "old");

    std::filesystem::remove(in("O"));
    const SaveFaultHook previous =
        SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write ? ENOSPC : 0; });
    const int status = run("@filter_db.s2p %T %O");
    SetSaveFaultHook(previous);
    EXPECT_EQ(status, 1);
    EXPECT_NE(errors.find(std::strerror(ENOSPC)), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(in("O")));
}

} // namespace
