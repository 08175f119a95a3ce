#include "PlotDataExport.h"

#include "ConstellationExport.h"

#include <algorithm>

namespace veltrana {

namespace {

bool IsFilter(int model) {
    return model == -2 || model == -1;
}

std::vector<double> Sum(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> sum(std::min(a.size(), b.size()));
    for (std::size_t i = 0; i < sum.size(); ++i)
        sum[i] = a[i] + b[i];
    return sum;
}

} // namespace

std::optional<PlotData> ShownPlotData(const ResultData& d, int iPlot, int plotStep) {
    const int model = d.modelX;
    if (iPlot <= 0 || (IsFilter(model) && iPlot == 1 && plotStep == 1))
        return std::nullopt;
    PlotData plot;
    // The X axis says frequency for the filter model -2 and for the sidelobes, else time.
    plot.xName = iPlot == 5 ? "Time (ns)" : model == -2 || iPlot == 3 ? "Frequency (MHz)" : "Time";
    plot.x = d.pointX;
    const auto& y1 = d.pointY1;
    const auto& y2 = d.pointY2;
    switch (iPlot) {
    case 1:
        if (model == 0)
            plot.curves = {{"Y", y1}, {"Ydot", y2}};
        else if (model == 110)
            plot.curves = {{"Y1 + Y2", Sum(y1, y2)}, {"Y1", y1}, {"Y2", y2}};
        else
            plot.curves = {{"Error amplitude", y2}};
        break;
    case 2:
        // The sequence draws the data dashed and the model solid: which column is which
        // depends on the model.
        if (model >= 1 && model <= 8)
            plot.curves = {{"Data", y1}, {"Model", Sum(y1, y2)}};
        else
            plot.curves = {{"Data", Sum(y1, y2)}, {"Model", y1}};
        break;
    case 3:
        plot.curves = {{"Sidelobe (dB)", y2}};
        break;
    case 4:
        plot.curves = {{"Group delay ripple (ns)", y2}};
        break;
    default:
        plot.curves = {{"h(t)", y2}};
        break;
    }
    // The rows of the table or section read last; arrays may hold more from earlier files.
    std::size_t rows = static_cast<std::size_t>(std::max(d.nPoints, 0));
    rows = std::min(rows, plot.x.size());
    for (const auto& curve : plot.curves)
        rows = std::min(rows, curve.y.size());
    plot.x.resize(rows);
    for (auto& curve : plot.curves)
        curve.y.resize(rows);
    return plot;
}

std::string PlotDataCsv(const PlotData& plot) {
    std::string out = plot.xName;
    for (const auto& curve : plot.curves)
        out += "," + curve.name;
    out += "\r\n";
    for (std::size_t i = 0; i < plot.x.size(); ++i) {
        out += ExactNumber(plot.x[i]);
        for (const auto& curve : plot.curves)
            out += "," + ExactNumber(curve.y[i]);
        out += "\r\n";
    }
    return out;
}

} // namespace veltrana
