#include "SolverSettings.h"

#include "FitProblem.h"
#include "Text.h"

#include <cmath>

namespace veltrana {

namespace {

constexpr const char* kNames[] = {"REMAX",   "DETAIL", "ZERO",  "STEPSLIM", "STEPOUT",
                                  "EVALMAX", "SETRHO", "RATIO", "ACCURACY"};

bool IsWhole(double v, double lo, double hi) {
    return v == std::floor(v) && v >= lo && v <= hi;
}

} // namespace

bool ParseSolverSettings(const std::array<std::string, 9>& texts, int nSolverLines,
                         SolverSettings& out, std::vector<std::string>& notes, std::string& error) {
    out = SolverSettings{};
    if (nSolverLines != 9) {
        return true;
    }
    out.fromFile = true;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string text = TrimBlanks(texts[i]);
        const std::string name = kNames[i];
        if (text.empty()) {
            notes.push_back("Setting " + name + " is empty: its default is used.");
            continue;
        }
        std::vector<double> v;
        const size_t want = i < 3 ? 3 : 1;
        auto bad = [&](const std::string& why) {
            error = "Setting " + name + ": '" + text + "' " + why;
            return false;
        };
        if (text == "-EOF-") {
            return bad("(the input file ends before the settings).");
        }
        if (!ParseNumberList(text, v) || v.size() != want) {
            return bad(want == 3 ? "is not three numbers." : "is not one number.");
        }
        switch (i) {
        case 0:
        case 1:
            for (size_t j = 0; j < 3; ++j) {
                if (!IsWhole(v[j], i == 0 ? 1 : 0, 100000)) {
                    return bad(i == 0 ? "needs whole numbers from 1 up."
                                      : "needs whole numbers from 0 up.");
                }
                (i == 0 ? out.remax : out.detail)[j] = static_cast<int>(v[j]);
            }
            break;
        case 2:
            for (size_t j = 0; j < 3; ++j) {
                if (!(v[j] >= 0 && v[j] < 1)) {
                    return bad("needs tolerances from 0 to below 1.");
                }
                out.zero[j] = v[j];
            }
            break;
        case 3:
        case 4:
        case 5:
            if (!IsWhole(v[0], i == 4 ? 0 : 1, 10000000)) {
                return bad("needs a whole number from 1 up.");
            }
            (i == 3 ? out.stepsLim : i == 4 ? out.stepOut : out.evalMax) = static_cast<int>(v[0]);
            break;
        case 6:
            if (v[0] != 1 && v[0] != 2) {
                return bad("must be 1 or 2.");
            }
            out.setRho = static_cast<int>(v[0]);
            break;
        case 7:
            if (!(v[0] > 2) || !std::isfinite(v[0])) {
                return bad("must be above 2.");
            }
            out.ratio = v[0];
            break;
        default:
            if (!(v[0] >= 0 && v[0] < 1)) {
                return bad("needs a tolerance from 0 to below 1.");
            }
            out.accuracy = v[0];
            break;
        }
    }
    return true;
}

} // namespace veltrana
