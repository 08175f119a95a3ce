#include "PlotSettingsStore.h"

#include <string>

namespace veltrana {

namespace {

constexpr Rgb RgbOf(int red, int green, int blue) {
    return static_cast<Rgb>(red) | (static_cast<Rgb>(green) << 8) | (static_cast<Rgb>(blue) << 16);
}

constexpr std::array<const char*, 6> kColourNames = {"Axes",   "Titles", "MiscInfo",
                                                     "Curve1", "Curve2", "Background"};
constexpr int kTitlesSlot = 1;

} // namespace

// Texts and curves stand out on their background (the fixed red of the error curves too):
// darker tones of the hues the form was designed with, a green model against the blue data.
const std::array<Rgb, 6> kDesignedColours = {RgbOf(96, 96, 96),  RgbOf(176, 0, 88),
                                             RgbOf(64, 64, 200), RgbOf(0, 0, 255),
                                             RgbOf(0, 128, 0),   RgbOf(224, 224, 224)};
const std::array<Rgb, 6> kNoKeyColours = {RgbOf(96, 96, 96), RgbOf(176, 0, 88),
                                          RgbOf(128, 0, 0),  RgbOf(0, 0, 255),
                                          RgbOf(0, 128, 0),  RgbOf(232, 232, 232)};

PlotSettings DesignedSettings() {
    PlotSettings settings;
    settings.colours = kDesignedColours;
    settings.gridType = 2;
    settings.gridLines = 1;
    return settings;
}

void LoadSettings(const RegistryStore& store, PlotSettings& settings) {
    const RegRoot root = RegRoot::CurrentUser;
    auto number = [&](const char* name) { return store.numberValue(root, kSettingsKey, name); };
    auto text = [&](const char* name) { return store.stringValue(root, kSettingsKey, name); };

    if (store.KeyExists(root, kSettingsKey)) {
        settings.blackAndWhite = number("BlacknWhite") != 0;
        const int gridType = number("GridType");
        if (gridType >= 0 && gridType < 4) {
            settings.gridType = gridType;
        }
        const int gridLines = number("GridLines");
        if (gridLines >= 0 && gridLines < 4) {
            settings.gridLines = gridLines;
        }
        settings.fixedX = number("chkXaxis") != 0;
        settings.xStepText = text("txtXstep");
        settings.xMinText = text("txtXmin");
        settings.fixedY = number("chkYaxis") != 0;
        settings.yStepText = text("txtYstep");
        settings.yMinText = text("txtYmin");
    } else {
        settings.colours = kNoKeyColours;
        settings.fixedX = false;
        settings.fixedY = false;
        settings.xMinText.clear();
        settings.xStepText.clear();
        settings.yMinText.clear();
        settings.yStepText.clear();
    }
    if (number(kColourNames[kTitlesSlot]) != 0) {
        for (size_t i = 0; i < kColourNames.size(); ++i) {
            settings.colours[i] = static_cast<Rgb>(number(kColourNames[i])) & 0xFFFFFF;
        }
    }
}

RegError SaveSettings(RegistryStore& store, const PlotSettings& settings) {
    const RegRoot root = RegRoot::CurrentUser;
    const RegResult<bool> created = store.CreateKey(root, kSettingsKey);
    if (!created.error.ok()) {
        return created.error;
    }
    RegError error;
    auto number = [&](const char* name, std::int32_t value) {
        if (error.ok()) {
            error = store.SetRegValue(root, kSettingsKey, name, RegType::Number, value);
        }
    };
    auto text = [&](const char* name, const std::string& value) {
        if (error.ok()) {
            error = store.SetRegValue(root, kSettingsKey, name, RegType::String, value);
        }
    };
    number("BlacknWhite", settings.blackAndWhite ? 1 : 0);
    number("GridType", settings.gridType);
    number("GridLines", settings.gridLines);
    if (!settings.blackAndWhite) {
        for (size_t i = 0; i < kColourNames.size(); ++i) {
            number(kColourNames[i], static_cast<std::int32_t>(settings.colours[i] & 0xFFFFFF));
        }
    }
    number("chkXaxis", settings.fixedX ? 1 : 0);
    text("txtXstep", settings.xStepText);
    text("txtXmin", settings.xMinText);
    number("chkYaxis", settings.fixedY ? 1 : 0);
    text("txtYstep", settings.yStepText);
    text("txtYmin", settings.yMinText);
    return error;
}

} // namespace veltrana
