#pragma once

#include "LocalDateTime.h"
#include "PlotCanvas.h"
#include "PlotFrame.h"
#include "PlotHost.h"
#include "PlotSettings.h"
#include "ResultFile.h"

#include <QPointF>
#include <QRectF>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veltrana {

/// The plot sequence over one result file: which plot comes next, its arrays, its frame,
/// grid, annotations and curves, all drawn on one canvas. The plot shown keeps what it was
/// drawn from, so that it can be drawn again at another size or zoomed.
class PlotEngine {
public:
    PlotEngine(PlotCanvas& canvas, ResultFile& file, PlotHost& host);

    /// One step of the sequence: draws the next plot, or ends the run through ShowFatal when
    /// the section it needs is missing or empty.
    void PlotNext();
    /// Back to before the first plot (a new file, or Quit). The plot shown stays.
    void reset();

    /// Draws the plot shown again on the canvas as it is now (its size), from the data and
    /// settings it was first drawn with, and the zoom. Nothing is logged. False when there is
    /// no plot to draw.
    bool Redraw();
    bool hasPlot() const { return m_shown.has_value(); }

    /// Zooms into the rectangle of canvas pixels: its X and Y ranges become the plot's axis
    /// ranges, scaled by the same rules as the data's, and the plot is drawn again. False (and
    /// nothing changes) when no plot is shown or the rectangle holds no range.
    bool ZoomTo(const QRectF& pixels);
    /// Back to the whole plot.
    bool Unzoom();
    bool zoomed() const { return m_shown && m_shown->zoom.has_value(); }

    /// The X and Y values under canvas pixel `pixel`, in the plot's units; nothing when no
    /// plot is drawn.
    std::optional<QPointF> ValuesAt(QPointF pixel) const;

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

    /// Curve-vs-data plots with at most this many points show the data as markers.
    static constexpr int kMarkerLimit = 300;

private:
    /// Raw ranges of both axes, in the data's units.
    struct Range {
        double lo = 0, hi = 0;
    };
    /// What one plot is drawn from.
    struct Shown {
        bool map = false;
        int iPlot = 0;
        int counter = 0; ///< where the sequence stood when it was first drawn
        ResultData data;
        std::vector<double> a, b, c; ///< yPlotA, yPlotB, yPlotC before scaling
        PlotSettings settings;
        LocalDateTime time;
        std::optional<std::pair<Range, Range>> zoom;
    };

    void Show(bool map);
    /// False when the values cannot be drawn (the host has been told by the caller).
    bool Draw(const Shown& shown, bool log, std::string* refusal);
    bool DrawCurves(const Shown& shown, bool log, std::string* refusal);
    bool DrawMap(const Shown& shown, bool log, std::string* refusal);
    Range XRange(const Shown& shown) const;
    Range YRange(const Shown& shown) const;
    /// Scales one axis's range and applies its fixed range (unless zoomed) into m_bounds.
    void ScaleAxisOf(const Shown& shown, Range range, bool xAxis, std::string& log);
    void PlotCurves(const Shown& shown, std::vector<double>& x, std::vector<double>& a,
                    std::vector<double>& b, std::vector<double>& c);
    void DrawPolyline(const std::vector<double>& x, const std::vector<double>& values, int n,
                      Rgb colour);
    void DrawMarkers(const std::vector<double>& x, const std::vector<double>& values, int n,
                     Rgb colour);
    void PlaceMarker(const std::string& text, double x, double y);

    bool ReadSection(ResultSection section, const char* warning);
    void Log(const std::string& message);
    FrameContext Context(const Shown& shown) const;
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
    std::vector<double> m_yPlotA, m_yPlotB, m_yPlotC;
    std::optional<Shown> m_shown;
    bool m_drawn = false; // the canvas holds the shown plot in its data scale
};

} // namespace veltrana
