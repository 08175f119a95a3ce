#pragma once

#include "PlotCanvas.h"

#include <array>
#include <string>

namespace veltrana {

/// The plot form's settings as the engine reads them: plain values handed over by the form,
/// never read from its widgets.
struct PlotSettings {
    enum Slot { Axes = 0, Titles = 1, MiscInfo = 2, Curve1 = 3, Curve2 = 4, Background = 5 };
    std::array<Rgb, 6> colours{}; ///< the six swatches, red in the lowest byte
    bool blackAndWhite = false;
    int gridType = 2;  ///< 0 Solid, 1 Dashed, 2 Dotted, 3 Dashed-Dot-Dot
    int gridLines = 1; ///< 0 none, 1 X and Y, 2 X only, 3 Y only
    bool fixedX = false;
    std::string xMinText, xStepText; ///< as typed; read with the number helper when fixedX
    bool fixedY = false;
    std::string yMinText, yStepText;
    bool operator==(const PlotSettings&) const = default;
};

} // namespace veltrana
