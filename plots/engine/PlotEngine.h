#pragma once

#include "LocalDateTime.h"
#include "PlotCanvas.h"
#include "PlotFrame.h"
#include "PlotHost.h"
#include "PlotSettings.h"
#include "ResultFile.h"

#include <functional>
#include <string>
#include <vector>

namespace veltrana {

/// The plot sequence over one result file: which plot comes next, its arrays, its frame,
/// grid, annotations and curves, all drawn on one canvas.
class PlotEngine {
public:
    PlotEngine(PlotCanvas& canvas, ResultFile& file, PlotHost& host);

    /// One step of the sequence: draws the next plot, or ends the run through ShowFatal when
    /// the section it needs is missing or empty.
    void PlotNext();
    /// Back to before the first plot (a new file, or Quit).
    void reset();

    int plotStep() const { return m_plotStep; }
    int iPlot() const { return m_iPlot; }
    /// Bounds of the last plot in scaled units, for the form's scaling boxes.
    double xMin() const { return m_bounds.xMin; }
    double xMax() const { return m_bounds.xMax; }
    double yMin() const { return m_bounds.yMin; }
    double yMax() const { return m_bounds.yMax; }
    int xExp() const { return m_bounds.xExp; }
    int yExp() const { return m_bounds.yExp; }

    /// Axes, grid and labels of the current plot (the plot window's `Grid`).
    void Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot);

    /// The clock whose date and time the plot headers show (tests fix it).
    void setClock(std::function<LocalDateTime()> clock) { m_clock = std::move(clock); }

private:
    void PlotCurves();
    void PlotPoleZeroMap();
    void SetupXAxis();
    void SetupYAxis();
    void DrawCurves();
    void DrawPolyline(const std::vector<double>& values, Rgb colour);
    void PlaceMarker(const std::string& text, double x, double y);

    bool ReadSection(ResultSection section, const char* warning);
    void Log(const std::string& message);
    void NotesAndFrameStart();
    FrameContext Context() const;
    const ResultData& data() const { return m_file.data(); }

    PlotCanvas& m_canvas;
    ResultFile& m_file;
    PlotHost& m_host;
    PlotFrame m_frame;
    std::function<LocalDateTime()> m_clock = LocalDateTime::Now;

    int m_plotStep = 0;
    int m_iPlot = 0;
    PlotBounds m_bounds;
    double m_xScale = 1, m_yScale = 1;
    /// The third column of the point table as the sequence changes it (the sum of step 2).
    std::vector<double> m_table3;
    std::vector<double> m_xPlot, m_yPlotA, m_yPlotB, m_yPlotC;
};

} // namespace veltrana
