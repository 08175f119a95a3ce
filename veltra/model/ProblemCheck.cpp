#include "ProblemCheck.h"

#include "InputFile.h"
#include "NumberText.h"
#include "Text.h"

#include <cmath>
#include <set>

namespace veltrana {

namespace {

const char* QuestionOf(int slot) {
    static constexpr const char* kLabels[] = {"1. (equalise group delay)",
                                              "1a. (Tmin)",
                                              "1b. (DelRipplePower)",
                                              "2. (Ipower)",
                                              "3. (weights)",
                                              "4. (magnVSripple)",
                                              "5. (freqNorm)",
                                              "6. (nPoles)",
                                              "7. (sigmaPoles)",
                                              "8. (pole pair real parts)",
                                              "9. (pole pair imaginary parts)",
                                              "10. (sigma zero)",
                                              "10a. (sigmaZero)",
                                              "10b. (doublet)",
                                              "10c. (lossless)",
                                              "11. (zero counts)",
                                              "11a (Yzero)",
                                              "11b (Zreal)",
                                              "11c (Zimag)",
                                              "12. (Gain)",
                                              "13. (LowestX_Y)",
                                              "14. (maxX_Y)"};
    return kLabels[slot];
}

bool IsYes(const std::string& text) {
    return text == "Y" || text == "y";
}

class Checker {
public:
    Checker(const DesignProblem& d, CheckedProblem& c, std::string& error)
        : m_d(d), m_c(c), m_error(error) {}

    bool Check();

private:
    bool Fail(std::string text) {
        m_error = std::move(text);
        return false;
    }
    bool Number(int slot, double& value, bool emptyAllowed = false, double emptyValue = 0);
    bool List(int slot, int count, std::vector<double>& values);
    bool Counts(int slot, int pieces, std::vector<int>& counts);
    bool PassBand();
    bool Delay();
    bool Constellation();

    const DesignProblem& m_d;
    CheckedProblem& m_c;
    std::string& m_error;
};

bool Checker::Number(int slot, double& value, bool emptyAllowed, double emptyValue) {
    const std::string text = TrimBlanks(m_d.Answers[static_cast<size_t>(slot)]);
    if (text.empty() && emptyAllowed) {
        value = emptyValue;
        return true;
    }
    if (text.empty()) {
        return Fail(std::string("Question ") + QuestionOf(slot) + " has no value.");
    }
    const auto parsed = ParseNumber(text);
    if (!parsed) {
        return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + text +
                    "' is not a number.");
    }
    value = *parsed;
    return true;
}

bool Checker::List(int slot, int count, std::vector<double>& values) {
    const std::string& text = m_d.Answers[static_cast<size_t>(slot)];
    if (!ParseNumberList(text, values)) {
        return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + TrimBlanks(text) +
                    "' is not a list of numbers.");
    }
    if (static_cast<int>(values.size()) != count) {
        return Fail(std::string("Question ") + QuestionOf(slot) + " holds " +
                    std::to_string(values.size()) + " values but its count says " +
                    std::to_string(count) + ".");
    }
    return true;
}

bool Checker::Counts(int slot, int pieces, std::vector<int>& counts) {
    std::vector<double> values;
    const std::string text = TrimBlanks(m_d.Answers[static_cast<size_t>(slot)]);
    if (!ParseNumberList(text.empty() && slot == SlotZeroCounts ? "0 0 0" : text, values) ||
        static_cast<int>(values.size()) != pieces) {
        return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + text + "' is not " +
                    std::to_string(pieces) + " counts.");
    }
    for (double v : values) {
        if (v != std::floor(v) || v < 0 || v > kMaxLocationCount) {
            return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + text +
                        "' holds a count that is not a whole number from 0 to " +
                        std::to_string(kMaxLocationCount) + ".");
        }
        counts.push_back(static_cast<int>(v));
    }
    return true;
}

bool Checker::PassBand() {
    const int n = m_d.nFreqPoints;
    if (n <= 0) {
        return Fail("There are no pass-band points to fit.");
    }
    if (n > kMaxTablePoints || static_cast<int>(m_d.Freq.size()) <= n ||
        static_cast<int>(m_d.Yin.size()) <= n || static_cast<int>(m_d.Yout.size()) <= n) {
        return Fail("The pass-band table does not hold " + std::to_string(n) + " points (at most " +
                    std::to_string(kMaxTablePoints) + ").");
    }
    std::set<double> seen;
    double kSum = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string where = "Pass-band point " + std::to_string(i);
        const auto f = ParseNumber(m_d.Freq[static_cast<size_t>(i)]);
        const auto yin = ParseNumber(m_d.Yin[static_cast<size_t>(i)]);
        const auto yout = ParseNumber(m_d.Yout[static_cast<size_t>(i)]);
        std::optional<double> weight = 1.0;
        if (m_c.useWeights) {
            weight = static_cast<int>(m_d.Weight.size()) > i
                         ? ParseNumber(m_d.Weight[static_cast<size_t>(i)])
                         : std::optional<double>(1.0);
        }
        if (!f || !yin || !yout || !weight) {
            return Fail(where + " holds a value that is not a number.");
        }
        if (*f <= 0) {
            return Fail(where + ": the frequency must be above 0 MHz.");
        }
        if (!seen.insert(*f).second) {
            return Fail(where + " repeats the frequency " + GeneralNumber(*f) + " MHz.");
        }
        if (*yin < 0 || *yout < 0 || *weight < 0) {
            return Fail(where + ": Yin, Yout and Weight must not be negative.");
        }
        if (*yin == 0) {
            return Fail(where + ": Yin is 0, so H = Yout / Yin is not defined there.");
        }
        if (*yout == 0 && m_c.iPower > 0) {
            return Fail(where + ": Yout is 0 and Ipower is positive, so Error / Yout^Ipower "
                                "cannot be formed.");
        }
        const double k = std::sqrt(m_c.magnVSripple) * *weight / std::pow(*yout, m_c.iPower);
        if (!std::isfinite(k) || !std::isfinite(*f / m_c.freqNorm)) {
            return Fail(where + ": its error factor cannot be evaluated (values too large?).");
        }
        m_c.freqMHz.push_back(*f);
        m_c.yin.push_back(*yin);
        m_c.yout.push_back(*yout);
        m_c.factor.push_back(k);
        kSum += k;
    }
    if (kSum == 0 && !m_c.equaliseDelay) {
        return Fail("Every pass-band error has weight 0 (magnVSripple, weights or Yout): "
                    "there is nothing to fit.");
    }
    return true;
}

bool Checker::Delay() {
    if (!m_c.equaliseDelay) {
        return true;
    }
    if (!Number(1, m_c.tmin, true, 0)) {
        return false;
    }
    double power = 0;
    if (!Number(2, power, true, 0)) {
        return false;
    }
    m_c.delayPower = power == 0 ? 2 : std::abs(power);
    if (m_c.tmin < 0 || m_c.delayPower > 16) {
        return Fail("Questions 1a and 1b: Tmin must not be negative and |DelRipplePower| must "
                    "be at most 16.");
    }
    const int m = m_d.nDelayPoints;
    if (m <= 0) {
        return Fail("Group delay is to be equalised but there are no delay points.");
    }
    if (m > kMaxTablePoints || static_cast<int>(m_d.DelFreq.size()) <= m ||
        static_cast<int>(m_d.TX.size()) <= m) {
        return Fail("The delay table does not hold " + std::to_string(m) + " points.");
    }
    std::set<double> seen;
    for (int j = 1; j <= m; ++j) {
        const std::string where = "Delay point " + std::to_string(j);
        const auto f = ParseNumber(m_d.DelFreq[static_cast<size_t>(j)]);
        const auto tx = ParseNumber(m_d.TX[static_cast<size_t>(j)]);
        if (!f || !tx) {
            return Fail(where + " holds a value that is not a number.");
        }
        if (*f <= 0) {
            return Fail(where + ": the frequency must be above 0 MHz.");
        }
        if (!seen.insert(*f).second) {
            return Fail(where + " repeats the frequency " + GeneralNumber(*f) + " MHz.");
        }
        if (!std::isfinite(*f / m_c.freqNorm)) {
            return Fail(where + ": the frequency is too large.");
        }
        m_c.delFreqMHz.push_back(*f);
        m_c.tx.push_back(*tx);
    }
    return true;
}

bool Checker::Constellation() {
    std::vector<int> poles, zeros;
    if (!Counts(SlotPoles, 2, poles) || !Counts(SlotZeroCounts, 3, zeros)) {
        return false;
    }
    if (poles[0] > 1) {
        return Fail("Question 6. (nPoles): at most one pole on the sigma axis (question 7 "
                    "holds one value).");
    }
    m_c.nSigmaPoles = poles[0];
    m_c.nPolePairs = poles[1];
    if (m_c.nSigmaPoles + m_c.nPolePairs == 0) {
        return Fail("Question 6. (nPoles): H(s) needs at least one pole.");
    }
    m_c.sigmaZero = IsYes(m_d.Answers[SlotSigmaZero]);
    m_c.doublet = m_c.sigmaZero && IsYes(m_d.Answers[SlotDoublet]);
    m_c.lossless = m_c.sigmaZero && IsYes(m_d.Answers[SlotLossless]);
    m_c.nOmegaZeros = zeros[0];
    m_c.nZeroPairs = zeros[1];
    m_c.nZeroQuads = zeros[2];

    if (!Number(20, m_c.lowest) || !Number(21, m_c.highest)) {
        return false;
    }
    if (!(m_c.lowest > 0) || !(m_c.highest > m_c.lowest)) {
        return Fail("Questions 13 and 14: the limits need 0 < LowestX_Y < maxX_Y.");
    }
    if (m_c.nOmegaZeros > 0 && m_c.highest < 1) {
        return Fail("Question 14. (maxX_Y) is below 1, where omega zeros begin.");
    }
    if (m_c.nSigmaPoles > 0 && !Number(8, m_c.sigmaPole)) {
        return false;
    }
    if (m_c.nPolePairs > 0 &&
        (!List(9, m_c.nPolePairs, m_c.poleReal) || !List(10, m_c.nPolePairs, m_c.poleImag))) {
        return false;
    }
    if (m_c.sigmaZero && !Number(12, m_c.sigmaZeroValue)) {
        return false;
    }
    if (m_c.nOmegaZeros > 0 && !List(16, m_c.nOmegaZeros, m_c.omegaZeros)) {
        return false;
    }
    const int complexZeros = m_c.nZeroPairs + m_c.nZeroQuads;
    if (complexZeros > 0 &&
        (!List(17, complexZeros, m_c.zeroReal) || !List(18, complexZeros, m_c.zeroImag))) {
        return false;
    }
    return true;
}

bool Checker::Check() {
    m_c = CheckedProblem{};
    for (size_t slot = 0; slot < 22; ++slot) {
        if (m_d.Answers[slot] == "-EOF-") {
            return Fail("The input file ends before question " +
                        std::string(QuestionOf(static_cast<int>(slot))) + ".");
        }
    }
    m_c.equaliseDelay = IsYes(m_d.Answers[SlotEqualDelay]);
    m_c.useWeights = IsYes(m_d.Answers[SlotUseWeights]);
    if (!Number(3, m_c.iPower) || !Number(5, m_c.magnVSripple) || !Number(6, m_c.freqNorm) ||
        !Number(19, m_c.startGain)) {
        return false;
    }
    if (!(m_c.freqNorm > 0)) {
        return Fail("Question 5. (freqNorm) must be above 0 MHz.");
    }
    if (m_c.magnVSripple < 0 || std::abs(m_c.iPower) > 16) {
        return Fail("Questions 2 and 4: magnVSripple must not be negative and |Ipower| must be "
                    "at most 16.");
    }
    if (!(m_c.startGain > 0)) {
        return Fail("Question 12. (Gain): the start gain must be above 0.");
    }
    return PassBand() && Delay() && Constellation();
}

} // namespace

bool ParseNumberList(const std::string& text, std::vector<double>& values) {
    values.clear();
    const std::string squeezed = ReplaceAll(TrimBlanks(ReplaceAll(text, ",", " ")), "\t", " ");
    for (const std::string& token : SplitAt(squeezed, ' ')) {
        if (token.empty()) {
            continue;
        }
        const auto v = ParseNumber(token);
        if (!v) {
            return false;
        }
        values.push_back(*v);
    }
    return true;
}

bool CheckProblem(const DesignProblem& design, CheckedProblem& out, std::string& error) {
    return Checker(design, out, error).Check();
}

namespace {

// What the reader would have told the user, kept for a message of the caller's own.
class FirstMessage final : public Prompter {
public:
    std::string text;
    PromptAnswer message(const Prompt& prompt) override {
        if (text.empty())
            text = ReplaceAll(prompt.text, "\r\n", " ");
        return PromptAnswer::Ok;
    }
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::uint32_t> colorDialog(std::uint32_t) override { return {}; }
    bool printDialog(QPrinter&) override { return false; }
};

} // namespace

bool CheckInputFile(const std::string& name, const std::string& directory, std::string& error) {
    DesignProblem design;
    FirstMessage reader;
    FileError ioError;
    const ReadOutcome read = FileReadMe(name, directory, design, reader, &ioError);
    if (read != ReadOutcome::Read) {
        error = "The input file " + JoinPath(directory, name) +
                " cannot be read: " + (reader.text.empty() ? ioError.description : reader.text);
        return false;
    }
    CheckedProblem checked;
    return CheckProblem(design, checked, error);
}

} // namespace veltrana
