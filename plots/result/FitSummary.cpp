#include "FitSummary.h"

#include "NumberText.h"
#include "Prompter.h"
#include "ResultFile.h"
#include "Text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace veltrana {

namespace {

// Three significant digits are plenty for how close a fit came.
std::string Figure(double value) {
    return SignificantDigits(value, 3);
}

// Answers every prompt as if nobody were there: the read ahead must not speak for the file.
class SilentPrompter : public Prompter {
public:
    PromptAnswer message(const Prompt&) override { return PromptAnswer::Ok; }
    std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::uint32_t> colorDialog(std::uint32_t) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};

} // namespace

std::string SignificantDigits(double value, int digits) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0,
                                      std::chars_format::general, digits);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool HasFit(int model) {
    return model != 0 && model != 110;
}

FitFigures MeasureFit(const ResultData& d, const std::vector<double>* ripple) {
    FitFigures figures;
    figures.errorSum = ParseNumber(TrimBlanks(d.secondLine));
    const bool series = d.modelX >= 1 && d.modelX <= 8;
    const size_t rows = std::min({d.pointX.size(), d.pointY1.size(), d.pointY2.size(),
                                  static_cast<size_t>(std::max(d.nPoints, 0))});
    const auto data = [&](size_t i) { return series ? d.pointY1[i] : d.pointY1[i] + d.pointY2[i]; };
    // Relative to the largest data value: a point-by-point ratio would grow without bound
    // where the data fall towards 0, at a filter's skirts.
    double scale = 0;
    for (size_t i = 0; i < rows; ++i)
        scale = std::max(scale, std::fabs(data(i)));
    if (scale == 0 || !std::isfinite(scale))
        return figures;
    double squares = 0;
    for (size_t i = 0; i < rows; ++i) {
        const double relative = std::fabs(d.pointY2[i]) / scale * 100;
        squares += relative * relative;
        if (i == 0 || relative > figures.maxPercent) {
            figures.maxPercent = relative;
            figures.maxAt = d.pointX[i];
        }
    }
    figures.points = static_cast<int>(rows);
    figures.rmsPercent = std::sqrt(squares / static_cast<double>(rows));
    if (ripple && !ripple->empty()) {
        const auto [lo, hi] = std::minmax_element(ripple->begin(), ripple->end());
        figures.rippleNs = *hi - *lo;
    }
    return figures;
}

std::string FitSummaryText(const FitFigures& f, int model) {
    std::string text = "\r\n\t \r\n\t ================= Fit achieved ==================";
    if (f.errorSum)
        text += "\r\n\t The error sum of the fit is " + GeneralNumber(*f.errorSum) + ".";
    const std::string where = model == -2 ? " pass-band points" : " data points";
    if (f.points > 0) {
        const std::string at = model == -2 ? Figure(f.maxAt) + " MHz" : "X = " + Figure(f.maxAt);
        text += "\r\n\t Over the " + std::to_string(f.points) + where +
                " the error, relative to the largest data value, is " + Figure(f.rmsPercent) +
                " % RMS and at most " + Figure(f.maxPercent) + " % (at " + at + ").";
    } else {
        text += "\r\n\t The relative error cannot be given: every data value is 0.";
    }
    if (f.rippleNs)
        text += "\r\n\t The group delay ripples by " + Figure(*f.rippleNs) + " ns peak to peak.";
    return text;
}

std::optional<std::vector<double>> ReadRippleAhead(const std::string& path,
                                                   const ResultData& data) {
    SilentPrompter quiet;
    ResultFile ahead(quiet);
    if (ahead.ReadResultFile(path) != ReadStatus::Ok)
        return std::nullopt;
    const ResultData& d = ahead.data();
    if (d.pointX != data.pointX || d.pointY1 != data.pointY1 || d.pointY2 != data.pointY2 ||
        d.delayMatched != 1)
        return std::nullopt;
    if (d.nOmegaZeros >= 2 && ahead.ReadSection(ResultSection::Sidelobe) != ReadStatus::Ok)
        return std::nullopt;
    if (ahead.ReadSection(ResultSection::Ripple) != ReadStatus::Ok)
        return std::nullopt;
    return ahead.data().pointY2;
}

} // namespace veltrana
