#include "OptimiserRun.h"

#include "CommandLine.h"
#include "ConsolePrompter.h"
#include "Fit.h"
#include "ImpulseResponse.h"
#include "InputFile.h"
#include "Listing.h"
#include "Objective.h"
#include "Prompter.h"
#include "ResultFileName.h"
#include "ResultWriter.h"
#include "RunGuard.h"
#include "RunSummary.h"
#include "Text.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>

namespace veltrana {

namespace {

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6G", v);
    return text;
}

std::string List(const std::vector<double>& values) {
    std::string line;
    for (double v : values) {
        line += "  " + Num(v);
    }
    return line;
}

/// The constellation as the listing shows it: locations as in H(s), poles at -a.
void ListConstellation(Listing& out, const FilterLayout& l, const std::vector<double>& x,
                       const std::string& indent) {
    auto at = [&](int i) { return x[static_cast<size_t>(i)]; };
    if (l.nSigmaPoles > 0) {
        out.Line(indent + "Sigma-axis pole:        " + Num(-at(l.sigmaPole())));
    }
    if (l.nPolePairs > 0) {
        std::vector<double> re, im;
        for (int k = 0; k < l.nPolePairs; ++k) {
            re.push_back(-at(l.poleReal(k)));
            im.push_back(at(l.poleImag(k)));
        }
        out.Line(indent + "Pole pairs, real parts:" + List(re));
        out.Line(indent + "      +- imaginary parts:" + List(im));
    }
    if (l.sigmaZero != SigmaZeroKind::None) {
        static constexpr const char* kKinds[] = {"", "single", "doublet", "lossless, s^2 - c^2",
                                                 "lossless doublet"};
        out.Line(indent + "Sigma-axis zero (" + kKinds[static_cast<int>(l.sigmaZero)] +
                 "): " + Num(-at(l.sigmaZeroAt())));
    }
    if (l.nOmegaZeros > 0) {
        std::vector<double> y;
        for (int m = 0; m < l.nOmegaZeros; ++m) {
            y.push_back(at(l.omegaZero(m)));
        }
        out.Line(indent + "Omega-axis zeros, +- j:" + List(y));
    }
    if (l.nZeroPairs + l.nZeroQuads > 0) {
        std::vector<double> re, im;
        for (int q = 0; q < l.nZeroPairs + l.nZeroQuads; ++q) {
            re.push_back(-at(l.zeroReal(q)));
            im.push_back(at(l.zeroImag(q)));
        }
        out.Line(indent + "Zero pairs then quads, real parts:" + List(re));
        out.Line(indent + "            +- imaginary parts:" + List(im));
    }
}

class ListingObserver final : public FitObserver {
public:
    ListingObserver(Listing& out, const SolverSettings& s, const FilterLayout& l,
                    const std::atomic<bool>* cancel)
        : m_out(out), m_s(s), m_l(l), m_cancel(cancel) {}

    void StartBegins(int start, StartKind kind, const std::vector<double>& x,
                     double error) override {
        static constexpr const char* kFrom[] = {
            " from the start", " (a restart around the best point)",
            " (a restart spread over the limits)", " from the best point"};
        m_out.Line(Name(start) + kFrom[static_cast<int>(kind)] + ": error sum = " + Num(error));
        if (Detailed(start)) {
            ListConstellation(m_out, m_l, x, "    ");
        }
        m_rejected = 0;
    }
    void Iteration(int start, int iteration, double error, bool successful,
                   const double* x) override {
        if (iteration == 0) {
            return;
        }
        if (!successful && m_s.detail[2] > 0 && ++m_rejected % m_s.detail[2] == 0) {
            m_out.Line("  iteration " + std::to_string(iteration) + ": step rejected at");
            ListConstellation(m_out, m_l, std::vector<double>(x, x + m_l.size()), "    ");
        }
        if (m_s.stepOut > 0 && iteration % m_s.stepOut == 0) {
            m_out.Line("  " + Name(start) + ", iteration " + std::to_string(iteration) +
                       ": error sum = " + Num(error));
        }
        if (m_s.detail[1] > 0 && iteration % m_s.detail[1] == 0) {
            ListConstellation(m_out, m_l, std::vector<double>(x, x + m_l.size()), "    ");
        }
    }
    void StartEnds(int start, const std::vector<double>& x, double error,
                   const std::string& why) override {
        m_out.Line(Name(start) + " ends: error sum = " + Num(error) + " (" + TrimBlanks(why) + ")");
        if (Detailed(start)) {
            ListConstellation(m_out, m_l, x, "    ");
        }
    }
    // A listing that cannot be written ends the run as a cancel would.
    bool Cancelled() override { return (m_cancel && m_cancel->load()) || !m_out.ok(); }

private:
    static std::string Name(int start) {
        return start == 0 ? "Final descent" : "Descent " + std::to_string(start);
    }
    bool Detailed(int start) const {
        return m_s.detail[0] > 0 && (start == 0 || (start - 1) % m_s.detail[0] == 0);
    }

    Listing& m_out;
    const SolverSettings& m_s;
    const FilterLayout& m_l;
    const std::atomic<bool>* m_cancel;
    int m_rejected = 0;
};

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return FormatHeaderDate(local);
}

void ListSettings(Listing& out, const SolverSettings& s) {
    out.Line(s.fromFile ? "Solver settings (from the input file):"
                        : "Solver settings (defaults; the input file carries none):");
    out.Line("  REMAX    " + std::to_string(s.remax[0]) + " " + std::to_string(s.remax[1]) + " " +
             std::to_string(s.remax[2]) + ": at most " + std::to_string(s.remax[0]) +
             " descents; a descent ends after " + std::to_string(s.remax[1]) +
             " rejected steps in a row; the inner value is not used");
    out.Line("  DETAIL   " + std::to_string(s.detail[0]) + " " + std::to_string(s.detail[1]) + " " +
             std::to_string(s.detail[2]) +
             ": constellation every Nth descent / iteration, every Nth rejected step");
    out.Line("  ZERO     " + Num(s.zero[0]) + " " + Num(s.zero[1]) + " " + Num(s.zero[2]) +
             ": restart progress, error-sum change, step size tolerances");
    out.Line("  STEPSLIM " + std::to_string(s.stepsLim) + ": iterations per descent");
    out.Line("  STEPOUT  " + std::to_string(s.stepOut) + ": a progress line every N iterations");
    out.Line("  EVALMAX  " + std::to_string(s.evalMax) + ": model evaluations in all");
    out.Line("  SETRHO   " + std::to_string(s.setRho) +
             (s.setRho == 2 ? ": Newton-Raphson with the gradient where the Hessian is indefinite "
                              "(dogleg trust region)"
                            : ": Newton-Raphson method (Levenberg-Marquardt trust region)"));
    out.Line("  RATIO    " + Num(s.ratio) +
             ": restart radius divided by sqrt(RATIO) after a round without progress");
    out.Line("  ACCURACY " + Num(s.accuracy) + ": good fit below ACCURACY^2 x the error of H = 0");
}

void ListProblem(Listing& out, const DesignProblem& d, const FitProblem& fp) {
    out.Line("Note1: " + d.Note1);
    out.Line("Note2: " + d.Note2);
    out.Line("Pass band: " + std::to_string(fp.w.size()) + " points from " +
             Num(*std::min_element(fp.freqMHz.begin(), fp.freqMHz.end())) + " to " +
             Num(*std::max_element(fp.freqMHz.begin(), fp.freqMHz.end())) + " MHz; freqNorm " +
             Num(fp.freqNorm) + " MHz; Ipower " + Num(fp.iPower) + "; magnVSripple " +
             Num(fp.magnVSripple) + "; weights " + (fp.useWeights ? "used" : "not used"));
    if (fp.equaliseDelay) {
        out.Line("Group delay equalised at " + std::to_string(fp.dw.size()) + " points; " +
                 (fp.tmin != 0 ? "Tmin " + Num(fp.tmin) + " ns" : "target: mean total delay") +
                 "; delay error power " + Num(fp.delayPower));
    } else {
        out.Line("Group delay not equalised.");
    }
    if (fp.sidelobes()) {
        out.Line("Sidelobe peaks between the " + std::to_string(fp.layout.nOmegaZeros) +
                 " omega zeros are equalised.");
    }
    out.Line("Limits: " + Num(fp.lowest) + " <= |real parts| <= " + Num(fp.highest) +
             "; omega zeros from 1; gain solved in closed form at every step.");
    out.Line("Start constellation (normalised by freqNorm), start gain " + Num(fp.startGain) + ":");
    ListConstellation(out, fp.layout, fp.start, "  ");
    for (const std::string& note : fp.notes) {
        out.Line(note);
    }
}

} // namespace

std::string ListingPath(const std::string& familyDir) {
    return JoinPath(JoinPath(JoinPath(familyDir, "Veltr.hz"), "User"), "~Veltra.out");
}

namespace {

/// The run once its listing is open, `began` being when the optimiser started.
int RunListed(const std::vector<std::string>& args, const RunOptions& options, Listing& out,
              std::chrono::steady_clock::time_point began) {
    const std::string& name = args[0];
    const std::string& directory = args[1];
    const std::string& family = args[2];
    std::string error;
    const std::string inputPath = JoinPath(directory, name);
    const std::string resultPath = ResultFilePath(name, directory);
    auto fail = [&](const std::string& why) {
        std::error_code exists;
        if (std::filesystem::exists(resultPath, exists)) {
            out.Line("The result file " + resultPath +
                     " is left as it was: it is from an earlier run, not from this one.");
        }
        out.Line("Run failed: " + why);
        return RunFailed;
    };

    out.Line("Veltrana optimiser run, " + Now());
    out.Line("Input file:  " + inputPath);
    out.Line("Result file: " + resultPath);
    if (args[3] != family.substr(0, 2) || args[4] != (name + " " + directory).substr(0, 2)) {
        out.Line("(The drive and first-characters arguments do not match the others; they are "
                 "not needed here.)");
    }

    struct stat info {};
    if (::stat(inputPath.c_str(), &info) != 0) {
        return fail("The input file " + inputPath + " does not exist.");
    }
    if (!S_ISREG(info.st_mode) || static_cast<std::size_t>(info.st_size) > kMaxInputFileBytes) {
        return fail("The input file " + inputPath +
                    " is not an input file (not a regular file "
                    "of at most 4 MB).");
    }
    DesignProblem design;
    // Messages of the input-file reader go into the listing.
    ConsolePrompter prompter([&out](const Prompt& prompt) {
        out.Line("Input file: " + TrimBlanks(prompt.title) + " " +
                 TrimBlanks(ReplaceAll(prompt.text, "\r\n", " ")));
    });
    FileError ioError;
    const ReadOutcome read = FileReadMe(name, directory, design, prompter, &ioError);
    if (read != ReadOutcome::Read) {
        return fail(read == ReadOutcome::Unreadable
                        ? "The input file cannot be read: " + ioError.description
                        : "The input file could not be read to its end.");
    }
    FitProblem fp;
    if (!BuildFitProblem(design, fp, error)) {
        return fail(error);
    }
    SolverSettings settings;
    std::vector<std::string> settingNotes;
    if (!ParseSolverSettings(design.SolverAnswers, design.nSolverLines, settings, settingNotes,
                             error)) {
        return fail(error);
    }
    ListProblem(out, design, fp);
    ListSettings(out, settings);
    for (const std::string& note : settingNotes) {
        out.Line(note);
    }
    const ErrorParts given = EvaluateError(fp, fp.start, &fp.startGain);
    const ErrorParts best = EvaluateError(fp, fp.start);
    if (!given.finite || !best.finite) {
        return fail("The start cannot be evaluated: its error sum is not a finite number "
                    "(values too large or too small?).");
    }
    out.Line("Start error sum with the start gain: " + Num(given.total()) +
             "; with the best gain " + Num(best.gain) + ": " + Num(best.total()));

    ListingObserver observer(out, settings, fp.layout, options.cancel);
    const auto fitBegan = std::chrono::steady_clock::now();
    FitOptions fitOptions;
    fitOptions.timeLimitSeconds = options.timeLimitSeconds;
    fitOptions.threads = options.threads;
    const FitResult fit = Fit(fp, settings, observer, fitOptions);
    const double fitSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - fitBegan).count();
    if (fit.cancelled) {
        out.Line(CancelledLine());
        return RunCancelled;
    }
    const ErrorParts& e = fit.parts;
    if (!e.finite || !(e.gain > 0)) {
        return fail("The fit ended without a usable constellation (error sum or gain not a "
                    "positive finite number).");
    }
    out.Line("Stopped: " + fit.stopReason);
    if (!fit.good) {
        out.Line("Not a good fit by ACCURACY: the error sum is above ACCURACY^2 x the error of "
                 "H = 0 (" +
                 Num(settings.accuracy * settings.accuracy * ZeroFilterError(fp)) + ").");
    }
    out.Line("Starts used: " + std::to_string(fit.starts) + " of " +
             std::to_string(settings.remax[0]) + (fit.polished ? " (and a final descent)" : "") +
             "; iterations " + std::to_string(fit.iterations) + "; model evaluations " +
             std::to_string(fit.evaluations) + "; fit time " + Num(fitSeconds * 1000) + " ms");
    out.Line("Final constellation (normalised by freqNorm), gain " + Num(e.gain) + ":");
    ListConstellation(out, fp.layout, fit.x, "  ");
    out.Line("Error sums: pass band " + Num(e.passBand) + ", delay " + Num(e.delay) +
             ", sidelobes " + Num(e.sidelobe) + "; total " + Num(e.total()) + " (start " +
             Num(given.total()) + ")");
    if (fp.equaliseDelay) {
        out.Line("Delay target used: " + Num(e.delayTarget) + " ns");
    }
    const Uncertainty uncertainty = EstimateUncertainty(fp, fit.x, e.gain);
    for (const std::string& line : DescribeUncertainty(fp, fit.x, e.gain, uncertainty)) {
        out.Line(line);
    }
    if (options.summary) {
        *options.summary = {true, fp, fit, uncertainty, given.total(), fitSeconds};
    }

    const ImpulseResponse impulse = ComputeImpulseResponse(fp.layout, fit.x, e.gain, fp.nsPerUnit);
    if (!fp.equaliseDelay && impulse.improper) {
        out.Line("H(s) is not strictly proper (numerator degree " +
                 std::to_string(fp.layout.numeratorDegree()) + ", denominator degree " +
                 std::to_string(fp.layout.denominatorDegree()) +
                 "): h(t) is given for its strictly proper part.");
    }
    ResultHeader header;
    header.titleLine = name + "  " + TrimBlanks(design.Note1);
    header.thirdLine = "Veltrana optimiser, " + std::to_string(fit.starts) + " descents, " +
                       std::to_string(fit.evaluations) + " evaluations, " + Now();
    const std::string bytes = FormatResultFile(fp, fit.x, e, header, impulse);
    // A run that cannot say what it did writes no result.
    if ((options.cancel && options.cancel->load()) || !out.ok()) {
        out.Line(CancelledLine());
        return RunCancelled;
    }
    if (!WriteFileAtomically(resultPath, bytes, error)) {
        if (options.cancel && options.cancel->load()) {
            out.Line(CancelledLine());
            return RunCancelled;
        }
        return fail(error);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    out.Line("Time taken: " + Num(seconds) + " s");
    out.Line(std::string("Run completed") +
             (uncertainty.warns() ? " with warnings (see above)" : "") + ": result file " +
             resultPath);
    return RunOk;
}

} // namespace

int RunOptimiser(const std::vector<std::string>& args, const RunOptions& options) {
    const auto began = std::chrono::steady_clock::now();
    if (args.size() != 5) {
        std::fputs(kUsage, stderr);
        return RunUsage;
    }
    const std::string& name = args[0];
    const std::string& directory = args[1];
    const std::string& family = args[2];
    std::error_code ec;
    if (!std::filesystem::is_directory(family, ec)) {
        std::fprintf(stderr, "optimiser: the family directory %s does not exist\n", family.c_str());
        return RunUsage;
    }
    const std::string listingPath =
        options.listingPath.empty() ? ListingPath(family) : options.listingPath;
    std::filesystem::create_directories(std::filesystem::path(listingPath).parent_path(), ec);
    std::string error;
    // Another run's listing is never touched: the lock comes before the listing is emptied.
    RunLock lock;
    if (!GuardListing(listingPath, JoinPath(directory, name), lock, error)) {
        std::fprintf(stderr, "optimiser: %s\n", error.c_str());
        return RunUsage;
    }
    Listing out;
    if (!out.Open(listingPath, error)) {
        std::fprintf(stderr, "optimiser: %s\n", error.c_str());
        return RunUsage;
    }
    const int status = RunListed(args, options, out, began);
    // A run whose listing could not be written has not told anyone what it did.
    if (!out.ok()) {
        std::fprintf(stderr, "optimiser: %s; the run ended there.\n", out.error().c_str());
        return RunUsage;
    }
    return status;
}

} // namespace veltrana
