#include "ConstellationExport.h"
#include "PlotDataExport.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <numbers>

using namespace veltrana;

namespace {

ResultData Read(const char* name, int sections = 0) {
    ScriptedPrompter prompter;
    ResultFile file(prompter);
    EXPECT_EQ(file.ReadResultFile(std::string(VELTRANA_TEST_DATA) + "/" + name), ReadStatus::Ok);
    for (int s = 0; s < sections; ++s)
        EXPECT_EQ(file.ReadSection(static_cast<ResultSection>(s)), ReadStatus::Ok);
    return file.data();
}

std::vector<std::string> Split(const std::string& text, const std::string& by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

double Number(const std::string& text) {
    double value = std::nan("");
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << "'" << text << "'";
    return value;
}

TEST(Constellation, EveryPoleAndZeroOfTheResultFile) {
    // model_m2.dat: a sigma pole at -.35; pairs (-.2, 0), (-.3, 1.5), (-.1, 2.5) after sorting;
    // a single sigma zero at -.5; omega zeros 1, 2.5, 4; one zero pair (-.2, .8) and one quad
    // (-.3, 1.2).
    const Constellation c = ConstellationOf(Read("model_m2.dat"));
    std::vector<std::tuple<bool, std::string, int, double, double>> roots;
    for (const Root& r : c.roots)
        roots.emplace_back(r.pole, r.kind, r.number, r.real, r.imaginary);
    const decltype(roots) expected = {
        {true, "sigma axis", 1, -.35, 0}, {true, "pair", 1, -.2, 0},
        {true, "pair", 1, -.2, -0.0},     {true, "pair", 2, -.3, 1.5},
        {true, "pair", 2, -.3, -1.5},     {true, "pair", 3, -.1, 2.5},
        {true, "pair", 3, -.1, -2.5},     {false, "sigma axis", 1, -.5, 0},
        {false, "omega axis", 1, 0, 1},   {false, "omega axis", 1, 0, -1},
        {false, "omega axis", 2, 0, 2.5}, {false, "omega axis", 2, 0, -2.5},
        {false, "omega axis", 3, 0, 4},   {false, "omega axis", 3, 0, -4},
        {false, "pair", 1, -.2, .8},      {false, "pair", 1, -.2, -.8},
        {false, "quad", 1, -.3, 1.2},     {false, "quad", 1, .3, 1.2},
        {false, "quad", 1, -.3, -1.2},    {false, "quad", 1, .3, -1.2}};
    EXPECT_EQ(roots, expected);
    EXPECT_EQ(c.gain, 123.45);
    // The file's record after the gain holds two zeros and no frequency norm.
    EXPECT_EQ(c.passBandSum, 0.0);
    EXPECT_FALSE(c.freqNormMHz.has_value());
    EXPECT_FALSE(c.totalSum.has_value()); // its second line is no number
}

TEST(Constellation, SigmaZeroDoubletAndLosslessPairCountTwiceEach) {
    ResultData d;
    d.nSigmaZeros = 1;
    d.sigmaZeroLoc = -.5;
    const std::tuple<int, int, std::vector<double>> cases[] = {
        {0, 0, {-.5}}, {1, 0, {-.5, -.5}}, {0, 1, {-.5, .5}}, {1, 1, {-.5, .5, -.5, .5}}};
    for (const auto& [doublet, paired, zeros] : cases) {
        d.zeroDoublet = doublet;
        d.zeroPaired = paired;
        std::vector<double> got;
        for (const Root& r : ConstellationOf(d).roots)
            got.push_back(r.real);
        EXPECT_EQ(got, zeros) << doublet << paired;
    }
}

TEST(Constellation, ResonanceAndQualityFactorOfAPair) {
    // |-.3 + .4j| = .5; Q = .5 / (2 * .3) = 5/6. On an axis there is no Q.
    const Root pair{true, "pair", 1, -.3, .4};
    EXPECT_NEAR(NaturalFrequency(pair), .5, 1e-15);
    EXPECT_NEAR(*QualityFactor(pair), 5.0 / 6, 1e-15);
    EXPECT_FALSE(QualityFactor({false, "omega axis", 1, 0, 2}).has_value());
    EXPECT_FALSE(QualityFactor({true, "sigma axis", 1, -2, 0}).has_value());
}

class ExportRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        d.titleLine = "Fit \"7\", second try";
        d.secondLine = "0.30000000000000004";
        d.gainText = "1.2345678901234567E-7";
        d.nSigmaPoles = 1;
        d.sigmaPole = -1.0 / 3;
        d.nPolePairs = 2;
        d.pairReal = {-0.1, -std::numbers::pi / 100};
        d.pairImag = {2.0 / 3, 123456.78901234567};
        d.nOmegaZeros = 1;
        d.omegaZeros = {1.0000000000000002};
        d.fitRecord = {1e-300, 0.1, 0.2, 7.3};
        // Written under a locale whose decimal point is a comma, where one is installed.
        m_locale = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        c = ConstellationOf(d);
        csv = ConstellationCsv(c);
        json = ConstellationJson(c);
    }
    void TearDown() override { std::setlocale(LC_ALL, m_locale.c_str()); }

    ResultData d;
    Constellation c;
    std::string csv, json;
    std::string m_locale;
};

TEST_F(ExportRoundTrip, CsvReadsBackAsTheSameDoubles) {
    const std::vector<std::string> blocks = Split(csv, "\r\n\r\n");
    ASSERT_EQ(blocks.size(), 2u);
    const std::vector<std::string> lines = Split(blocks[0], "\r\n");
    ASSERT_EQ(lines.size(), 1 + c.roots.size());
    EXPECT_EQ(lines[0], "element,number,real,imaginary,real MHz,imaginary MHz,f0 MHz,Q");
    for (std::size_t i = 0; i < c.roots.size(); ++i) {
        const Root& r = c.roots[i];
        const std::vector<std::string> cells = Split(lines[i + 1], ",");
        ASSERT_EQ(cells.size(), 8u) << lines[i + 1];
        EXPECT_EQ(Number(cells[2]), r.real);
        EXPECT_EQ(Number(cells[3]), r.imaginary);
        EXPECT_EQ(Number(cells[4]), r.real * 7.3);
        EXPECT_EQ(Number(cells[5]), r.imaginary * 7.3);
        EXPECT_EQ(cells[6].empty(), r.imaginary == 0);
        EXPECT_EQ(cells[7].empty(), r.imaginary == 0 || r.real == 0);
    }
    std::map<std::string, std::string> values;
    for (const std::string& line : Split(blocks[1], "\r\n")) {
        const std::size_t comma = line.find(',');
        if (comma != std::string::npos)
            values[line.substr(0, comma)] = line.substr(comma + 1);
    }
    EXPECT_EQ(values["title"], "\"Fit \"\"7\"\", second try\"");
    EXPECT_EQ(Number(values["gain"]), 1.2345678901234567E-7);
    EXPECT_EQ(Number(values["frequency norm MHz"]), 7.3);
    EXPECT_EQ(Number(values["error sum pass band"]), 1e-300);
    EXPECT_EQ(Number(values["error sum delay"]), 0.1);
    EXPECT_EQ(Number(values["error sum sidelobes"]), 0.2);
    EXPECT_EQ(Number(values["error sum total"]), 0.30000000000000004);
}

TEST_F(ExportRoundTrip, JsonReadsBackAsTheSameDoubles) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << json;
    const QJsonObject o = doc.object();
    EXPECT_EQ(o["title"].toString().toStdString(), d.titleLine);
    EXPECT_EQ(o["gain"].toDouble(), 1.2345678901234567E-7);
    EXPECT_EQ(o["frequencyNormMHz"].toDouble(), 7.3);
    EXPECT_EQ(o["errorSums"]["passBand"].toDouble(), 1e-300);
    EXPECT_EQ(o["errorSums"]["total"].toDouble(), 0.30000000000000004);
    std::size_t i = 0;
    for (const char* list : {"poles", "zeros"}) {
        for (const QJsonValue& v : o[list].toArray()) {
            ASSERT_LT(i, c.roots.size());
            const Root& r = c.roots[i++];
            EXPECT_EQ(v["real"].toDouble(), r.real);
            EXPECT_EQ(v["imaginary"].toDouble(), r.imaginary);
            EXPECT_EQ(v["imaginaryMHz"].toDouble(), r.imaginary * 7.3);
            EXPECT_EQ(v["Q"].isNull(), r.real == 0 || r.imaginary == 0);
        }
    }
    EXPECT_EQ(i, c.roots.size());
}

TEST(ShownPlotData, TheCurvesOfEachPlotUnderTheirNames) {
    struct Case {
        const char* file;
        int sections; // trailing sections read, as the sequence has when the plot is shown
        int iPlot, plotStep;
        std::string columns; // the CSV's header line
        std::vector<double> firstRow;
    };
    // model_m2.dat's first row is 0.1 1.0 0.9; its sidelobe section starts 1 -40 and its ripple
    // section 1 0.01. model1.dat's first row is 0 0.1 0.2, model0.dat's 0 1 0.
    const Case cases[] = {
        {"model_m2.dat", 0, 1, 2, "Frequency (MHz),Error amplitude", {.1, .9}},
        {"model_m2.dat", 0, 2, 3, "Frequency (MHz),Data,Model", {.1, 1.9, 1}},
        {"model_m2.dat", 1, 3, 4, "Frequency (MHz),Sidelobe (dB)", {1, -40}},
        {"model_m2.dat", 2, 4, 5, "Frequency (MHz),Group delay ripple (ns)", {1, .01}},
        {"model1.dat", 0, 2, 3, "Time,Data,Model", {0, .1, .30000000000000004}},
        {"model0.dat", 0, 1, 2, "Time,Y,Ydot", {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        const ResultData d = Read(c.file, c.sections);
        const std::optional<PlotData> plot = ShownPlotData(d, c.iPlot, c.plotStep);
        ASSERT_TRUE(plot.has_value());
        const std::vector<std::string> lines = Split(PlotDataCsv(*plot), "\r\n");
        EXPECT_EQ(lines[0], c.columns);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(d.nPoints) + 2); // and the last line end
        std::vector<double> first;
        for (const std::string& cell : Split(lines[1], ","))
            first.push_back(Number(cell));
        EXPECT_EQ(first, c.firstRow);
    }
    const ResultData d = Read("model_m2.dat");
    EXPECT_FALSE(ShownPlotData(d, 0, 0).has_value()); // nothing drawn yet
    EXPECT_FALSE(ShownPlotData(d, 1, 1).has_value()); // the map has no curves
}

} // namespace
