#pragma once

#include "ResultData.h"

#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// The curves of one plot, in the units of the result file: one X column and one column per
/// curve.
struct PlotData {
    std::string xName; ///< e.g. "Frequency (MHz)"
    std::vector<double> x;
    struct Curve {
        std::string name;
        std::vector<double> y;
    };
    std::vector<Curve> curves;
};

/// The curves of the plot the plot sequence shows, taken from what it was drawn from: the
/// point table or the trailing section read last, and the plot's number `iPlot` and step
/// `plotStep` as the sequence left them. Nothing before the first plot and for the map of
/// poles and zeros, which has no curves.
std::optional<PlotData> ShownPlotData(const ResultData& data, int iPlot, int plotStep);

/// The plot's data as CSV: a header line of the column names, then one line per point with
/// every number in 17 significant digits.
std::string PlotDataCsv(const PlotData& plot);

} // namespace veltrana
