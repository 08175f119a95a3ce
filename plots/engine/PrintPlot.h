#pragma once

#include <QImage>

#include <string>

class QPagedPaintDevice;
class QPrinter;

namespace veltrana {

/// Prints `picture` on one page of `printer`: portrait when it is at least as high as wide,
/// else landscape; scaled to the largest size that fits the printable area without
/// distortion; below it, in 11-point type, "Input file name = " path, two TABs,
/// "errorSum = " and the trimmed second header line of the result file.
void PrintPlot(QPrinter& printer, const QImage& picture, const std::string& resultPath,
               const std::string& secondHeaderLine);

} // namespace veltrana
