#include "FitTesting.h"
#include "Prototype.h"
#include "StartPoints.h"

#include <gmock/gmock.h>

#include <cmath>

using namespace veltrana;
using testing::Pointwise;

namespace {

/// A problem with every kind of limit: pole pairs (imaginary parts from 0), omega zeros (from
/// 1) and a zero pair in the right half plane (negative real part).
FitProblem Mixed() {
    const Prototype p = EllipticPrototype(5, 0.5, 1.2);
    FitProblem fp = test::Build(KnownAnswerProblem(p, p.truth));
    fp.layout.nZeroPairs = 1;
    fp.start.insert(fp.start.end(), {-0.2, 0.7});
    fp.lower.insert(fp.lower.end(), {-fp.highest, 0.0});
    fp.upper.insert(fp.upper.end(), {-fp.lowest, fp.highest});
    return fp;
}

/// Where x lies in the range of location i, from 0 to 1 on the log scale of its magnitude.
double Fraction(const FitProblem& fp, size_t i, double x) {
    const double low = std::max(std::min(std::abs(fp.lower[i]), std::abs(fp.upper[i])), fp.lowest);
    const double high = std::max(std::abs(fp.lower[i]), std::abs(fp.upper[i]));
    return std::log(std::abs(x) / low) / std::log(high / low);
}

// The spread starts fill the box of limits evenly on the log scale, keep every location
// inside its limits with the sign the problem gives, and are the same for the same seed.
TEST(StartPoints, SpreadStartsCoverTheWholeBox) {
    const FitProblem fp = Mixed();
    constexpr int kStarts = 64, kBins = 8;
    std::vector<std::vector<int>> hits(fp.start.size(), std::vector<int>(kBins));
    for (int n = 1; n <= kStarts; ++n) {
        const std::vector<double> x = SpreadStart(fp, n, 3);
        ASSERT_THAT(x, Pointwise(testing::Ge(), fp.lower));
        ASSERT_THAT(x, Pointwise(testing::Le(), fp.upper));
        EXPECT_EQ(x, SpreadStart(fp, n, 3));
        for (size_t i = 0; i < x.size(); ++i)
            ++hits[i][std::min(kBins - 1, static_cast<int>(Fraction(fp, i, x[i]) * kBins))];
    }
    EXPECT_NE(SpreadStart(fp, 1, 3), SpreadStart(fp, 1, 4));
    for (size_t i = 0; i < hits.size(); ++i) {
        EXPECT_THAT(hits[i], testing::Each(testing::Ge(kStarts / kBins / 2)))
            << LocationName(fp.layout, static_cast<int>(i));
    }
}

// Near the best point each location moves by at most the radius (a factor on its magnitude),
// except one held by a limit or a pair on the real axis: it is drawn anew over its range.
TEST(StartPoints, RestartsAroundTheBestPointFreeWhatALimitHeld) {
    FitProblem fp = Mixed();
    std::vector<double> best = fp.start;
    const size_t held = static_cast<size_t>(fp.layout.poleReal(0));
    const size_t axis = static_cast<size_t>(fp.layout.poleImag(1));
    best[held] = fp.lowest;
    best[axis] = 0;
    int moved = 0;
    for (int n = 1; n <= 20; ++n) {
        const std::vector<double> x = StartAround(fp, best, 0.3, n, 1);
        ASSERT_THAT(x, Pointwise(testing::Ge(), fp.lower));
        ASSERT_THAT(x, Pointwise(testing::Le(), fp.upper));
        for (size_t i = 0; i < x.size(); ++i) {
            if (i == held || i == axis)
                continue;
            EXPECT_LE(std::abs(std::log(x[i] / best[i])), 0.3 + 1e-12) << i;
        }
        moved += x[held] > 2 * fp.lowest && x[axis] > fp.lowest;
    }
    EXPECT_GE(moved, 15);
}

} // namespace
