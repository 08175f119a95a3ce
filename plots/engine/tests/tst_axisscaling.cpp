#include "AxisScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace veltrana;

namespace {

// X is scaled over 11 steps, Y over 6.
TEST(AxisScaling, XAndYAxesGetNiceDecadeBounds) {
    // min, max, steps, scaled min and max, exponent, both log lines (null: only bounds matter;
    // the log's format is the same for every row)
    const std::tuple<double, double, int, double, double, int, const char*> cases[] = {
        {0, 1000, 11, 0, 1001, 0,
         "\r\n\t Min/Max/step=  0 1000 9.1 10\r\n\t min/max/step= 0 1001 91"},
        {0, 5000, 6, 0, 50.4, 2, nullptr},
        {0.29, 0.95, 6, 0.29, 0.95, 0, nullptr}, // the candidate 0.2 widens too much
        {0.95, 1.0, 11, 9500, 10006, -4, nullptr},
        {5, 5, 11, 5, 17.1, 0, nullptr},
        {-0.005, 1.0, 6, -0.005, 1.015, 0, nullptr}, // candidate 0 lies above a tiny negative min
    };
    for (const auto& [rawMin, rawMax, steps, scaledMin, scaledMax, exponent, expectedLog] : cases) {
        SCOPED_TRACE(testing::Message() << rawMin << ".." << rawMax << " over " << steps);
        double min = rawMin, max = rawMax;
        int e = 99;
        std::string log;
        (steps == 11 ? ScaleXAxis : ScaleYAxis)(min, max, e, log);
        EXPECT_EQ(e, exponent);
        EXPECT_NEAR(min, scaledMin, 1e-9);
        EXPECT_NEAR(max, scaledMax, 1e-9);
        if (expectedLog) {
            EXPECT_EQ(log, expectedLog);
        }
    }
}

TEST(AxisScaling, NegativeAndTinySpansAreScaledInAscendingOrder) {
    // Only the pole/zero map produces negative ones: all real parts positive, or no positive
    // imaginary part. The last needs a power of ten beyond the largest double if unchecked.
    const double spans[][2] = {{0.5, -0.5}, {0, -1e9}, {3, 2}, {1e-308, 0}};
    for (const auto& s : spans) {
        double min = s[0], max = s[1];
        int e = 0;
        std::string log;
        ScaleYAxis(min, max, e, log);
        EXPECT_LT(min, max);
        EXPECT_LE(min * std::pow(10.0, e), s[1] + 1e-9 * std::abs(s[1]));
        EXPECT_GE(max * std::pow(10.0, e), s[0]);
        EXPECT_EQ(log.find("nan"), std::string::npos);
    }
}

} // namespace
