#include "RecordReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

using namespace veltrana;
using testing::ElementsAreArray;

namespace {

RecordReader ReaderOf(const std::string& text) {
    return RecordReader(std::make_unique<std::istringstream>(text));
}

TEST(RecordReader, ReadsOneRecord) {
    // The values read (on failure: what the array held before, still there), and the line the
    // reader stands on afterwards. Records over lines, extra numbers, TABs, files ending early
    // and the rewind after a failed record are checked through the result files.
    const std::tuple<const char*, std::string, int, bool, std::vector<double>, std::string>
        cases[] = {
            {"one line", "1 2 3\r\nnext\r\n", 3, true, {1, 2, 3}, "next"},
            {"empty record still takes a line", "0\nnext\n", 0, true, {0}, "next"},
            {"starts on blank line", "\n1 2\n", 2, false, {-999}, "1 2"},
            {"last line without line end", "1 2", 2, true, {1, 2}, "<end>"},
            {"comma decimal", "1,5 2\nnext\n", 2, false, {-999}, "next"},
        };
    for (const auto& [name, text, n, ok, expected, nextLine] : cases) {
        SCOPED_TRACE(name);
        RecordReader reader = ReaderOf(text);
        std::vector<double> values{-999};
        EXPECT_EQ(reader.ReadRecord(values, n), ok);
        EXPECT_THAT(values, ElementsAreArray(expected));
        EXPECT_EQ(reader.ReadTextLine().value_or("<end>"), nextLine);
    }
}

TEST(RecordReader, TextLinesComeAsUtf8) {
    RecordReader reader = ReaderOf("  Caf\xe9 \x80 run  \r\n");
    EXPECT_EQ(reader.ReadTextLine().value_or(""), "Caf\xc3\xa9 \xe2\x82\xac run");
}

} // namespace
