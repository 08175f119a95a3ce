#include "PlotFileRoutines.h"
#include "PlotReadout.h"
#include "PlotSettingsStore.h"
#include "PlotsFormFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// The usual names (and the caption without a file) are checked through the form's commands;
// here the odd ones, and the type a name and a filter give.
TEST(PlotFiles, OddNamesAndSaveAsTypes) {
    EXPECT_EQ(SaveAsProposal("/runs/run.tar.dat"), "run.bmp");
    EXPECT_EQ(SaveAsProposal("/runs/.hidden"), ".hidden.bmp");
    EXPECT_EQ(ReplaceQuestion("/A/Run1.BMP").title, "Replace /a/run1.bmp file?");
    // typed name, filter chosen, name written, type written
    const std::tuple<const char*, int, const char*, PlotFileType> cases[] = {
        {"/a/plot.PNG", 1, "/a/plot.PNG", PlotFileType::Png}, // the extension wins
        {"/a.png/plot", 1, "/a.png/plot.bmp", PlotFileType::Bitmap},
        {"/a/plot", 3, "/a/plot.svg", PlotFileType::Svg},
        {"/a/plot", 5, "/a/plot", PlotFileType::Bitmap}, // all files: as typed
        {"/a/plot.v2", 4, "/a/plot.v2", PlotFileType::Pdf},
    };
    for (const auto& [typed, filter, written, type] : cases) {
        EXPECT_EQ(WithFilterExtension(typed, filter), written) << typed;
        EXPECT_EQ(PlotFileTypeFor(WithFilterExtension(typed, filter), filter), type) << typed;
    }
}

TEST(PlotReadout, FourSignificantDigitsWithAPointWhateverTheLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    std::vector<std::string> texts;
    std::ranges::transform(std::vector{0.5, 1234567.0, -0.000012345, -0.0, 12.3456},
                           std::back_inserter(texts), ReadoutNumber);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(texts, (std::vector<std::string>{"0.5", "1.235E+06", "-1.234E-05", "0", "12.35"}));
}

// Relative luminance of a colour, red in the lowest byte, as WCAG 2 defines it.
double Luminance(Rgb rgb) {
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        const double c = ((rgb >> (8 * i)) & 0xFF) / 255.0;
        sum += std::array{0.2126, 0.7152, 0.0722}[i] *
               (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

// Contrast ratio of two colours (1 to 21).
double Contrast(Rgb a, Rgb b) {
    const auto [dark, light] = std::minmax({Luminance(a), Luminance(b)}); // values, not references
    return (light + 0.05) / (dark + 0.05);
}

// Both default sets: texts readable (4.5:1) and curves, the fixed red one too, visible (3:1)
// on the background.
TEST(PlotColours, DefaultsStandOutOnTheirBackground) {
    constexpr Rgb kRed = 0x0000FF;
    for (const auto& colours : {kDesignedColours, kNoKeyColours}) {
        const Rgb back = colours[PlotSettings::Background];
        for (int slot : {PlotSettings::Axes, PlotSettings::Titles, PlotSettings::MiscInfo})
            EXPECT_GE(Contrast(colours[slot], back), 4.5) << slot;
        for (Rgb curve : {colours[PlotSettings::Curve1], colours[PlotSettings::Curve2], kRed})
            EXPECT_GE(Contrast(curve, back), 3) << std::hex << curve;
    }
}

using PlotSettingsStoreTest = PlotsFormFixture;

// Black and white saves no colours: the coloured ones saved before come back.
TEST_F(PlotSettingsStoreTest, SavedSettingsReadBackAndBlackAndWhiteKeepsTheStoredColours) {
    PlotSettings saved = DesignedSettings();
    saved.colours = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    saved.gridType = 3;
    saved.gridLines = 0;
    saved.fixedX = true;
    saved.xMinText = "-1.5";
    saved.xStepText = "0,25 typed";
    saved.yStepText = "1e-3";
    for (bool bw : {false, true}) {
        PlotSettings written = saved;
        written.blackAndWhite = bw;
        if (bw)
            written.colours.fill(0x777777);
        ASSERT_TRUE(SaveSettings(*store, written).ok());
        PlotSettings read = DesignedSettings();
        LoadSettings(RegistryStore(in("registry")), read);
        written.colours = saved.colours;
        EXPECT_EQ(read, written) << bw;
    }
}

// No key: the colours of no key and no fixed range. Only "BlacknWhite": its grid and colours
// as designed; a grid type out of range leaves the choice, "Titles" 0 the colours.
TEST_F(PlotSettingsStoreTest, KeyStatesGiveTheirDefaults) {
    PlotSettings s = DesignedSettings();
    s.fixedX = true;
    s.xMinText = "5";
    LoadSettings(*store, s);
    EXPECT_EQ(std::tuple(s.colours, s.fixedX, s.xMinText), std::tuple(kNoKeyColours, false, ""));

    store->CreateKey(RegRoot::CurrentUser, kSettingsKey);
    const auto set = [this](const char* name, std::int32_t value) {
        store->SetRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Number, value);
    };
    set("BlacknWhite", 1);
    LoadSettings(*store, s = DesignedSettings());
    EXPECT_EQ(std::tuple(s.blackAndWhite, s.gridType, s.gridLines, s.colours),
              std::tuple(true, 0, 0, kDesignedColours));
    set("GridType", 7);
    set("Axes", 0x123456);
    LoadSettings(*store, s = DesignedSettings());
    EXPECT_EQ(std::tuple(s.gridType, s.colours), std::tuple(2, kDesignedColours));
}

} // namespace
