#pragma once

#include "PlotSettings.h"

#include <string>
#include <string_view>

namespace veltrana {

/// What the plot sequence needs from the plot window. The window implements it; tests fake it.
class PlotHost {
public:
    virtual ~PlotHost() = default;
    /// The settings in force for the plot about to be drawn.
    virtual PlotSettings plotSettings() const = 0;
    /// Appends to the Output page's text (log lines start with CR LF TAB).
    virtual void appendOutput(std::string_view text) = 0;
    /// Brings the "Plot" page to the front and puts the focus on "Next >>".
    virtual void showPlotPage() = 0;
    virtual void setNextEnabled(bool enabled) = 0;
    /// The canvas drawn on has changed; show it.
    virtual void plotDrawn() = 0;
    /// "Must exit!" with `text`, then the window closes: nothing more is plotted.
    virtual void ShowFatal(std::string_view text) = 0;
    /// The plot's values cannot be drawn (`reason` says why); the box was left empty and the
    /// sequence goes on with the next plot.
    virtual void plotRefused(std::string_view reason) = 0;
    /// A section of the file could not be read and the reader has said so: the sequence ends
    /// here, nothing is drawn from the part that was read.
    virtual void fileDamaged() = 0;
};

} // namespace veltrana
