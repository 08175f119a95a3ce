#include "FitProblem.h"

#include "NumberText.h"
#include "Text.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace veltrana {

namespace {

// Beyond these sizes a problem is not a filter design any more and would only make the
// fit slow: refuse it with a clear line instead.
constexpr int kMaxCount = 30;
constexpr int kMaxPoints = 5000;

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

class Builder {
public:
    Builder(const DesignProblem& d, FitProblem& fp, std::string& error)
        : m_d(d), m_fp(fp), m_error(error) {}

    bool Build();

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
    void Bound(int index, double lo, double hi, const std::string& what);

    const DesignProblem& m_d;
    FitProblem& m_fp;
    std::string& m_error;
};

bool Builder::Number(int slot, double& value, bool emptyAllowed, double emptyValue) {
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

bool Builder::List(int slot, int count, std::vector<double>& values) {
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

bool Builder::Counts(int slot, int pieces, std::vector<int>& counts) {
    std::vector<double> values;
    const std::string text = TrimBlanks(m_d.Answers[static_cast<size_t>(slot)]);
    if (!ParseNumberList(text.empty() && slot == SlotZeroCounts ? "0 0 0" : text, values) ||
        static_cast<int>(values.size()) != pieces) {
        return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + text + "' is not " +
                    std::to_string(pieces) + " counts.");
    }
    for (double v : values) {
        if (v != std::floor(v) || v < 0 || v > kMaxCount) {
            return Fail(std::string("Question ") + QuestionOf(slot) + ": '" + text +
                        "' holds a count that is not a whole number from 0 to " +
                        std::to_string(kMaxCount) + ".");
        }
        counts.push_back(static_cast<int>(v));
    }
    return true;
}

bool Builder::PassBand() {
    const int n = m_d.nFreqPoints;
    if (n <= 0) {
        return Fail("There are no pass-band points to fit.");
    }
    if (n > kMaxPoints || static_cast<int>(m_d.Freq.size()) <= n ||
        static_cast<int>(m_d.Yin.size()) <= n || static_cast<int>(m_d.Yout.size()) <= n) {
        return Fail("The pass-band table does not hold " + std::to_string(n) + " points (at most " +
                    std::to_string(kMaxPoints) + ").");
    }
    std::set<double> seen;
    double kSum = 0, yinSum = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string where = "Pass-band point " + std::to_string(i);
        const auto f = ParseNumber(m_d.Freq[static_cast<size_t>(i)]);
        const auto yin = ParseNumber(m_d.Yin[static_cast<size_t>(i)]);
        const auto yout = ParseNumber(m_d.Yout[static_cast<size_t>(i)]);
        std::optional<double> weight = 1.0;
        if (m_fp.useWeights) {
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
        if (*yout == 0 && m_fp.iPower > 0) {
            return Fail(where + ": Yout is 0 and Ipower is positive, so Error / Yout^Ipower "
                                "cannot be formed.");
        }
        const double k = std::sqrt(m_fp.magnVSripple) * *weight / std::pow(*yout, m_fp.iPower);
        if (!std::isfinite(k) || !std::isfinite(*f / m_fp.freqNorm)) {
            return Fail(where + ": its error factor cannot be evaluated (values too large?).");
        }
        m_fp.freqMHz.push_back(*f);
        m_fp.w.push_back(*f / m_fp.freqNorm);
        m_fp.yin.push_back(*yin);
        m_fp.yout.push_back(*yout);
        m_fp.k.push_back(k);
        kSum += k;
        yinSum += *yin;
    }
    if (yinSum == 0) {
        return Fail("Every Yin is 0: there is no input signal to shape.");
    }
    if (kSum == 0 && !m_fp.equaliseDelay) {
        return Fail("Every pass-band error has weight 0 (magnVSripple, weights or Yout): "
                    "there is nothing to fit.");
    }
    return true;
}

bool Builder::Delay() {
    if (!m_fp.equaliseDelay) {
        return true;
    }
    if (!Number(1, m_fp.tmin, true, 0)) {
        return false;
    }
    double power = 0;
    if (!Number(2, power, true, 0)) {
        return false;
    }
    m_fp.delayPower = power == 0 ? 2 : std::abs(power);
    if (m_fp.tmin < 0 || m_fp.delayPower > 16) {
        return Fail("Questions 1a and 1b: Tmin must not be negative and |DelRipplePower| must "
                    "be at most 16.");
    }
    const int m = m_d.nDelayPoints;
    if (m <= 0) {
        return Fail("Group delay is to be equalised but there are no delay points.");
    }
    if (m > kMaxPoints || static_cast<int>(m_d.DelFreq.size()) <= m ||
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
        if (!std::isfinite(*f / m_fp.freqNorm)) {
            return Fail(where + ": the frequency is too large.");
        }
        m_fp.delFreqMHz.push_back(*f);
        m_fp.dw.push_back(*f / m_fp.freqNorm);
        m_fp.tx.push_back(*tx);
    }
    return true;
}

void Builder::Bound(int index, double lo, double hi, const std::string& what) {
    double& x = m_fp.start[static_cast<size_t>(index)];
    m_fp.lower[static_cast<size_t>(index)] = lo;
    m_fp.upper[static_cast<size_t>(index)] = hi;
    if (x < lo || x > hi) {
        const double moved = std::clamp(x, lo, hi);
        m_fp.notes.push_back("The start " + what + " = " + GeneralNumber(x) +
                             " lies outside its limits " + GeneralNumber(lo) + " to " +
                             GeneralNumber(hi) + "; it starts at " + GeneralNumber(moved) + ".");
        x = moved;
    }
}

bool Builder::Constellation() {
    FilterLayout& l = m_fp.layout;
    std::vector<int> poles, zeros;
    if (!Counts(SlotPoles, 2, poles) || !Counts(SlotZeroCounts, 3, zeros)) {
        return false;
    }
    if (poles[0] > 1) {
        return Fail("Question 6. (nPoles): at most one pole on the sigma axis (question 7 "
                    "holds one value).");
    }
    l.nSigmaPoles = poles[0];
    l.nPolePairs = poles[1];
    if (l.nSigmaPoles + l.nPolePairs == 0) {
        return Fail("Question 6. (nPoles): H(s) needs at least one pole.");
    }
    if (IsYes(m_d.Answers[SlotSigmaZero])) {
        const bool doublet = IsYes(m_d.Answers[SlotDoublet]);
        const bool lossless = IsYes(m_d.Answers[SlotLossless]);
        l.sigmaZero = lossless
                          ? (doublet ? SigmaZeroKind::LosslessDoublet : SigmaZeroKind::Lossless)
                          : (doublet ? SigmaZeroKind::Doublet : SigmaZeroKind::Single);
    }
    l.nOmegaZeros = zeros[0];
    l.nZeroPairs = zeros[1];
    l.nZeroQuads = zeros[2];

    double lo = 0, hi = 0;
    if (!Number(20, lo) || !Number(21, hi)) {
        return false;
    }
    if (!(lo > 0) || !(hi > lo)) {
        return Fail("Questions 13 and 14: the limits need 0 < LowestX_Y < maxX_Y.");
    }
    if (l.nOmegaZeros > 0 && hi < 1) {
        return Fail("Question 14. (maxX_Y) is below 1, where omega zeros begin.");
    }
    m_fp.lowest = lo;
    m_fp.highest = hi;
    const size_t size = static_cast<size_t>(l.size());
    m_fp.start.assign(size, 0);
    m_fp.lower.assign(size, 0);
    m_fp.upper.assign(size, 0);

    std::vector<double> re, im;
    if (l.nSigmaPoles > 0) {
        if (!Number(8, m_fp.start[0])) {
            return false;
        }
        Bound(l.sigmaPole(), lo, hi, "sigma pole");
    }
    if (l.nPolePairs > 0) {
        if (!List(9, l.nPolePairs, re) || !List(10, l.nPolePairs, im)) {
            return false;
        }
        for (int k = 0; k < l.nPolePairs; ++k) {
            const std::string n = std::to_string(k + 1);
            m_fp.start[static_cast<size_t>(l.poleReal(k))] = re[static_cast<size_t>(k)];
            m_fp.start[static_cast<size_t>(l.poleImag(k))] = im[static_cast<size_t>(k)];
            Bound(l.poleReal(k), lo, hi, "real part of pole pair " + n);
            Bound(l.poleImag(k), 0, hi, "imaginary part of pole pair " + n);
        }
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        if (!Number(12, m_fp.start[static_cast<size_t>(l.sigmaZeroAt())])) {
            return false;
        }
        Bound(l.sigmaZeroAt(), lo, hi, "sigma zero");
    }
    if (l.nOmegaZeros > 0) {
        if (!List(16, l.nOmegaZeros, re)) {
            return false;
        }
        for (int m = 0; m < l.nOmegaZeros; ++m) {
            m_fp.start[static_cast<size_t>(l.omegaZero(m))] = re[static_cast<size_t>(m)];
            Bound(l.omegaZero(m), 1, hi, "omega zero " + std::to_string(m + 1));
        }
    }
    const int complexZeros = l.nZeroPairs + l.nZeroQuads;
    if (complexZeros > 0) {
        if (!List(17, complexZeros, re) || !List(18, complexZeros, im)) {
            return false;
        }
        for (int q = 0; q < complexZeros; ++q) {
            const std::string n = q < l.nZeroPairs
                                      ? "zero pair " + std::to_string(q + 1)
                                      : "zero quad " + std::to_string(q + 1 - l.nZeroPairs);
            const double d = re[static_cast<size_t>(q)];
            m_fp.start[static_cast<size_t>(l.zeroReal(q))] = d;
            m_fp.start[static_cast<size_t>(l.zeroImag(q))] = im[static_cast<size_t>(q)];
            // d keeps its sign: a zero in the right half plane stays there.
            if (d < 0) {
                Bound(l.zeroReal(q), -hi, -lo, "real part of " + n);
            } else {
                Bound(l.zeroReal(q), lo, hi, "real part of " + n);
            }
            Bound(l.zeroImag(q), 0, hi, "imaginary part of " + n);
        }
    }
    return true;
}

bool Builder::Build() {
    m_fp = FitProblem{};
    for (size_t slot = 0; slot < 22; ++slot) {
        if (m_d.Answers[slot] == "-EOF-") {
            return Fail("The input file ends before question " +
                        std::string(QuestionOf(static_cast<int>(slot))) + ".");
        }
    }
    m_fp.equaliseDelay = IsYes(m_d.Answers[SlotEqualDelay]);
    m_fp.useWeights = IsYes(m_d.Answers[SlotUseWeights]);
    if (!Number(3, m_fp.iPower) || !Number(5, m_fp.magnVSripple) || !Number(6, m_fp.freqNorm) ||
        !Number(19, m_fp.startGain)) {
        return false;
    }
    if (!(m_fp.freqNorm > 0)) {
        return Fail("Question 5. (freqNorm) must be above 0 MHz.");
    }
    if (m_fp.magnVSripple < 0 || std::abs(m_fp.iPower) > 16) {
        return Fail("Questions 2 and 4: magnVSripple must not be negative and |Ipower| must be "
                    "at most 16.");
    }
    if (!(m_fp.startGain > 0)) {
        return Fail("Question 12. (Gain): the start gain must be above 0.");
    }
    m_fp.nsPerUnit = 1000.0 / (2 * std::numbers::pi * m_fp.freqNorm);
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

bool BuildFitProblem(const DesignProblem& design, FitProblem& out, std::string& error) {
    return Builder(design, out, error).Build();
}

} // namespace veltrana
