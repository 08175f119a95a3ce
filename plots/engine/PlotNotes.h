#pragma once

#include "LocalDateTime.h"
#include "ResultData.h"

#include <string>

namespace veltrana {

class PlotFrame;

/// The annotations of one plot, drawn in pixel scale before its frame: the header, the
/// sidelobe legend (filter models, `iPlot` 3) and the coefficient lines of the series models.
void DrawPlotNotes(PlotFrame& frame, const ResultData& data, int iPlot, const LocalDateTime& now);
/// Date and time at the top right, the product title, and per model the pole/zero listing,
/// the equation or the DT50 value.
void DrawPlotHeader(PlotFrame& frame, const ResultData& data, const LocalDateTime& now);
/// The pole/zero listing of models -2 and -1, growing upward from reference row 370.
void DrawPoleZeroList(PlotFrame& frame, const ResultData& data);
/// `text` right-aligned 5 pixels from the right edge, on reference row `y`.
void PrintRight(PlotFrame& frame, const std::string& text, double y);

/// The plot header's date: "Mar 07, 2024 14:05:09".
std::string PlotDateText(const LocalDateTime& now);

} // namespace veltrana
