#include "FitSummary.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

using namespace veltrana;
using namespace veltrana::test;

namespace {

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
        EXPECT_EQ(f.points, points);
        EXPECT_NEAR(f.rmsPercent, rms, 1e-3);
        EXPECT_NEAR(f.maxPercent, largest, 1e-9);
        EXPECT_EQ(f.maxAt, at);
        EXPECT_EQ(f.rippleNs.has_value(), rippleNs.has_value());
        if (rippleNs) {
            EXPECT_NEAR(*f.rippleNs, *rippleNs, 1e-12);
        }
        EXPECT_EQ(f.errorSum, 3.5E-04);
    }
}

TEST(FitSummary, TheFiguresInWords) {
    FitFigures f;
    f.errorSum = 0.000390726;
    f.points = 25;
    f.rmsPercent = 0.12345;
    f.maxPercent = 0.4567;
    f.maxAt = 12.5;
    f.rippleNs = 0.4213;
    EXPECT_EQ(FitSummaryText(f, -2),
              "\r\n\t \r\n\t ================= Fit achieved =================="
              "\r\n\t The error sum of the fit is .000390726."
              "\r\n\t Over the 25 pass-band points the error, relative to the largest data value, "
              "is 0.123 % RMS and at most 0.457 % (at 12.5 MHz)."
              "\r\n\t The group delay ripples by 0.421 ns peak to peak.");
    f.errorSum.reset();
    f.rippleNs.reset();
    f.points = 0;
    EXPECT_EQ(FitSummaryText(f, 3),
              "\r\n\t \r\n\t ================= Fit achieved =================="
              "\r\n\t The relative error cannot be given: every data "
              "value is 0.");
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
    const auto ripple = ReadRippleAhead(path, file.data());
    ASSERT_TRUE(ripple);
    EXPECT_EQ(*ripple, (std::vector<double>{0.01, -0.02}));
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
