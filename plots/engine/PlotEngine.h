#pragma once

#include "PlotCanvas.h"
#include "PlotHost.h"
#include "PlotSettings.h"
#include "ResultFile.h"

#include <string>
#include <vector>

namespace veltrana {

/// The plot sequence over one result file: which plot comes next, its arrays, its frame,
/// grid, annotations and curves, all drawn on one canvas.
class PlotEngine {
public:
    PlotEngine(PlotCanvas& canvas, ResultFile& file, PlotHost& host);

    /// One step of the sequence: draws the next plot.
    void PlotNext();
    /// Back to before the first plot (a new file, or Quit).
    void reset();

    int plotStep() const { return m_plotStep; }
    int iPlot() const { return m_iPlot; }
    /// Bounds of the last plot in scaled units, for the form's scaling boxes.
    double xMin() const { return m_xMin; }
    double xMax() const { return m_xMax; }
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }

    /// Axes, grid and labels of the current plot (the plot window's `Grid`).
    void Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot);

private:
    PlotCanvas& m_canvas;
    ResultFile& m_file;
    PlotHost& m_host;
    PlotSettings m_settings;

    int m_plotStep = 0;
    int m_iPlot = 0;
    int m_plotCounter = 0;
    double m_xMin = 0, m_xMax = 0, m_yMin = 0, m_yMax = 0;
    int m_xExp = 0, m_yExp = 0;
    double m_xScale = 1, m_yScale = 1;
    std::vector<double> m_xPlot, m_yPlotA, m_yPlotB, m_yPlotC;
};

} // namespace veltrana
