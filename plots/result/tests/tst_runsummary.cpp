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

const std::string kSarlow = "Sarlow (tm) Results\t\t     2024-03-07 14:05:09";
const std::string kRule = "      --------\t\t==========================";
const std::string kFooter = " ================ Summary of Run =================\r\n\t"
                            " =================================================";

TEST(RunSummary, WholeSummaryCharacterForCharacter) {
    const std::vector<SummaryCase> cases = {
        {"model_m2.dat",
         {"        ----Matched filter for 5 MHz pulse" + Blanks(23),
          "Veltrana (tm) Results\t     2024-03-07 14:05:09", kRule, "        ----", " ",
          "Poles used were ...", "   Poles on Sigma-axis: -.35",
          " Pole-Pairs:", "\t-2E-1\t-3E-1\t-1E-1\t", "\t0\t1.5\t2.5\t", "Zeroes used were ...",
          "Sigma-axis Zero (single) value...-\t.5",
          "3 Zeros on Omega-axis:  0 +- J 1; 0 +- J 2.5; 0 +- J 4",
          "2 Pairs && Quads ...REAL parts: -.2;-.3", "           ...IMAGINARY parts: .8;1.2",
          "   Gain: 1.2345E+02", " ", kFooter}},
        {"model1.dat",
         {"        ----SavedAs File: fit1.sav" + Blanks(31), kSarlow, kRule,
          "        ----Data File: C:\\DATA\\PULSE.DAT" + Blanks(25), " ",
          " Lorentzian Series whose terms consisted of y",
          "                                             i",
          " Total = y0 + Sum of y   where y = a / (1 + x ^2)",
          "                      i         i   i        i", " ", "   and x = 2 (t - t0 ) / pw50",
          "        i           i        i", " ", "\t   Y-Axis offset (y0): 1.25E-2",
          "\t     a = Amplitude(s): \t1.5\t2.5\t", "Pulse Width @50% Peak(s): \t2E-1\t3E-1\t",
          "\tt0 = X-Axis offset(s): \t1E+1\t2E+1\t", " ", kFooter}},
        {"model5.dat",
         {"        ----SavedAs File: fit5.sav" + Blanks(31), kSarlow, kRule,
          "        ----Data File: sine.dat" + Blanks(34), " ",
          " Sine Series whose terms consisted of y", "                                       i",
          " Total = y0 + Sum of y    where  y = a ( sin( b t + c))",
          "                      i           i   i        i     i",
          " a = Sine Amplitude(s):\t1.5\t2.5E+3\t", " b=       Frequency(s):\t6.28\t1E-5\t",
          " c=           Phase(s):\t0\t-5E-1\t", " ", kFooter}},
        // Models without a block of their own: only the blank lines between head and foot.
        {"model7.dat",
         {"        ----SavedAs File: curve fit model 7" + Blanks(22), kSarlow, kRule,
          "        ----Data File: " + Blanks(42), " ", " ", kFooter}},
    };
    for (const SummaryCase& c : cases) {
        std::string expected;
        for (const std::string& line : c.lines)
            expected.append(expected.empty() ? "\t" : "\r\n\t").append(line);
        EXPECT_EQ(SummaryOf(c.file), expected) << c.file;
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
