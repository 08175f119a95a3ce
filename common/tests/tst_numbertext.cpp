#include "NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

using namespace veltrana;

namespace {

struct NumberCase {
    double value;
    const char* text;
};

class GeneralNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(GeneralNumberTest, PrintsTheBasicForm) {
    EXPECT_EQ(GeneralNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, GeneralNumberTest,
    testing::Values(NumberCase{0, "0"}, NumberCase{-0.0, "0"}, NumberCase{0.5, ".5"},
                    NumberCase{-0.25, "-.25"}, NumberCase{1, "1"}, NumberCase{10, "10"},
                    NumberCase{1000, "1000"}, NumberCase{1001, "1001"}, NumberCase{9.1, "9.1"},
                    NumberCase{2.5, "2.5"}, NumberCase{1e-5, "1E-05"},
                    NumberCase{1.25e-5, "1.25E-05"}, NumberCase{1e-4, ".0001"},
                    NumberCase{0.000123, ".000123"}, NumberCase{-2.5e7, "-2.5E+07"},
                    NumberCase{1e7, "1E+07"}, NumberCase{9999999, "9999999"},
                    NumberCase{123456.75, "123456.75"}, NumberCase{1e100, "1E+100"},
                    NumberCase{-1e-300, "-1E-300"},
                    // 15 significant digits at most, like the old runtime
                    NumberCase{0.1 + 0.2, ".3"}, NumberCase{1.0 / 3.0, ".333333333333333"},
                    NumberCase{2.0 / 3.0, ".666666666666667"},
                    NumberCase{std::numeric_limits<double>::infinity(), "Inf"},
                    NumberCase{std::nan(""), "NaN"}));

struct PatternCase {
    double value;
    int decimals;
    const char* text;
};

class FormatScientificTest : public testing::TestWithParam<PatternCase> {};

TEST_P(FormatScientificTest, FollowsThePattern) {
    EXPECT_EQ(FormatScientific(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatScientificTest,
    testing::Values(PatternCase{1500, 2, "1.5E+3"}, PatternCase{1.5, 2, "1.5E+0"},
                    PatternCase{1, 2, "1E+0"}, PatternCase{0, 2, "0E+0"},
                    PatternCase{-0.0, 2, "0E+0"}, PatternCase{0.015, 2, "1.5E-2"},
                    PatternCase{-123456, 2, "-1.23E+5"}, PatternCase{9.996, 2, "1E+1"},
                    PatternCase{1.005e-300, 2, "1E-300"}, PatternCase{1e15, 2, "1E+15"},
                    PatternCase{1.234567, 5, "1.23457E+0"}, PatternCase{-0.5, 5, "-5E-1"},
                    PatternCase{12.5, 5, "1.25E+1"}));

TEST(FormatE, DropsOnlyAZeroExponent) {
    EXPECT_EQ(FormatE(1.5), "\t1.5");
    EXPECT_EQ(FormatE(1500), "\t1.5E+3");
    EXPECT_EQ(FormatE(-0.03), "\t-3E-2");
    EXPECT_EQ(FormatE(0), "\t0");
}

TEST(FormatEList, JoinsValuesWithTrailingTab) {
    EXPECT_EQ(FormatEList({1.5, -2000, 0.25, 7}, 3), "\t1.5\t-2E+3\t2.5E-1\t");
    EXPECT_EQ(FormatEList({}, 0), "\t");
    EXPECT_EQ(FormatEList({1, 2}, -1), "\t");
    // A count beyond the values stops at the last value rather than reading past it.
    EXPECT_EQ(FormatEList({1, 2}, 5), "\t1\t2\t");
}

struct ParseCase {
    const char* text;
    std::optional<double> value;
};

TEST(NumberText, ParseNumberAcceptsOnlyPlainDecimalNumbers) {
    const ParseCase cases[] = {ParseCase{"1", 1.0},
                               ParseCase{"-2.5", -2.5},
                               ParseCase{"+3", 3.0},
                               ParseCase{".5", 0.5},
                               ParseCase{"-.5", -0.5},
                               ParseCase{"5.", 5.0},
                               ParseCase{"1E-05", 1e-5},
                               ParseCase{"1.5e+3", 1500.0},
                               ParseCase{"2.5D+07", 2.5e7},
                               ParseCase{"-1d2", -100.0},
                               ParseCase{"007", 7.0},
                               ParseCase{"", std::nullopt},
                               ParseCase{".", std::nullopt},
                               ParseCase{"-", std::nullopt},
                               ParseCase{"1e", std::nullopt},
                               ParseCase{"1e+", std::nullopt},
                               ParseCase{"1..2", std::nullopt},
                               ParseCase{"1,5", std::nullopt},
                               ParseCase{"1\t2", std::nullopt},
                               ParseCase{" 1", std::nullopt},
                               ParseCase{"+-1", std::nullopt},
                               ParseCase{"0x10", std::nullopt},
                               ParseCase{"inf", std::nullopt},
                               ParseCase{"NaN", std::nullopt},
                               ParseCase{"1e999", std::nullopt},
                               ParseCase{"-1e400", std::nullopt},
                               ParseCase{"12abc", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
}

TEST(NumberText, IgnoresTheUserLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_EQ(GeneralNumber(2.5), "2.5");
    EXPECT_EQ(FormatE(1.5), "\t1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
