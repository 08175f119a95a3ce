// Fits each classical prototype from random starts that move every location 30 to 50 % off
// the answer, and prints per prototype how often the answer was found and the median time.
//   bench_known_answers [--starts N] [--seed S] [--verbose] [--write DIR]
// --write also saves every problem as an input file "Kn-<prototype>.<start>" in DIR, for
// scipy_compare.py.
#include "Fit.h"
#include "InputFile.h"
#include "Prototype.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

using namespace veltrana;

namespace {

/// A short file-name part for a prototype: its first word and its order.
std::string ShortName(const Prototype& p) {
    std::string name = p.name.substr(0, 5);
    for (char c : p.name) {
        if (c >= '0' && c <= '9') {
            return name + c;
        }
    }
    return name;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int starts = 20;
    unsigned seed = 1;
    bool verbose = false;
    std::string writeDir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--starts") && i + 1 < argc) {
            starts = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
            seed = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--verbose")) {
            verbose = true;
        } else if (!std::strcmp(argv[i], "--write") && i + 1 < argc) {
            writeDir = argv[++i];
        } else {
            std::fprintf(stderr, "usage: bench_known_answers [--starts N] [--seed S] "
                                 "[--verbose] [--write DIR]\n");
            return 2;
        }
    }
    std::printf("| prototype | found | median time (ms) | median evaluations | median starts "
                "| worst final error sum |\n|---|---|---|---|---|---|\n");
    for (const Prototype& p : KnownAnswerPrototypes()) {
        std::mt19937 rng(seed);
        const std::vector<double> answer = ObjectiveAnswer(p);
        if (verbose) {
            FitProblem fp;
            std::string error;
            BuildFitProblem(KnownAnswerProblem(p, p.truth), fp, error);
            const ErrorParts e = EvaluateError(fp, p.truth);
            std::printf("%s: answer", p.name.c_str());
            for (double v : p.truth) {
                std::printf(" %.6g", v);
            }
            std::printf("; its error sum %.3g (pass band %.3g, delay %.3g, sidelobes %.3g)\n",
                        e.total(), e.passBand, e.delay, e.sidelobe);
            std::printf("  the objective's minimum next to it:");
            for (double v : answer) {
                std::printf(" %.6g", v);
            }
            std::printf(" (error sum %.3g)\n", EvaluateError(fp, answer).total());
        }
        int found = 0;
        std::vector<double> ms, evals, used;
        double worst = 0;
        for (int s = 1; s <= starts; ++s) {
            const DesignProblem d = KnownAnswerProblem(p, PerturbedStart(p, rng));
            char name[32];
            std::snprintf(name, sizeof name, "Kn-%s.%02d", ShortName(p).c_str(), s);
            if (!writeDir.empty()) {
                std::ofstream(JoinPath(writeDir, name), std::ios::binary)
                    << FormatAnsFile(d, name, std::tm{});
            }
            const auto began = std::chrono::steady_clock::now();
            FitProblem fp;
            std::string error;
            if (!BuildFitProblem(d, fp, error)) {
                std::fprintf(stderr, "%s: %s\n", name, error.c_str());
                return 1;
            }
            FitObserver quiet;
            const FitResult r = Fit(fp, SolverSettings{}, quiet);
            ms.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count() *
                1000);
            evals.push_back(r.evaluations);
            used.push_back(r.starts);
            worst = std::max(worst, r.parts.total());
            const bool ok = FoundAnswer(p, answer, r.x);
            found += ok;
            if (verbose) {
                std::printf("  %s %s: error %.3g, %d starts, %d evaluations (%s)\n", name,
                            ok ? "found" : "MISSED", r.parts.total(), r.starts, r.evaluations,
                            r.stopReason.c_str());
                if (!ok) {
                    std::printf("    ends at");
                    for (double v : r.x) {
                        std::printf(" %.6g", v);
                    }
                    std::printf("\n");
                }
            }
        }
        std::printf("| %s | %d/%d | %.2f | %.0f | %.0f | %.3g |\n", p.name.c_str(), found, starts,
                    Median(ms), Median(evals), Median(used), worst);
    }
    return 0;
}
