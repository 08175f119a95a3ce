#pragma once

#include "PlotCanvas.h"
#include "PlotSettings.h"

#include <QPointF>

#include <string>
#include <vector>

namespace veltrana {

/// Bounds of one plot in scaled units and the decade exponents of its axes.
struct PlotBounds {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    int xExp = 0, yExp = 0;
};

/// What the frame needs to know of the plot being drawn.
struct FrameContext {
    int modelX = 0;
    int iPlot = 0;
    int plotCounter = 0; ///< where the sequence stood when the plot was drawn
    int nOmegaZeros = 0;
    int delayMatched = 0;
    bool zoomed = false;      ///< the axes show a zoomed range: the fixed ranges give way
    bool dataMarkers = false; ///< the data are drawn as markers: the legend shows one
};

/// The text routines, titles, coordinate system, axes and grid of a plot. Text rows are given
/// in a 640 x 480 reference frame scaled to the canvas; x positions of texts are in pixels.
/// Texts are as large as designed on a box of kDesignedWidth x kDesignedHeight and scale
/// with the box, never below a readable floor. Axis labels that would fall outside the box,
/// outside their axis, or on another text are moved a little or left out.
class PlotFrame {
public:
    /// The plot box of the window at its designed size.
    static constexpr double kDesignedWidth = 964;
    static constexpr double kDesignedHeight = 610;
    /// No text is drawn smaller than this, in points (unless asked for smaller).
    static constexpr double kFloorPoints = 6.5;

    explicit PlotFrame(PlotCanvas& canvas);

    /// Settings read when the next plot is drawn.
    void setSettings(const PlotSettings& settings) { m_settings = settings; }
    const PlotSettings& settings() const { return m_settings; }
    PlotCanvas& canvas() { return m_canvas; }

    /// Screen factors and text scale from the canvas size, a cleared canvas, pixel scale.
    void ResetPlotBox();
    double screenFactorX() const { return m_screenFactorX; }
    double screenFactorY() const { return m_screenFactorY; }
    /// Text sizes (and the small pixel distances around texts) relative to the designed box.
    double textScale() const { return m_textScale; }

    /// The slot's colour, or black in black-and-white mode.
    Rgb PlotColour(int slot) const;
    void SetPlotColour(int slot);

    /// In pixel scale x is in pixels and y in reference rows; in user scale both as given.
    void PrintAt(const std::string& text, double x, double y);
    void PrintCentred(const std::string& text, double y);
    /// prefix and suffix in the Titles colour, sample in Curve1, centred as one text. With
    /// `markerSample` a data marker stands in the sample's place instead of its text.
    void PrintLegend(const std::string& prefix, const std::string& sample,
                     const std::string& suffix, double y, bool markerSample = false);
    /// `text` in 14-pixel Arial rotated by `angleText` degrees, centred on pixel (x, y).
    void RotateText(const std::string& text, const std::string& angleText, double x, double y);

    /// Titles, axis titles, scale-factor block and the data coordinate system. Applies the
    /// fixed-axis overrides to `bounds`.
    void DrawFrame(const FrameContext& context, PlotBounds& bounds);
    /// Axes, then grid lines or tick marks and labels, in the data coordinate system.
    void Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot);

    /// Line width of the curves and grid: one unit per 640 canvas pixels.
    int thinWidth() const;
    /// Radius in pixels of a data marker.
    double markerRadius() const;

private:
    struct AxisPositions {
        double ax = 0; ///< X position of the Y axis
        double ay = 0; ///< Y position of the X axis
    };
    AxisPositions DrawAxes(int modelX, double xMin, double xMax, double yMin, double yMax);
    void DrawGridAndLabels(double xMin, double xMax, double yMin, double yMax, AxisPositions axes);
    void DrawTitle(const FrameContext& context);
    void DrawXTitle(const FrameContext& context);
    void DrawScaleFactors(const PlotBounds& bounds);
    void SetCoordinates(const FrameContext& context, PlotBounds& bounds);
    /// Prints `text` at pixel (x, y) or, when that place is taken or outside the box, at the
    /// nearest of the places `shift` gives (offsets in pixels); false when none is free.
    bool PrintLabel(const std::string& text, double x, double y,
                    const std::vector<QPointF>& shifts);

    PlotCanvas& m_canvas;
    PlotSettings m_settings;
    double m_screenFactorX = 1;
    double m_screenFactorY = 1;
    double m_textScale = 1;
};

/// Why the fixed range of an axis from the setup boxes cannot be used ("" when it can, or
/// when the axis is not fixed): a minimum or step that is empty or not a number, a step that
/// is not above 0, a range beyond the numbers the frame can draw.
std::string FixedRangeProblem(bool fixed, const std::string& minText, const std::string& stepText,
                              int steps);
/// The fixed range of an axis from the setup boxes: min from `minText`, max = min + `steps`
/// times the step. Returns false, leaving min and max alone, when the axis is not fixed or
/// its range cannot be used (FixedRangeProblem says why).
bool ApplyFixedRange(bool fixed, const std::string& minText, const std::string& stepText, int steps,
                     double& min, double& max);

/// A number in the patterns "###.#" (decimals 1) and "###.##" (decimals 2) of the axis
/// labels: the digits before the point as needed, at least a "0".
std::string FormatAxisLabel(double value, int decimals);

} // namespace veltrana
