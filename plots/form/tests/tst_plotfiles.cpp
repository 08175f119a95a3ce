#include "PlotFileRoutines.h"
#include "PlotReadout.h"
#include "PlotSettingsStore.h"

#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

// The usual names (and the caption without a file) are checked through the form's commands;
// here the odd ones.
TEST(PlotFiles, OddNamesGiveSensibleProposalsQuestionsAndTypes) {
    EXPECT_EQ(SaveAsProposal("/runs/run.tar.dat"), "run.bmp");
    EXPECT_EQ(SaveAsProposal("/runs/.hidden"), ".hidden.bmp");
    EXPECT_EQ(ReplaceQuestion("/A/Run1.BMP").title, "Replace /a/run1.bmp file?");
}

TEST(PlotFiles, SaveAsTypeAndNameFollowTheExtensionOrElseTheFilter) {
    // typed name, filter chosen, name written, type written
    const std::tuple<const char*, int, const char*, PlotFileType> cases[] = {
        {"/a/plot.PNG", 1, "/a/plot.PNG", PlotFileType::Png}, // the extension wins
        {"/a.png/plot", 1, "/a.png/plot.bmp", PlotFileType::Bitmap},
        {"/a/plot", 3, "/a/plot.svg", PlotFileType::Svg},
        {"/a/plot", 4, "/a/plot.pdf", PlotFileType::Pdf},
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
    const std::tuple<double, const char*> cases[] = {{0.5, "0.5"},
                                                     {1234567, "1.235E+06"},
                                                     {-0.000012345, "-1.234E-05"},
                                                     {-0.0, "0"},
                                                     {12.3456, "12.35"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(ReadoutNumber(value), text);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(ReadoutText(2, -3.5), "X = 2   Y = -3.5");
}

// Contrast ratio of two colours as WCAG 2 defines it (1 to 21).
double Contrast(Rgb a, Rgb b) {
    const auto luminance = [](Rgb rgb) {
        double sum = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double c = ((rgb >> (8 * i)) & 0xFF) / 255.0;
            sum += weights[i] * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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

class PlotSettingsStoreTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        store = std::make_unique<RegistryStore>(in("registry"));
    }
    void set(const char* name, std::int32_t value) {
        store->CreateKey(RegRoot::CurrentUser, kSettingsKey);
        store->SetRegValue(RegRoot::CurrentUser, kSettingsKey, name, RegType::Number, value);
    }
    std::unique_ptr<RegistryStore> store;
};

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

TEST_F(PlotSettingsStoreTest, KeyStatesGiveTheirDefaults) {
    PlotSettings noKey = DesignedSettings();
    noKey.fixedX = true;
    noKey.xMinText = "5";
    LoadSettings(*store, noKey);
    EXPECT_EQ(noKey.colours, kNoKeyColours);
    EXPECT_FALSE(noKey.fixedX);
    EXPECT_EQ(noKey.xMinText, "");

    set("BlacknWhite", 1);
    PlotSettings onlyBw = DesignedSettings();
    LoadSettings(*store, onlyBw);
    EXPECT_TRUE(onlyBw.blackAndWhite);
    EXPECT_EQ(onlyBw.gridType, 0);  // "Solid"
    EXPECT_EQ(onlyBw.gridLines, 0); // "No Grid Lines"
    EXPECT_EQ(onlyBw.colours, kDesignedColours);

    set("GridType", 7); // out of range: the choice stays
    set("Axes", 0x123456);
    PlotSettings titlesBlack = DesignedSettings();
    LoadSettings(*store, titlesBlack);
    EXPECT_EQ(titlesBlack.gridType, 2);
    EXPECT_EQ(titlesBlack.colours, kDesignedColours); // "Titles" 0: colours untouched
}

} // namespace
