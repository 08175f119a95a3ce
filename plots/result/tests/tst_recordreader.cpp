#include "RecordReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace veltrana;
using testing::ElementsAreArray;

namespace {

RecordReader ReaderOf(const std::string& text) {
    return RecordReader(std::make_unique<std::istringstream>(text));
}

struct RecordCase {
    const char* name;
    std::string text;
    int n;
    bool ok;
    std::vector<double> values; // on failure: what the array held before, still there
    std::string nextLine;       // the line the reader stands on afterwards
};

void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadRecordTest : public testing::TestWithParam<RecordCase> {};

TEST_P(ReadRecordTest, ReadsOneRecord) {
    RecordReader reader = ReaderOf(GetParam().text);
    std::vector<double> values{-999};
    EXPECT_EQ(reader.ReadRecord(values, GetParam().n), GetParam().ok);
    EXPECT_THAT(values, ElementsAreArray(GetParam().values));
    EXPECT_EQ(reader.ReadTextLine().value_or("<end>"), GetParam().nextLine);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ReadRecordTest,
    testing::Values(RecordCase{"OneLine", "1 2 3\r\nnext\r\n", 3, true, {1, 2, 3}, "next"},
                    RecordCase{"OverLines", "1 2\n\n 3\nnext\n", 3, true, {1, 2, 3}, "next"},
                    RecordCase{
                        "ExtraNumbersKept", "1 2 3 4\nnext\n", 3, true, {1, 2, 3, 4}, "next"},
                    RecordCase{"ManyBlanks", "   1     2  \nnext\n", 2, true, {1, 2}, "next"},
                    RecordCase{"EmptyRecordStillTakesALine", "0\nnext\n", 0, true, {0}, "next"},
                    RecordCase{"StartsOnBlankLine", "\n1 2\n", 2, false, {-999}, "1 2"},
                    RecordCase{"TabIsNoSeparator", "1\t2\nnext\n", 2, false, {-999}, "next"},
                    RecordCase{"Word", "1 two\nnext\n", 2, false, {-999}, "next"},
                    RecordCase{"EndsEarly", "1 2\n", 3, false, {-999}, "<end>"},
                    RecordCase{"LastLineWithoutLineEnd", "1 2", 2, true, {1, 2}, "<end>"},
                    RecordCase{"CommaDecimal", "1,5 2\nnext\n", 2, false, {-999}, "next"}));

TEST(RecordReader, RewindGivesBackTheLinesOfAFailedRecord) {
    RecordReader reader = ReaderOf("1 2\n3\ntitle\n4 5\n");
    std::vector<double> values;
    ASSERT_TRUE(reader.ReadRecord(values, 2));
    const auto at = reader.position();
    EXPECT_FALSE(reader.ReadRecord(values, 2));
    reader.Rewind(at);
    EXPECT_EQ(reader.ReadTextLine().value_or(""), "3");
}

TEST(RecordReader, TextLinesComeAsUtf8) {
    RecordReader reader = ReaderOf("  Caf\xe9 \x80 run  \r\n");
    EXPECT_EQ(reader.ReadTextLine().value_or(""), "Caf\xc3\xa9 \xe2\x82\xac run");
}

} // namespace
