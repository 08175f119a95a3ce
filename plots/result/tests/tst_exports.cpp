#include "ConstellationExport.h"
#include "FitSummary.h"
#include "PlotDataExport.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <ranges>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

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

// The constellation of a result file with each kind of sigma zero (single, doublet, paired) as
// CSV, against the texts kept in tests/data/constellations: every root in order (model_m2's
// pole pairs sorted by their imaginary parts, its quad in all four quadrants), Q where there is
// one, the MHz columns empty without a frequency norm, a title with a comma quoted.
TEST(Constellation, EveryPoleAndZeroOfTheSampleFiles) {
    for (const std::string name : {"model_m2", "model_m2_doublet", "model_m1_pair"}) {
        const std::string kept =
            FileText(std::string(VELTRANA_TEST_DATA) + "/constellations/" + name + ".csv");
        EXPECT_EQ(ConstellationCsv(ConstellationOf(Read((name + ".dat").c_str()))), kept) << name;
    }
}

TEST(Constellation, SigmaZeroDoubletAndPairTogetherCountFour) {
    ResultData d;
    d.nSigmaZeros = d.zeroDoublet = d.zeroPaired = 1;
    d.sigmaZeroLoc = -.5;
    const auto zeros = ConstellationOf(d).roots | std::views::transform(&Root::real);
    EXPECT_EQ(std::vector(zeros.begin(), zeros.end()), (std::vector<double>{-.5, .5, -.5, .5}));
}

TEST(Constellation, ResonanceAndQualityFactorOfAPair) {
    // |-.3 + .4j| = .5; Q = .5 / (2 * .3) = 5/6. On an axis there is none: see the exports.
    const Root pair{true, "pair", 1, -.3, .4};
    EXPECT_NEAR(NaturalFrequency(pair), .5, 1e-15);
    EXPECT_NEAR(*QualityFactor(pair), 5.0 / 6, 1e-15);
}

// Both exports, written where the decimal point is a comma (where that locale is installed),
// read back as the same doubles: every root's parts, in units and in MHz, then the gain, the
// frequency norm and the error sums (pass band, delay, sidelobes, total); the title as it was.
TEST(ExportRoundTrip, CsvAndJsonReadBackAsTheSameDoubles) {
    ResultData d;
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
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const Constellation c = ConstellationOf(d);
    const std::string csv = ConstellationCsv(c), json = ConstellationJson(c);
    std::setlocale(LC_ALL, locale.c_str());

    // every root's parts in units and MHz, then the gain, the frequency norm and the sums
    std::vector<double> expected, fromCsv, fromJson;
    for (const Root& r : c.roots)
        expected.insert(expected.end(), {r.real, r.imaginary, r.real * 7.3, r.imaginary * 7.3});
    expected.insert(expected.end(),
                    {1.2345678901234567E-7, 7.3, 1e-300, 0.1, 0.2, 0.30000000000000004});

    const std::vector<std::string> blocks = Split(csv, "\r\n\r\n");
    ASSERT_EQ(blocks.size(), 2u);
    const std::vector<std::string> lines = Split(blocks[0], "\r\n");
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = Split(lines[i], ",");
        ASSERT_EQ(cells.size(), 8u) << lines[i];
        for (size_t k = 2; k < 6; ++k)
            fromCsv.push_back(Number(cells[k]));
        // No resonance on the real axis, no quality factor on either axis.
        EXPECT_EQ(cells[6].empty(), cells[3] == "0") << lines[i];
        EXPECT_EQ(cells[7].empty(), cells[2] == "0" || cells[3] == "0") << lines[i];
    }
    const std::vector<std::string> quantities = Split(blocks[1], "\r\n");
    EXPECT_EQ(quantities[1], "title,\"Fit \"\"7\"\", second try\"");
    for (size_t i = 2; i < quantities.size() - 1; ++i)
        fromCsv.push_back(Number(quantities[i].substr(quantities[i].find(',') + 1)));
    EXPECT_EQ(fromCsv, expected);

    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    for (const char* list : {"poles", "zeros"})
        for (const QJsonValue& v : o[list].toArray())
            for (const char* key : {"real", "imaginary", "realMHz", "imaginaryMHz"})
                fromJson.push_back(v[key].toDouble());
    const QJsonValue e = o["errorSums"];
    for (const QJsonValue& v :
         {o["gain"], o["frequencyNormMHz"], e["passBand"], e["delay"], e["sidelobes"], e["total"]})
        fromJson.push_back(v.toDouble());
    EXPECT_EQ(fromJson, expected);
    EXPECT_EQ(o["title"].toString().toStdString(), d.titleLine);
}

TEST(ShownPlotData, TheCurvesOfEachPlotUnderTheirNames) {
    // file, trailing sections read (as the sequence has when the plot is shown), plot number
    // and step, the CSV's header line and first row. model_m2.dat's first row is 0.1 1.0 0.9;
    // its sidelobe section starts 1 -40 and its ripple section 1 0.01. model1.dat's first row
    // is 0 0.1 0.2, model0.dat's 0 1 0.
    const std::tuple<const char*, int, int, int, std::string, std::vector<double>> cases[] = {
        {"model_m2.dat", 0, 1, 2, "Frequency (MHz),Error amplitude", {.1, .9}},
        {"model_m2.dat", 0, 2, 3, "Frequency (MHz),Data,Model", {.1, 1.9, 1}},
        {"model_m2.dat", 1, 3, 4, "Frequency (MHz),Sidelobe (dB)", {1, -40}},
        {"model_m2.dat", 2, 4, 5, "Frequency (MHz),Group delay ripple (ns)", {1, .01}},
        {"model1.dat", 0, 2, 3, "Time,Data,Model", {0, .1, .30000000000000004}},
        {"model0.dat", 0, 1, 2, "Time,Y,Ydot", {0, 1, 0}},
    };
    for (const auto& [file, sections, iPlot, plotStep, columns, firstRow] : cases) {
        SCOPED_TRACE(columns);
        const ResultData d = Read(file, sections);
        const std::optional<PlotData> plot = ShownPlotData(d, iPlot, plotStep);
        ASSERT_TRUE(plot.has_value());
        const std::vector<std::string> lines = Split(PlotDataCsv(*plot), "\r\n");
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(d.nPoints) + 2); // and the last line end
        EXPECT_EQ(lines[0], columns);
        std::vector<double> first;
        for (const std::string& cell : Split(lines[1], ","))
            first.push_back(Number(cell));
        EXPECT_EQ(first, firstRow);
    }
    const ResultData d = Read("model_m2.dat");
    EXPECT_FALSE(ShownPlotData(d, 0, 0).has_value()); // nothing drawn yet
    EXPECT_FALSE(ShownPlotData(d, 1, 1).has_value()); // the map has no curves
}

ResultData Table(int model, std::vector<double> x, std::vector<double> y1, std::vector<double> y2,
                 std::string second = " 3.5E-04") {
    ResultData d;
    d.modelX = model;
    d.nPoints = static_cast<int>(x.size());
    d.pointX = std::move(x);
    d.pointY1 = std::move(y1);
    d.pointY2 = std::move(y2);
    d.secondLine = std::move(second);
    return d;
}

// Worked by hand, errors relative to the largest data value. Model -2's data are model +
// error: 1.0, 2.0 and 0, errors 0.1, 0.02, 0 over 2.0: 5 %, 1 %, 0; RMS sqrt(26 / 3) = 2.944 %.
// Model 3's data are the second column: 2 and 4, errors 0.5 and -0.4 over 4: 12.5 % and 10 %,
// RMS sqrt((156.25 + 100) / 2) = 11.32 %.
TEST(FitSummary, ErrorsRelativeToTheLargestDataAndTheDelayRipple) {
    const std::vector<double> ripple = {0.01, -0.25, 0.15};
    // data, ripple section, points, RMS, largest, where, ripple
    const std::tuple<ResultData, const std::vector<double>*, int, double, double, double,
                     std::optional<double>>
        cases[] = {
            {Table(-2, {1, 2, 3}, {0.9, 1.98, 0}, {0.1, 0.02, 0}), &ripple, 3, 2.944, 5, 1, 0.4},
            {Table(3, {5, 6}, {2, 4}, {0.5, -0.4}), nullptr, 2, 11.32, 12.5, 5, std::nullopt},
            {Table(-2, {1}, {0}, {0}), nullptr, 0, 0, 0, 0, std::nullopt},
        };
    for (const auto& [data, section, points, rms, largest, at, rippleNs] : cases) {
        SCOPED_TRACE(data.modelX);
        const FitFigures f = MeasureFit(data, section);
        EXPECT_EQ(std::tuple(f.points, f.maxAt, f.errorSum), std::tuple(points, at, 3.5E-04));
        EXPECT_NEAR(f.rmsPercent, rms, 1e-3);
        EXPECT_NEAR(f.maxPercent, largest, 1e-9);
        EXPECT_NEAR(f.rippleNs.value_or(-1), rippleNs.value_or(-1), 1e-12);
    }
    EXPECT_FALSE(HasFit(0) || HasFit(110)); // the solution of an equation fits no data
}

TEST(FitSummary, TheFiguresInWords) {
    const FitFigures f{0.000390726, 25, 0.12345, 0.4567, 12.5, 0.4213};
    EXPECT_EQ(FitSummaryText(f, -2),
              "\r\n\t \r\n\t ================= Fit achieved =================="
              "\r\n\t The error sum of the fit is .000390726."
              "\r\n\t Over the 25 pass-band points the error, relative to the largest data value, "
              "is 0.123 % RMS and at most 0.457 % (at 12.5 MHz)."
              "\r\n\t The group delay ripples by 0.421 ns peak to peak.");
    EXPECT_EQ(FitSummaryText(FitFigures{}, 3),
              "\r\n\t \r\n\t ================= Fit achieved ==================\r\n\t The "
              "relative error cannot be given: every data value is 0.");
}

class RippleAhead : public TempDirTest {};

// The ripple section is read ahead of its plot, from the file as it is; a file rewritten
// since its table was read gives none.
TEST_F(RippleAhead, ReadFromTheFileThatHoldsTheTable) {
    const std::string path = in("run.dat");
    std::filesystem::copy_file(std::string(VELTRANA_TEST_DATA) + "/model_m2.dat", path);
    ScriptedPrompter prompter;
    ResultFile file(prompter);
    ASSERT_EQ(file.ReadResultFile(path), ReadStatus::Ok);
    EXPECT_EQ(ReadRippleAhead(path, file.data()), std::optional(std::vector<double>{0.01, -0.02}));
    // The file read on as before: its sections still come in order.
    EXPECT_EQ(file.ReadSection(ResultSection::Sidelobe), ReadStatus::Ok);

    std::string text = FileText(path);
    text.replace(text.find("0.5 5.0 4.9"), 11, "0.5 5.0 4.8");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    EXPECT_FALSE(ReadRippleAhead(path, file.data()));
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadRippleAhead(path, file.data()));
    EXPECT_TRUE(prompter.prompts.empty());
}

} // namespace
