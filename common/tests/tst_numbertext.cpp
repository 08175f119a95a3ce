#include "NumberText.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <tuple>

using namespace veltrana;

namespace {

TEST(NumberText, GeneralNumberPrintsTheBasicForm) {
    // 15 significant digits at most (thirds), like the old runtime
    const std::pair<double, const char*> cases[] = {
        {0, "0"},          {-0.0, "0"},     {0.5, ".5"},          {1000, "1000"},
        {1e-4, ".0001"},   {1e-5, "1E-05"}, {-2.5e7, "-2.5E+07"}, {1.0 / 3.0, ".333333333333333"},
        {HUGE_VAL, "Inf"}, {NAN, "NaN"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(GeneralNumber(value), text) << value;
}

TEST(NumberText, ScientificFollowsThePattern) {
    // "#.##E+" and "#.#####E+": decimals as needed, no zero-padded exponent
    const std::tuple<double, int, const char*> cases[] = {
        {1500, 2, "1.5E+3"},      {1.5, 2, "1.5E+0"},          {1, 2, "1E+0"},
        {0, 2, "0E+0"},           {-0.0, 2, "0E+0"},           {0.015, 2, "1.5E-2"},
        {-123456, 2, "-1.23E+5"}, {9.996, 2, "1E+1"},          {1.005e-300, 2, "1E-300"},
        {1e15, 2, "1E+15"},       {1.234567, 5, "1.23457E+0"}, {-0.5, 5, "-5E-1"},
        {12.5, 5, "1.25E+1"}};
    for (const auto& [value, decimals, text] : cases)
        EXPECT_EQ(FormatScientific(value, decimals), text) << value << " / " << decimals;
}

TEST(NumberText, FormatEDropsOnlyAZeroExponentAndListsEndInATab) {
    // A count beyond the values stops at the last value rather than reading past it.
    const std::pair<std::string, const char*> cases[] = {
        {FormatE(1.5), "\t1.5"},
        {FormatE(1500), "\t1.5E+3"},
        {FormatE(-0.03), "\t-3E-2"},
        {FormatE(0), "\t0"},
        {FormatEList({}, 0), "\t"},
        {FormatEList({1, 2}, -1), "\t"},
        {FormatEList({1, 2}, 5), "\t1\t2\t"},
        {FormatEList({1.5, -2000, 0.25, 7}, 3), "\t1.5\t-2E+3\t2.5E-1\t"}};
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}

TEST(NumberText, ParseNumberAcceptsOnlyPlainDecimalNumbers) {
    const std::optional<double> no;
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1", 1.0},      {"-2.5", -2.5},     {"+3", 3.0},        {".5", 0.5},      {"5.", 5.0},
        {"1E-05", 1e-5}, {"1.5e+3", 1500.0}, {"2.5D+07", 2.5e7}, {"-1d2", -100.0}, {"007", 7.0},
        {"", no},        {".", no},          {"-", no},          {"1e", no},       {"1e+", no},
        {"1..2", no},    {"1,5", no},        {"1\t2", no},       {" 1", no},       {"+-1", no},
        {"0x10", no},    {"inf", no},        {"NaN", no},        {"1e999", no},    {"12abc", no}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseNumber(text), value) << text;
}

TEST(NumberText, IgnoresTheUserLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no German locale installed";
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(NumericValue("2.5"), 2.5);
    EXPECT_EQ(GeneralNumber(2.5), "2.5");
    EXPECT_EQ(FormatE(1.5), "\t1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
