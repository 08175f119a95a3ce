#include "MeasuredResponse.h"
#include "TextTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace veltrana;

namespace {

struct TableCase {
    const char* file;
    TableColumns columns;
    FrequencyUnit unit;
    bool decibels;
    TableSeparator separator;
    std::vector<std::string> header;
    std::vector<double> freqMHz, yout, yin, weight;
};

// clang-format off
const TableCase kTables[] = {
    // Hz and dB with a header: 1e6 Hz = 1 MHz; 10^(0/20) = 1, 10^(-20/20) = .1, 10^(-40/20) = .01.
    {"table_header.csv", {0, 1, -1, -1}, FrequencyUnit::Hz, true, TableSeparator::Comma,
     {"Freq (Hz)", "|S21| (dB)", "Phase"}, {1, 2, 3}, {1, 0.1, 0.01}, {}, {}},
    // ";" with "," decimals: 1,5 is 1.5.
    {"table_semicolon.csv", {0, 1, 2, 3}, FrequencyUnit::MHz, false, TableSeparator::Semicolon,
     {"f/MHz", "Yout", "Yin", "w"}, {1.5, 2.5}, {0.9, 0.8}, {1.0, 0.95}, {2, 1}},
    // Blank-separated without a header: the word in column 2 is in every line, so it is no
    // header; it is skipped. kHz: 10 kHz = .01 MHz.
    {"table_blank.txt", {0, 2, -1, -1}, FrequencyUnit::kHz, false, TableSeparator::Blanks,
     {}, {0.01, 0.02}, {0.5, 0.25}, {}, {}},
    // A sweep from the top down comes in ascending.
    {"table_descending.tsv", {0, 1, -1, -1}, FrequencyUnit::GHz, false, TableSeparator::Tab,
     {"Frequency", "Magnitude"}, {10000, 20000, 30000}, {0.1, 0.2, 0.3}, {}, {}},
    // Quotes hold separators and quotes; a separator at the end of a line adds no column.
    {"table_quoted.csv", {0, 1, -1, -1}, FrequencyUnit::MHz, false, TableSeparator::Comma,
     {"f, Hz", "say \"hi\""}, {1, 3}, {2, 4}, {}, {}},
};
// clang-format on

void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.file;
}

class TextTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(TextTables, GiveTheValuesOfTheChosenColumns) {
    const TableCase& c = GetParam();
    MeasuredFile file;
    ImportError error;
    ASSERT_TRUE(LoadMeasuredFile(std::string(VELTRANA_TEST_DATA) + "/" + c.file, file, error))
        << error.text();
    EXPECT_EQ(file.table.separator, c.separator);
    EXPECT_EQ(file.table.header, c.header);
    ImportChoices choices;
    choices.columns = c.columns;
    choices.unit = c.unit;
    choices.decibels = c.decibels;
    MeasuredResponse response;
    ASSERT_TRUE(MeasuredResponseOf(file, choices, response, error)) << error.text();
    const auto near = [](const std::vector<double>& want) {
        return testing::Pointwise(testing::DoubleNear(1e-9), want);
    };
    EXPECT_THAT(response.freqMHz, near(c.freqMHz));
    EXPECT_THAT(response.yout, near(c.yout));
    EXPECT_THAT(response.yin, near(c.yin));
    EXPECT_THAT(response.weight, near(c.weight));
}

INSTANTIATE_TEST_SUITE_P(HandWritten, TextTables, ::testing::ValuesIn(kTables));

struct BadTable {
    const char* text;
    TableColumns columns;
    bool decibels;
    int line;
    const char* says;
};

const BadTable kBadTables[] = {
    {"f,y\n1,0.5\n2,abc\n", {0, 1, -1, -1}, false, 3, "column 2 (y): 'abc' is not a number"},
    {"1 0.5\n2\n", {0, 1, -1, -1}, false, 2, "holds 1 column; column 2 (Column 2) is missing"},
    {"1,0.5\n3,0.5\n2,0.5\n", {0, 1, -1, -1}, false, 3, "not above the one before it (line 2)"},
    {"1,0.5\n1,0.4\n", {0, 1, -1, -1}, false, 2, "each one once"},
    {"1,0.5\n2,-0.5\n", {0, 1, -1, -1}, false, 2, "Yout -.5 is negative"},
    {"1,0.5,1\n2,0.5,-1\n", {0, 1, -1, 2}, false, 2, "weight -1 is negative"},
    {"1,0.5\n2,9999\n", {0, 1, -1, -1}, true, 2, "too large"},
    {"-1,0.5\n", {0, 1, -1, -1}, false, 1, "not a frequency of 0 or more"},
    {"1,0.5\n", {0, 0, -1, -1}, false, 0, "chosen twice"},
    {"1,,0.5\n", {0, 1, -1, -1}, false, 1, "column 2 (Column 2) is empty"},
    {"# only a comment\n\n", {0, 1, -1, -1}, false, 0, "holds no table"},
    {"Freq,Yout\n", {0, 1, -1, -1}, false, 0, "a header line and no values"},
};

void PrintTo(const BadTable& c, std::ostream* os) {
    *os << c.says;
}

class TextTableErrors : public ::testing::TestWithParam<BadTable> {};

TEST_P(TextTableErrors, NameTheLineAndTheFault) {
    const BadTable& c = GetParam();
    MeasuredFile file;
    ImportError error;
    if (ParseMeasuredFile("t.csv", c.text, file, error)) {
        ImportChoices choices;
        choices.columns = c.columns;
        choices.decibels = c.decibels;
        MeasuredResponse response;
        ASSERT_FALSE(MeasuredResponseOf(file, choices, response, error));
    }
    EXPECT_EQ(error.line, c.line) << error.text();
    EXPECT_NE(error.what.find(c.says), std::string::npos) << error.text();
}

INSTANTIATE_TEST_SUITE_P(Faults, TextTableErrors, ::testing::ValuesIn(kBadTables));

TEST(TextTableLimits, RowsColumnsAndValuesBeyondTheLimitsAreRefusedAtTheirLine) {
    std::string rows, wide = "1", full;
    for (std::size_t i = 0; i <= kMaxTableRows; ++i)
        rows += "1\n";
    for (std::size_t i = 1; i < kMaxTableColumns; ++i)
        wide += ",1";
    for (std::size_t i = 0; i <= kMaxTableValues / kMaxTableColumns; ++i)
        full += wide + "\n";
    const std::string separators(2 * kMaxTableValues, ',');
    const std::tuple<std::string, int, const char*> cases[] = {
        {"f\n" + rows, static_cast<int>(kMaxTableRows) + 2, "beyond 200000 rows"},
        {"1,2\n" + separators, 2, "more than 1000 columns"},
        {full, static_cast<int>(kMaxTableValues / kMaxTableColumns) + 1,
         "more than 2000000 values"},
    };
    for (const auto& [text, line, says] : cases) {
        TextTable table;
        ImportError error;
        EXPECT_FALSE(ReadTextTable(text, table, error));
        EXPECT_EQ(error.line, line);
        EXPECT_NE(error.what.find(says), std::string::npos) << error.text();
    }
}

TEST(SuggestedTableChoices, FollowTheHeader) {
    const std::tuple<const char*, TableColumns, FrequencyUnit, bool> cases[] = {
        {"Freq (Hz),|S21| (dB),Phase\n1,2,3\n", {0, 1, -1, -1}, FrequencyUnit::Hz, true},
        {"Phase;Magnitude;Frequency/GHz\n1;2;3\n", {2, 1, -1, -1}, FrequencyUnit::GHz, false},
        {"a b c\nx 1 2\n", {0, 1, -1, -1}, FrequencyUnit::MHz, false},
        {"1 2 3\n", {0, 1, -1, -1}, FrequencyUnit::MHz, false},
        {"kHz,S21 dB\n1,2\n", {0, 1, -1, -1}, FrequencyUnit::kHz, true},
    };
    for (const auto& [text, columns, unit, decibels] : cases) {
        TextTable table;
        ImportError error;
        ASSERT_TRUE(ReadTextTable(text, table, error)) << text;
        const ImportChoices choices = SuggestedTableChoices(table);
        EXPECT_EQ(choices.columns, columns) << text;
        EXPECT_EQ(choices.unit, unit) << text;
        EXPECT_EQ(choices.decibels, decibels) << text;
    }
}

} // namespace
