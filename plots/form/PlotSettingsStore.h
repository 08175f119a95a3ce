#pragma once

#include "PlotSettings.h"
#include "RegistryStore.h"

#include <array>
#include <string_view>

namespace veltrana {

/// Where the plot settings are kept: the sub-key Graphwick of the company key.
inline constexpr std::string_view kSettingsKey = "Software\\Tamsen Systems\\Graphwick";

/// The colours of the form as designed, and those set when no settings key exists.
extern const std::array<Rgb, 6> kDesignedColours;
extern const std::array<Rgb, 6> kNoKeyColours;

/// The form's settings as designed: designed colours, "Dotted", "X && Y Axes", no fixed ranges.
PlotSettings DesignedSettings();

/// Reads the fifteen values into `settings`. With no settings key the colours become
/// kNoKeyColours and the scaling boxes are emptied; missing numbers read as 0, missing texts
/// as "". The six colours are taken only when "Titles" is not 0; otherwise they stay.
void LoadSettings(const RegistryStore& store, PlotSettings& settings);

/// Writes the settings, creating the key; black and white writes no colours. The first error
/// is returned and nothing after it is written.
RegError SaveSettings(RegistryStore& store, const PlotSettings& settings);

} // namespace veltrana
