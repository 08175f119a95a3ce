#include "FileBytes.h"
#include "ResultTestSupport.h"
#include "RunSummary.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const LocalDateTime kNow{2024, 3, 7, 14, 5, 9};

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

std::string SummaryOf(const std::string& file) {
    Reader r;
    EXPECT_EQ(r.read(file), ReadStatus::Ok) << file;
    return WriteRunSummary(r.data(), kNow);
}

struct SummaryCase {
    const char* file;
    std::vector<std::string> lines;
};

// The whole text of four kinds of summary, character for character, against the texts kept in
// tests/data/summaries: a pole-zero model, a series with and without its equation block, and a
// model without a block of its own (only the blank lines between head and foot).
TEST(RunSummary, WholeSummaryCharacterForCharacter) {
    for (const char* model : {"model_m2", "model1", "model5", "model7"}) {
        std::string expected;
        ReadFileBytes(DataPath("summaries/") + model + ".txt", expected);
        ASSERT_FALSE(expected.empty()) << model;
        EXPECT_EQ(SummaryOf(std::string(model) + ".dat"), expected) << model;
    }
}

TEST(RunSummary, HoldsEachModelsLinesInOrder) {
    const std::vector<SummaryCase> cases = {
        {"model_m1.dat",
         {"Brennic (tm) Results\t     2024-03-07 14:05:09",
          "Sigma-axis Zero (Doublet-pair) value...+ -\t.75",
          "2 Zeros on Omega-axis:  0 +- J .5; 0 +- J 1.5"}},
        {"model_m1_pair.dat",
         {"Sigma-axis Zero (Single-pair) value...+ -\t.25", "1 Zeros on Omega-axis:  0 +- J 3"}},
        {"model_m2_doublet.dat",
         {"Sigma-axis Zero (2nd order) value...-\t1.5", "2 Pairs && Quads ...REAL parts: -.1;-.2"}},
        {"model0.dat",
         {"        ----ODE of a decaying source" + Blanks(29),
          "Ismeral (tm) Results\t\t     2024-03-07 14:05:09", " ODE is ... dy/dt = -k*y + c"}},
        {"model2.dat",
         {"\t   Y-Axis offset (y0): -3.5E-2", "\t     a = Amplitude(s): \t1\t2\t",
          "\t     b = Amplitude(s): \t5E-1\t-5E-1\t", "Pulse Width @50% Peak(s): \t1E-1\t2E-1\t"}},
        {"model3.dat",
         {" y0 = Y-Axis offset (y0): 1E+2", "Exponential Amplitude(s): \t1.25E+1\t",
          " b= Exponential Power(s): \t-1.25E-1\t"}},
        {"model4.dat", {"Y-Axis offset (y0): 0E+0", "\tAmplitude(s): \t1\t-2\t3\t"}},
        {"model6.dat",
         {" Exponential * Sine Series whose terms consist of y'", " a = Sine Amplitude(s):\t2\t",
          " d =    Exponential(s):\t-7.5E-1\t"}},
        {"model110.dat",
         {"Tovinka (tm) Results\t\t     2024-03-07 14:05:09",
          "        ----Data File: " + Blanks(42), " where A1 & A2 equaled: 100\t0",
          "    A1k_Sum & A2k_Sum =-.2\t.1", "    A3k_Sum & A4k_Sum =.05\t-.3",
          "   and resulting DT50 =12.5"}},
    };
    for (const SummaryCase& c : cases) {
        const std::string summary = "\n" + SummaryOf(c.file) + "\r";
        size_t at = 0;
        for (const std::string& line : c.lines) {
            at = summary.find("\n\t" + line + "\r", at);
            ASSERT_NE(at, std::string::npos) << c.file << " misses: " << line;
        }
    }
    EXPECT_EQ(SummaryOf("model6.dat").find("offset"), std::string::npos);
}

TEST(RunSummary, OffsetThatIsNoNumberIsShownAsWritten) {
    ResultData d;
    d.modelX = 4;
    d.y0Text = "n/a";
    EXPECT_NE(WriteRunSummary(d, kNow).find("\tY-Axis offset (y0): n/a\r\n"), std::string::npos);
}

TEST(RunSummary, PadTextPadsToOneLessThanWidth) {
    const std::string x60(60, 'x'), ete = "\xc3\xa9t\xc3\xa9"; // three characters, five bytes
    const std::tuple<std::string, int, std::string> cases[] = {
        {"abc", 6, "abc  "}, {"  abc  ", 6, "abc  "}, {"", 3, "  "},    {"abcdef", 6, "abcdef"},
        {x60, 54, x60},      {ete, 6, ete + "  "},    {"abc", 0, "abc"}};
    for (const auto& [text, width, padded] : cases)
        EXPECT_EQ(PadText(text, width), padded) << text << " / " << width;
}

} // namespace
