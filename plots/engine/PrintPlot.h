#pragma once

#include <string>

class QPrinter;

namespace veltrana {

class PlotRecording;

/// Prints the plot on one page of `printer`, replayed at the printer's own resolution (lines
/// and texts, no picture of the screen): portrait when it is at least as high as wide, else
/// landscape; scaled to the largest size that fits the printable area without distortion;
/// below it, in 11-point type, "Input file name = " path, two TABs, "errorSum = " and the
/// trimmed second header line of the result file.
void PrintPlot(QPrinter& printer, const PlotRecording& plot, const std::string& resultPath,
               const std::string& secondHeaderLine);

/// PrintPlot, telling whether the page went out: false when the printer could not be started
/// (no such printer, an output file that cannot be written) or there is no plot.
bool TryPrintPlot(QPrinter& printer, const PlotRecording& plot, const std::string& resultPath,
                  const std::string& secondHeaderLine);

/// The footer line below a printed plot.
std::string PrintFooter(const std::string& resultPath, const std::string& secondHeaderLine);

/// Where the picture goes on the printable area of pageWidth x pageHeight: the largest size
/// of the picture's shape that fits, at the top-left corner. `footerHeight` is kept free
/// below it so the footer stays on the page.
struct PrintFit {
    double width = 0;
    double height = 0;
    bool operator==(const PrintFit&) const = default;
};
PrintFit FitPicture(int pictureWidth, int pictureHeight, double pageWidth, double pageHeight,
                    double footerHeight);

} // namespace veltrana
