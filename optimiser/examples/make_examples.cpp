// Writes the seven example problems of the Demos tab into the directory given as argument:
//   optimiser_make_examples optimiser/examples
// Their pass-band data come from an input pulse spectrum and a desired output spectrum, their
// delay data from the group delay of an input channel. "Ex-Yzero.02" and "Ex-Delay.12" start
// where the fits of "Ex-Yzero.01" and "Ex-Delay.11" end, so this program runs those fits.

#include "Fit.h"
#include "InputFile.h"
#include "NumberList.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

using namespace veltrana;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFreqNorm = 10; // MHz: pass band edge and first omega zero

std::string Text(double v) {
    return NumberText(v, "%.4g");
}

std::string Texts(const std::vector<double>& values) {
    return NumberList(values, "%.4g");
}

/// Desired output: flat to 4 MHz, then a raised-cosine roll-off to 0 at 10 MHz.
double RaisedCosine(double f) {
    return f <= 4 ? 1.0 : f >= 10 ? 0.0 : 0.5 * (1 + std::cos(kPi * (f - 4) / 6));
}

/// Magnitude spectrum of a rectangular pulse of 40 ns.
double PulseSpectrum(double f) {
    const double x = kPi * f * 0.040;
    return std::abs(std::sin(x) / x);
}

/// The input channel of the delay examples: a third-order Butterworth low-pass at 12 MHz.
/// Returns its magnitude and group delay (ns) at f MHz.
std::pair<double, double> Channel(double f) {
    const double wc = 2 * kPi * 12, w = 2 * kPi * f; // rad/us
    const double a = wc / 2, b = wc * std::sqrt(3.0) / 2;
    const double mag2 =
        (w * w + wc * wc) * ((w - b) * (w - b) + a * a) * ((w + b) * (w + b) + a * a);
    const double delay = wc / (wc * wc + w * w) + a / (a * a + (w - b) * (w - b)) +
                         a / (a * a + (w + b) * (w + b)); // us
    return {std::pow(wc, 3) / std::sqrt(mag2), delay * 1000};
}

void SetPassBand(DesignProblem& d, double (*yin)(double)) {
    d.nFreqPoints = 20;
    d.Freq.assign(21, "");
    d.Yin.assign(21, "");
    d.Yout.assign(21, "");
    d.Weight.assign(21, "");
    for (int i = 1; i <= 20; ++i) {
        const double f = 0.5 * i;
        d.Freq[i] = Text(f);
        d.Yin[i] = Text(yin(f));
        d.Yout[i] = Text(RaisedCosine(f));
        d.Weight[i] = "1";
    }
    d.Answers[SlotFreqCount] = "20";
}

DesignProblem YzeroProblem() {
    DesignProblem d;
    d.Answers = {
        "N",           "0",  "-2",  "0", "N", "10",    Text(kFreqNorm), "0 4", ".02", ".3 .3 .3 .3",
        ".2 .4 .6 .8", "N",  ".05", "N", "N", "3 0 0", "1.1 1.5 2",     ".01", ".01", ".001",
        ".005",        "22", "20",  "0"};
    SetPassBand(d, PulseSpectrum);
    d.Note1 = "4 Poles & 3 (Omega) Zeros to equalize sidelobe peaks";
    d.Note2 = "Yin: spectrum of a 40 ns rectangular pulse; Yout: flat to 4 MHz, raised-cosine "
              "roll-off to 0 at 10 MHz";
    return d;
}

DesignProblem DelayProblem() {
    DesignProblem d;
    d.Answers = {"Y",     "0",     "-2",   "-2", "N",  "10", Text(kFreqNorm), "1 2",   ".5",
                 ".5 .5", ".3 .9", "Y",    ".5", "N",  "Y",  "0 0 0",         "1.111", ".01",
                 ".01",   "1",     ".005", "22", "20", "9"};
    SetPassBand(d, [](double f) { return Channel(f).first; });
    d.nDelayPoints = 9;
    d.DelFreq.assign(10, "");
    d.TX.assign(10, "");
    for (int j = 1; j <= 9; ++j) {
        d.DelFreq[j] = Text(j);
        d.TX[j] = Text(Channel(j).second);
    }
    d.Note1 = "Equalize Group Delay, no specific Tmin, 'losless' Sigma Zero";
    d.Note2 = "Yin, TX: third-order Butterworth channel at 12 MHz; Yout: flat to 4 MHz, "
              "raised-cosine roll-off to 0 at 10 MHz";
    return d;
}

/// The fit of d, for the examples that start where another one ends.
std::vector<double> Solve(const DesignProblem& d, FitProblem& fp) {
    std::string error;
    if (!BuildFitProblem(d, fp, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    FitObserver quiet;
    const FitResult r = Fit(fp, SolverSettings{}, quiet);
    std::fprintf(stderr, "fit: start %g end %g\n", r.startError, r.parts.total());
    return r.x;
}

/// Writes the constellation x (rounded to four digits) into the start answers of d.
void StartFrom(DesignProblem& d, const FitProblem& fp, const std::vector<double>& x) {
    const FilterLayout& l = fp.layout;
    std::vector<double> re, im, y;
    if (l.nSigmaPoles > 0) {
        d.Answers[8] = Text(x[l.sigmaPole()]);
    }
    for (int k = 0; k < l.nPolePairs; ++k) {
        re.push_back(x[l.poleReal(k)]);
        im.push_back(x[l.poleImag(k)]);
    }
    d.Answers[9] = Texts(re);
    d.Answers[10] = Texts(im);
    if (l.sigmaZero != SigmaZeroKind::None) {
        d.Answers[12] = Text(x[l.sigmaZeroAt()]);
    }
    for (int m = 0; m < l.nOmegaZeros; ++m) {
        y.push_back(x[l.omegaZero(m)]);
    }
    if (!y.empty()) {
        d.Answers[16] = Texts(y);
    }
    const double gain = EvaluateError(fp, x).gain;
    d.Answers[19] = Text(gain);
}

void Write(const std::string& dir, const std::string& name, DesignProblem d) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 6;
    when.tm_hour = 12;
    d.nSolverLines = d.SolverAnswers[0].empty() ? 0 : 9;
    std::ofstream(JoinPath(dir, name), std::ios::binary) << FormatAnsFile(d, name, when);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: optimiser_make_examples <directory>\n");
        return 2;
    }
    const std::string dir = argv[1];

    const DesignProblem yzero = YzeroProblem();
    Write(dir, "Ex-Yzero.01", yzero);
    {
        FitProblem fp;
        DesignProblem d = yzero;
        StartFrom(d, fp, Solve(yzero, fp));
        d.Note1 = "'Ex-Yzero.01' with improved initial values from previous run";
        Write(dir, "Ex-Yzero.02", d);
    }
    {
        DesignProblem d = yzero;
        d.SolverAnswers = {"5  10  7", "1   5   0", "1e-6 1e-6 1e-6", "100", "5", "3000",
                           "2",        "16",        ".0001"};
        d.Note1 = "'Ex-Yzero.01' problem with Solver controls.";
        Write(dir, "Ex-CNTL.1", d);
    }
    {
        DesignProblem d = yzero;
        d.Answers[15] = "0 1 0";
        d.Answers[17] = ".1";
        d.Answers[18] = "1.2";
        d.Note1 = "'Ex-Yzero.01' with Omega Zeros replaced with 1 Zero Pair";
        Write(dir, "Ex-Zpair.1", d);
    }

    const DesignProblem delay = DelayProblem();
    Write(dir, "Ex-Delay.01", delay);
    FitProblem fp01;
    const std::vector<double> x01 = Solve(delay, fp01);
    DesignProblem delay11 = delay;
    // Tmin: a round number a little above the mean total delay that the fit of Ex-Delay.01
    // reaches, so that the delay is equalised at a stated value.
    delay11.Answers[1] = Text(std::ceil(EvaluateError(fp01, x01).delayTarget + 1));
    delay11.Note1 = "'Ex-Delay.01' problem with specific Tmin value";
    Write(dir, "Ex-Delay.11", delay11);
    {
        FitProblem fp;
        DesignProblem d = delay11;
        StartFrom(d, fp, Solve(delay11, fp));
        d.Note1 = "'Ex-Delay.11' with improved initial values";
        Write(dir, "Ex-Delay.12", d);
    }
    return 0;
}
