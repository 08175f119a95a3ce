#include "Captions.h"

#include <gtest/gtest.h>

using namespace veltrana;

TEST(Captions, SettingCommentsDropTheLastFifteenCharacters) {
    EXPECT_EQ(SolverComment(2), "3. \u00bb ZERO: Iteration convergent tolerance (f");
    EXPECT_EQ(SolverComment(8), "9. \u00bb ACCURACY: Final conver");
    EXPECT_EQ(SolverComment(4), "5. \u00bb STEPOUT: Provides snapshot print");
}
