#pragma once

#include "PlotCanvas.h"
#include "PlotSettings.h"

#include <string>

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
};

/// The text routines, titles, coordinate system, axes and grid of a plot. Text rows are given
/// in a 640 x 480 reference frame scaled to the canvas; x positions of texts are in pixels.
class PlotFrame {
public:
    explicit PlotFrame(PlotCanvas& canvas);

    /// Settings read when the next plot is drawn.
    void setSettings(const PlotSettings& settings) { m_settings = settings; }
    const PlotSettings& settings() const { return m_settings; }
    PlotCanvas& canvas() { return m_canvas; }

    /// Screen factors from the canvas size, a cleared canvas, pixel scale.
    void ResetPlotBox();
    double screenFactorX() const { return m_screenFactorX; }
    double screenFactorY() const { return m_screenFactorY; }

    /// The slot's colour, or black in black-and-white mode.
    Rgb PlotColour(int slot) const;
    void SetPlotColour(int slot);

    /// In pixel scale x is in pixels and y in reference rows; in user scale both as given.
    void PrintAt(const std::string& text, double x, double y);
    void PrintCentred(const std::string& text, double y);
    /// prefix and suffix in the Titles colour, sample in Curve1, centred as one text.
    void PrintLegend(const std::string& prefix, const std::string& sample,
                     const std::string& suffix, double y);
    /// `text` in 14-pixel Arial rotated by `angleText` degrees, centred on pixel (x, y).
    void RotateText(const std::string& text, const std::string& angleText, double x, double y);

    /// Titles, axis titles, scale-factor block and the data coordinate system. Applies the
    /// fixed-axis overrides to `bounds`.
    void DrawFrame(const FrameContext& context, PlotBounds& bounds);
    /// Axes, then grid lines or tick marks and labels, in the data coordinate system.
    void Grid(int modelX, double xMin, double xMax, double yMin, double yMax, int iPlot);

    /// Line width of the curves and grid: one unit per 640 canvas pixels.
    int thinWidth() const;

private:
    struct AxisPositions {
        double ax = 0; ///< X position of the Y axis
        double ay = 0; ///< Y position of the X axis
    };
    AxisPositions DrawAxes(int modelX, double xMin, double xMax, double yMin, double yMax);
    void DrawGridAndLabels(double xMin, double xMax, double yMin, double yMax, AxisPositions axes);
    void DrawTitle(const FrameContext& context);
    void DrawScaleFactors(const PlotBounds& bounds);
    void SetCoordinates(const FrameContext& context, PlotBounds& bounds);

    PlotCanvas& m_canvas;
    PlotSettings m_settings;
    double m_screenFactorX = 1;
    double m_screenFactorY = 1;
};

/// The fixed range of an axis from the setup boxes: min from `minText`, max = min + `steps`
/// times the step. Returns false, leaving min and max alone, when the axis is not fixed, the
/// step is 0 or empty, or the range is beyond the numbers the frame can draw.
bool ApplyFixedRange(bool fixed, const std::string& minText, const std::string& stepText, int steps,
                     double& min, double& max);

/// A number in the patterns "###.#" (decimals 1) and "###.##" (decimals 2) of the axis
/// labels: the digits before the point as needed, at least a "0".
std::string FormatAxisLabel(double value, int decimals);

} // namespace veltrana
