#include "RunSummary.h"

#include "NumberText.h"
#include "Text.h"

#include <algorithm>
#include <vector>

namespace veltrana {

namespace {

constexpr int kSummaryWidth = 54;

std::string ProductTitle(int model) {
    // The filter products' lines have no TAB after the title.
    const bool filter = model == -2 || model == -1;
    return ProductName(model) + (filter ? " Results" : " Results\t");
}

// The offset is shown formatted when it is a number, and as written when it is not.
std::string Y0Form(const std::string& y0Text) {
    std::optional<double> value = ParseNumber(TrimBlanks(y0Text));
    return value ? FormatScientific(*value, 5) : y0Text;
}

std::string JoinGeneral(const std::vector<double>& values, int count, std::string_view prefix,
                        std::string_view separator) {
    std::string out;
    const size_t n = std::min(values.size(), static_cast<size_t>(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i) {
        if (i > 0)
            out.append(separator);
        out.append(prefix).append(GeneralNumber(values[i]));
    }
    return out;
}

void PoleZeroBlock(const ResultData& d, std::vector<std::string>& lines) {
    lines.emplace_back("Poles used were ...");
    if (d.nSigmaPoles > 0)
        lines.push_back("   Poles on Sigma-axis: " + GeneralNumber(d.sigmaPole));
    lines.emplace_back(" Pole-Pairs:");
    lines.push_back(FormatEList(d.pairReal, d.nPolePairs));
    lines.push_back(FormatEList(d.pairImag, d.nPolePairs));
    lines.emplace_back("Zeroes used were ...");
    if (d.nSigmaZeros > 0) {
        std::string kind, sign;
        if (d.zeroPaired == 1) {
            sign = "+ -";
            kind = d.zeroDoublet == 0 ? "(Single-pair)" : "(Doublet-pair)";
        } else {
            sign = "-";
            kind = d.zeroDoublet == 0 ? "(single)" : "(2nd order)";
        }
        lines.push_back("Sigma-axis Zero " + kind + " value..." + sign + "\t" +
                        GeneralNumber(-d.sigmaZeroLoc));
    }
    if (d.nOmegaZeros > 0)
        lines.push_back(std::to_string(d.nOmegaZeros) + " Zeros on Omega-axis: " +
                        JoinGeneral(d.omegaZeros, d.nOmegaZeros, " 0 +- J ", ";"));
    const int complexZeros = d.nZeroPairs + d.nZeroQuads;
    if (complexZeros >= 1) {
        lines.push_back(std::to_string(complexZeros) + " Pairs && Quads ...REAL parts: " +
                        JoinGeneral(d.zeroReal, complexZeros, "", ";"));
        lines.push_back("           ...IMAGINARY parts: " +
                        JoinGeneral(d.zeroImag, complexZeros, "", ";"));
    }
    lines.push_back("   Gain: " + d.gainText);
}

void SineLines(const ResultData& d, std::vector<std::string>& lines) {
    lines.push_back(" a = Sine Amplitude(s):" + FormatEList(d.coefA, d.nTerms));
    lines.push_back(" b=       Frequency(s):" + FormatEList(d.coefB, d.nTerms));
    lines.push_back(" c=           Phase(s):" + FormatEList(d.coefC, d.nTerms));
}

void ModelBlock(const ResultData& d, std::vector<std::string>& lines) {
    auto add = [&lines](std::initializer_list<const char*> fixed) {
        lines.insert(lines.end(), fixed.begin(), fixed.end());
    };
    const int n = d.nTerms;
    // Lorentzian lines shared by models 1 and 2, split where model 2 adds its b line.
    auto lorentzianUpToA = [&] {
        add({" ", "   and x = 2 (t - t0 ) / pw50", "        i           i        i", " "});
        lines.push_back("\t   Y-Axis offset (y0): " + Y0Form(d.y0Text));
        lines.push_back("\t     a = Amplitude(s): " + FormatEList(d.coefA, n));
    };
    auto lorentzianWidths = [&] {
        lines.push_back("Pulse Width @50% Peak(s): " + FormatEList(d.pw50, n));
        lines.push_back("\tt0 = X-Axis offset(s): " + FormatEList(d.t0, n));
    };

    switch (d.modelX) {
    case -2:
    case -1:
        PoleZeroBlock(d, lines);
        break;
    case 0:
        lines.push_back(" ODE is ... " + d.equationText);
        break;
    case 1:
        add({" Lorentzian Series whose terms consisted of y",
             "                                             i",
             " Total = y0 + Sum of y   where y = a / (1 + x ^2)",
             "                      i         i   i        i"});
        lorentzianUpToA();
        lorentzianWidths();
        break;
    case 2:
        add({" Modified Lorentzian Series whose terms consisted of y",
             "                                                      i",
             " Total = y0 + Sum of y   where y = (a+b x) / (1 + x ^2)",
             "                      i         i   i  i i         i"});
        lorentzianUpToA();
        lines.push_back("\t     b = Amplitude(s): " + FormatEList(d.coefB, n));
        lorentzianWidths();
        break;
    case 3:
        add({" Exponential Series whose terms consisted of y",
             "                                                    i",
             " Total = y0 + Sum of y    where  y = a ( exp( b  (t-t0))",
             "                      i           i   i        i", " "});
        lines.push_back(" y0 = Y-Axis offset (y0): " + Y0Form(d.y0Text));
        lines.push_back("Exponential Amplitude(s): " + FormatEList(d.coefA, n));
        lines.push_back(" b= Exponential Power(s): " + FormatEList(d.coefB, n));
        break;
    case 4:
        add({" Power Series whose terms consisted of y",
             "                                        i",
             "                                             i",
             " Total = y0 + Sum of y   where y = a (t - t0).",
             "                      i         i   i", " "});
        lines.push_back("Y-Axis offset (y0): " + Y0Form(d.y0Text));
        lines.push_back("\tAmplitude(s): " + FormatEList(d.coefA, n));
        break;
    case 5:
        add({" Sine Series whose terms consisted of y", "                                       i",
             " Total = y0 + Sum of y    where  y = a ( sin( b t + c))",
             "                      i           i   i        i     i"});
        SineLines(d, lines);
        break;
    case 6:
        add({" Exponential * Sine Series whose terms consist of y'",
             "                                                   i'",
             " Total = y0 + Sum of y    where  y = a ( sin( b t + c)) * d",
             "                      i           i   i        i     i     i"});
        SineLines(d, lines);
        lines.push_back(" d =    Exponential(s):" + FormatEList(d.coefD, n));
        break;
    case 110:
        add({" Tovinka (tm) equations are:", " ", " dA1dt = A1k_Sum * A1 + A2k_Sum * A2; and,",
             " dA2dt = A3k_Sum * A1 + A4k_Sum * A2.", " "});
        lines.push_back(" where A1 & A2 equaled: " + GeneralNumber(d.doseA1) + "\t" +
                        GeneralNumber(d.doseA2));
        lines.push_back("    A1k_Sum & A2k_Sum =" + d.kSums[0] + "\t" + d.kSums[1]);
        lines.push_back("    A3k_Sum & A4k_Sum =" + d.kSums[2] + "\t" + d.kSums[3]);
        lines.push_back("   and resulting DT50 =" + GeneralNumber(d.dt50));
        break;
    default:
        break;
    }
}

} // namespace

std::string ProductName(int model) {
    switch (model) {
    case -2:
        return "Veltrana (tm)";
    case -1:
        return "Brennic (tm)";
    case 0:
        return "Ismeral (tm)";
    case 110:
        return "Tovinka (tm)";
    default:
        return "Sarlow (tm)";
    }
}

std::string PadText(std::string_view text, int width) {
    std::string out = TrimBlanks(text);
    // Count characters, not bytes: a title may hold accented letters.
    const auto length = static_cast<long long>(std::count_if(out.begin(), out.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
    if (length < width - 1)
        out.append(static_cast<size_t>(width - 1 - length), ' ');
    return out;
}

std::string WriteRunSummary(const ResultData& data, const LocalDateTime& now) {
    const int m = data.modelX;
    std::vector<std::string> lines;
    lines.push_back(
        "        ----" +
        PadText(m > 0 ? "SavedAs File: " + data.titleLine : data.titleLine, kSummaryWidth));
    lines.push_back(ProductTitle(m) + "\t     " + now.DateText() + " " + now.TimeText());
    lines.emplace_back("      --------\t\t==========================");
    lines.push_back("        ----" +
                    (m > 0 ? PadText("Data File: " + data.dataFileName, kSummaryWidth) : ""));
    lines.emplace_back(" ");
    ModelBlock(data, lines);
    lines.emplace_back(" ");
    lines.emplace_back(" ================ Summary of Run =================");
    lines.emplace_back(" =================================================");

    std::string out;
    for (const std::string& line : lines)
        out.append(out.empty() ? "\t" : "\r\n\t").append(line);
    return out;
}

std::string WriteRunSummary(const ResultData& data) {
    return WriteRunSummary(data, LocalDateTime::Now());
}

} // namespace veltrana
