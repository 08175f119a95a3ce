#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace veltrana;

TEST(Text, NumericValueReadsTheLeadingNumber) {
    const std::tuple<const char*, double> cases[] = {
        {"", 0},      {"abc", 0}, {"1  4", 14}, {"2.5x", 2.5}, {"+.5", 0.5},
        {"1D2", 100}, {"1e-", 1}, {"\t7 ", 7},  {"--1", 0},    {"1e-999", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(NumericValue(text), value) << text;
    EXPECT_TRUE(std::isinf(NumericValue("1e999")));
}

TEST(Text, RoundToIntHalvesToEvenAndClamps) {
    const std::tuple<double, int> cases[] = {{0.5, 0},          {1.5, 2}, {2.5, 2},
                                             {-2.5, -2},        {2.6, 3}, {1e300, INT_MAX},
                                             {-1e300, INT_MIN}, {NAN, 0}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(RoundToInt(in), out) << in;
}

TEST(Text, Cp1252RoundTripAndUnmappable) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b < 0x80 || b >= 0xA0 ||
            (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D))
            all += static_cast<char>(b);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(ToCp1252("\u00bb\u2122\u20ac"), "\xbb\x99\x80");
    EXPECT_EQ(ToCp1252("\u4e2d"), "?");
    EXPECT_EQ(ToCp1252("\xc3"), "?"); // cut UTF-8 sequence
}

TEST(Text, LeftCharsCountsCharactersNotBytes) {
    EXPECT_EQ(LeftChars("\u00bb\u00bbab", 3), "\u00bb\u00bba");
    EXPECT_EQ(LeftChars("ab", 5), "ab");
    EXPECT_EQ(Shortened("\u00bb\u00bbab", 2), "\u00bb\u00bb...");
    EXPECT_EQ(Shortened("ab", 2), "ab");
}
