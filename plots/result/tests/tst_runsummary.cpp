#include "ResultTestSupport.h"
#include "RunSummary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const LocalDateTime kNow{2024, 3, 7, 14, 5, 9};

std::string Blanks(size_t n) {
    return std::string(n, ' ');
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out.append(out.empty() ? "\t" : "\r\n\t").append(line);
    return out;
}

std::string SummaryOf(const std::string& file) {
    Reader r;
    EXPECT_EQ(r.read(file), ReadStatus::Ok);
    return WriteRunSummary(r.data(), kNow);
}

std::vector<std::string> LinesOf(const std::string& summary) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (true) {
        size_t end = summary.find("\r\n", pos);
        lines.push_back(summary.substr(pos, end == std::string::npos ? end : end - pos));
        if (end == std::string::npos)
            return lines;
        pos = end + 2;
    }
}

const std::string kRule = "      --------\t\t==========================";
const std::string kFooter1 = " ================ Summary of Run =================";
const std::string kFooter2 = " =================================================";

TEST(RunSummary, FilterModelMinusTwo) {
    EXPECT_EQ(
        SummaryOf("model_m2.dat"),
        Joined({"        ----Matched filter for 5 MHz pulse" + Blanks(23),
                "Veltrana (tm) Results\t     2024-03-07 14:05:09", kRule, "        ----", " ",
                "Poles used were ...", "   Poles on Sigma-axis: -.35",
                " Pole-Pairs:", "\t-2E-1\t-3E-1\t-1E-1\t", "\t0\t1.5\t2.5\t",
                "Zeroes used were ...", "Sigma-axis Zero (single) value...-\t.5",
                "3 Zeros on Omega-axis:  0 +- J 1; 0 +- J 2.5; 0 +- J 4",
                "2 Pairs && Quads ...REAL parts: -.2;-.3", "           ...IMAGINARY parts: .8;1.2",
                "   Gain: 1.2345E+02", " ", kFooter1, kFooter2}));
}

TEST(RunSummary, LorentzianModelOne) {
    EXPECT_EQ(SummaryOf("model1.dat"),
              Joined({"        ----SavedAs File: fit1.sav" + Blanks(31),
                      "Sarlow (tm) Results\t\t     2024-03-07 14:05:09",
                      kRule,
                      "        ----Data File: C:\\DATA\\PULSE.DAT" + Blanks(25),
                      " ",
                      " Lorentzian Series whose terms consisted of y",
                      "                                             i",
                      " Total = y0 + Sum of y   where y = a / (1 + x ^2)",
                      "                      i         i   i        i",
                      " ",
                      "   and x = 2 (t - t0 ) / pw50",
                      "        i           i        i",
                      " ",
                      "\t   Y-Axis offset (y0): 1.25E-2",
                      "\t     a = Amplitude(s): \t1.5\t2.5\t",
                      "Pulse Width @50% Peak(s): \t2E-1\t3E-1\t",
                      "\tt0 = X-Axis offset(s): \t1E+1\t2E+1\t",
                      " ",
                      kFooter1,
                      kFooter2}));
}

TEST(RunSummary, SineModelFive) {
    EXPECT_EQ(
        SummaryOf("model5.dat"),
        Joined({"        ----SavedAs File: fit5.sav" + Blanks(31),
                "Sarlow (tm) Results\t\t     2024-03-07 14:05:09", kRule,
                "        ----Data File: sine.dat" + Blanks(34), " ",
                " Sine Series whose terms consisted of y",
                "                                       i",
                " Total = y0 + Sum of y    where  y = a ( sin( b t + c))",
                "                      i           i   i        i     i",
                " a = Sine Amplitude(s):\t1.5\t2.5E+3\t", " b=       Frequency(s):\t6.28\t1E-5\t",
                " c=           Phase(s):\t0\t-5E-1\t", " ", kFooter1, kFooter2}));
}

struct LineCase {
    const char* file;
    std::vector<std::string> expected; // lines the summary holds, in this order
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.file;
}

class SummaryLines : public testing::TestWithParam<LineCase> {};

TEST_P(SummaryLines, HoldTheModelsLines) {
    const std::vector<std::string> lines = LinesOf(SummaryOf(GetParam().file));
    auto at = lines.begin();
    for (const std::string& expected : GetParam().expected) {
        at = std::find(at, lines.end(), "\t" + expected);
        ASSERT_NE(at, lines.end()) << "missing: " << expected;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Models, SummaryLines,
    testing::Values(
        LineCase{"model_m1.dat",
                 {"Brennic (tm) Results\t     2024-03-07 14:05:09", "\t-2.2\t-3.3\t-1.1\t",
                  "\t0\t1\t3\t", "Sigma-axis Zero (Doublet-pair) value...+ -\t.75",
                  "2 Zeros on Omega-axis:  0 +- J .5; 0 +- J 1.5"}},
        LineCase{
            "model_m1_pair.dat",
            {"Sigma-axis Zero (Single-pair) value...+ -\t.25", "1 Zeros on Omega-axis:  0 +- J 3"}},
        LineCase{"model_m2_doublet.dat",
                 {"Sigma-axis Zero (2nd order) value...-\t1.5",
                  "2 Pairs && Quads ...REAL parts: -.1;-.2"}},
        LineCase{"model0.dat",
                 {"        ----ODE of a decaying source" + Blanks(29),
                  "Ismeral (tm) Results\t\t     2024-03-07 14:05:09",
                  " ODE is ... dy/dt = -k*y + c"}},
        LineCase{"model2.dat",
                 {"\t   Y-Axis offset (y0): -3.5E-2", "\t     a = Amplitude(s): \t1\t2\t",
                  "\t     b = Amplitude(s): \t5E-1\t-5E-1\t",
                  "Pulse Width @50% Peak(s): \t1E-1\t2E-1\t"}},
        LineCase{"model3.dat",
                 {" y0 = Y-Axis offset (y0): 1E+2", "Exponential Amplitude(s): \t1.25E+1\t",
                  " b= Exponential Power(s): \t-1.25E-1\t"}},
        LineCase{"model4.dat", {"Y-Axis offset (y0): 0E+0", "\tAmplitude(s): \t1\t-2\t3\t"}},
        LineCase{"model6.dat",
                 {" Exponential * Sine Series whose terms consist of y'",
                  " a = Sine Amplitude(s):\t2\t", " d =    Exponential(s):\t-7.5E-1\t"}},
        LineCase{"model110.dat",
                 {"Tovinka (tm) Results\t\t     2024-03-07 14:05:09",
                  "        ----Data File: " + Blanks(42), " where A1 & A2 equaled: 100\t0",
                  "    A1k_Sum & A2k_Sum =-.2\t.1", "    A3k_Sum & A4k_Sum =.05\t-.3",
                  "   and resulting DT50 =12.5"}}));

TEST(RunSummary, ModelSixHasNoOffsetLine) {
    const std::string summary = SummaryOf("model6.dat");
    EXPECT_EQ(summary.find("offset"), std::string::npos);
}

TEST(RunSummary, OtherModelsHaveNoModelBlock) {
    const std::vector<std::string> lines = LinesOf(SummaryOf("model7.dat"));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[4], "\t ");
    EXPECT_EQ(lines[5], "\t ");
}

TEST(RunSummary, OffsetThatIsNoNumberIsShownAsWritten) {
    ResultData d;
    d.modelX = 4;
    d.y0Text = "n/a";
    EXPECT_NE(WriteRunSummary(d, kNow).find("\tY-Axis offset (y0): n/a\r\n"), std::string::npos);
}

TEST(RunSummary, PadTextPadsToOneLessThanWidth) {
    struct Case {
        std::string text;
        int width;
        std::string padded;
    } cases[] = {{"abc", 6, "abc  "},
                 {"  abc  ", 6, "abc  "},
                 {"", 3, "  "},
                 {"abcdef", 6, "abcdef"},
                 {std::string(60, 'x'), 54, std::string(60, 'x')},
                 {"\xc3\xa9t\xc3\xa9", 6, "\xc3\xa9t\xc3\xa9  "},
                 {"abc", 0, "abc"}};
    for (const auto& c : cases)
        EXPECT_EQ(PadText(c.text, c.width), c.padded) << c.text << " / " << c.width;
}

} // namespace
