#include "PromptTitles.h"
#include "RecordReader.h"
#include "ResultFile.h"
#include "RunSummary.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>

using namespace veltrana;
using namespace veltrana::test;

namespace {

std::string DataPath(const std::string& name) {
    return std::string(VELTRANA_TEST_DATA) + "/" + name;
}

/// A reader with a scripted prompter, as plots would hold one.
struct Reader {
    ScriptedPrompter prompter;
    ResultFile file{prompter};

    ReadStatus read(const std::string& name) { return file.ReadResultFile(DataPath(name)); }
    ReadStatus readText(const std::string& text) {
        return file.ReadResultStream(std::make_unique<std::istringstream>(text), "memory.dat");
    }
    /// Goes on with the trailing sections, in order, while all is well.
    ReadStatus readSections(ReadStatus status) {
        for (auto s :
             {ResultSection::Sidelobe, ResultSection::Ripple, ResultSection::ImpulseResponse})
            if (status == ReadStatus::Ok)
                status = file.ReadSection(s);
        return status;
    }
    const ResultData& data() const { return file.data(); }
};

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
            {"Windows-1252", "1\n Caf\xe9 \x80 \n", 1, true, {1}, "Caf\xc3\xa9 \xe2\x82\xac"},
        };
    for (const auto& [name, text, n, ok, expected, nextLine] : cases) {
        SCOPED_TRACE(name);
        RecordReader reader(std::make_unique<std::istringstream>(text));
        std::vector<double> values{-999};
        EXPECT_EQ(reader.ReadRecord(values, n), ok);
        EXPECT_EQ(values, expected);
        EXPECT_EQ(reader.ReadTextLine().value_or("<end>"), nextLine);
    }
}

using Check = std::function<void(const ResultData&)>;

template <class T> Check Is(T ResultData::*field, std::type_identity_t<T> value) {
    return [=](const ResultData& d) { EXPECT_EQ(d.*field, value); };
}

// What the run summary shows of each model is checked there; here only what it does not show.
TEST(ResultFile, ReadsEveryModelAndUnusualButValidText) {
    using D = ResultData;
    struct Case {
        const char* file;
        int model, terms, points;
        std::vector<Check> checks;
        std::string text; // read from the sample file `file` when empty
        Case(const char* f, int m, int t, int p, std::vector<Check> c, std::string x = {})
            : file(f), model(m), terms(t), points(p), checks(std::move(c)), text(std::move(x)) {}
    };
    const std::string pad(500'000, ' ');
    const std::vector<Case> cases = {
        Case("model_m2.dat", -2, 0, 5,
             {Is(&D::delayMatched, 1), Is(&D::pointY2, {.9, 1.9, 2.9, 3.9, 4.9})}),
        // Imaginary parts 3, 0, 1 sort with their real parts, the extra fourth number stays;
        // two sigma zeros are still one record.
        Case("model_m1.dat", -1, 0, 4,
             {Is(&D::pairImag, {0, 1, 3, 99}), Is(&D::pairReal, {-2.2, -3.3, -1.1}),
              Is(&D::nSigmaZeros, 2)}),
        // The unreadable record after the gain is skipped without a word.
        Case("model_m1_pair.dat", -1, 0, 2, {Is(&D::gainText, "1"), Is(&D::pointX, {0, 1})}),
        // The equation line ends at its first "!".
        Case("model0.dat", 0, 3, 4,
             {Is(&D::equationText, "dy/dt = -k*y + c"), Is(&D::coefA, {1.5, -2.5e-3, 4})}),
        Case("model0_plain.dat", 0, 1, 1, {Is(&D::equationText, "y'' = -w^2 * y")}),
        Case("model2.dat", 2, 2, 2, {Is(&D::t0, {5, 15})}),
        Case("model110.dat", 110, 0, 3, {Is(&D::y0Text, "0.5")}),
        Case("model7.dat", 7, 0, 2, {Is(&D::pointY1, {1, 3})}),
        Case("model50.dat", 50, 0, 2, {}),
        Case("model_m5.dat", -5, 0, 2, {}),
        // Tables with fewer rows than their count end at their last row.
        Case("short_table.dat", 7, 0, 60, {}),
        Case("short_table_section.dat", -1, 0, 2, {}),
        // Half a million blanks on either side of the numbers are only separators.
        Case("long lines", 7, 0, 2, {Is(&D::pointY2, {3, 6})},
             "t\ns\nx\n7 0 2\n" + pad + "1 2 3" + pad + "\n4 5 6\n"),
        Case("counts round half to even", 8, 0, 2, {}, "t\ns\nx\n7.5 0 2.5\n1 2 3\n4 5 6\n7 8 9\n"),
        // Imaginary parts 2, 2, 1: the exchange sort swaps the first pair with the third, after
        // which the two pairs at 2 stand in the reverse of their file order.
        Case("equal imaginary parts", -2, 0, 1,
             {Is(&D::pairImag, {1, 2, 2}), Is(&D::pairReal, {-3, -2, -1})},
             "t\ns\nx\n-2 0 1\n0 0 0 0\n0 3\n-1 -2 -3\n2 2 1\n0\n0 0 0\ng\n0 0\n1 2 3\n"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Reader r;
        ASSERT_EQ(c.text.empty() ? r.read(c.file) : r.readText(c.text), ReadStatus::Ok);
        EXPECT_TRUE(r.prompter.prompts.empty());
        const ResultData& d = r.data();
        EXPECT_EQ(std::tuple(d.modelX, d.nTerms, d.nPoints, d.pointX.size()),
                  std::tuple(c.model, c.terms, c.points, size_t(c.points)));
        for (const Check& check : c.checks)
            check(r.data());
    }
}

TEST(ResultFile, RecordsSpreadOverLinesReadAsOnOneLine) {
    Reader oneLine, spread;
    ASSERT_EQ(spread.read("model_m2_spread.dat"), oneLine.read("model_m2.dat"));
    for (ResultSection s : {ResultSection::Sidelobe, ResultSection::Ripple}) {
        EXPECT_EQ(oneLine.data(), spread.data());
        ASSERT_EQ(spread.file.ReadSection(s), oneLine.file.ReadSection(s));
    }
    EXPECT_EQ(oneLine.data(), spread.data());
}

// The three sections in order, the table kept; after a table cut short the next section is
// still read.
TEST(ResultFile, ReadsTheThreeSectionsInOrder) {
    Reader r;
    ASSERT_EQ(r.read("model_m1.dat"), ReadStatus::Ok);
    const std::vector<double> tableY1 = r.data().pointY1;
    using S = ResultSection;
    const std::tuple<S, std::string, std::vector<double>, std::vector<double>> sections[] = {
        {S::Sidelobe, "Sidelobe", {0, 1, 2, 3}, {-30, -35, -40, -45}},
        {S::Ripple, "Ripple", {0, 1, 2}, {.1, -.1, .2}},
        {S::ImpulseResponse, "Impulse response h(t)", {0, 1, 2, 3, 4}, {0, .5, 1, .5, 0}},
    };
    for (const auto& [section, title, x, y2] : sections) {
        ASSERT_EQ(r.file.ReadSection(section), ReadStatus::Ok);
        const ResultData& d = r.data();
        EXPECT_EQ(std::tie(d.sectionTitle, d.pointX, d.pointY2, d.pointY1),
                  std::tie(title, x, y2, tableY1));
    }
    EXPECT_TRUE(r.prompter.prompts.empty());

    Reader s;
    ASSERT_EQ(s.read("short_table_section.dat"), ReadStatus::Ok);
    ASSERT_EQ(s.file.ReadSection(ResultSection::ImpulseResponse), ReadStatus::Ok);
    EXPECT_EQ(s.data().pointY2, (std::vector<double>{1, 2}));
}

// One reader, as plots holds it, over several files.
TEST(ResultFile, LaterFileOverwritesOnlyWhatItsModelCarriesAndAFailedOneNothing) {
    Reader r;
    ASSERT_EQ(r.read("model1.dat"), ReadStatus::Ok);
    ASSERT_EQ(r.read("model110.dat"), ReadStatus::Ok);
    EXPECT_EQ(r.data().pw50, (std::vector<double>{0.2, 0.3})); // left from the model 1 file
    EXPECT_EQ(r.data().dataFileName, "");                      // but never shown as this run's
    const ResultData before = r.data();
    EXPECT_EQ(r.read("bad_first_record.dat"), ReadStatus::Corrupted);
    EXPECT_EQ(r.data(), before);
    EXPECT_FALSE(r.file.isOpen());
    EXPECT_EQ(PromptTitles(r.prompter),
              std::vector<std::string>{"Reading data file error at --> modelX."});
}

TEST(ResultFile, DamagedInputEndsInOneMessageAndClosesTheFile) {
    const std::string head = "t\r\ns\r\nx\r\n-2 0 5\r\n", tail = "\r\n1 3\r\n";
    // a sample file, or the text read; the record where the reading stopped (empty: the file
    // held no data, and the program must end)
    const std::tuple<std::string, std::string> cases[] = {
        {"tab_in_record.dat", "pReal"},
        {"count_not_number.dat", "xZero"},
        {"count_overflow.dat", "modelX"},
        {"count_negative.dat", "nYzeros"},
        {"nan_value.dat", "pImag"},
        {"inf_value.dat", "pImag"},
        {"sigma_pole_two_numbers.dat", "nXpole"},
        {"truncated_block.dat", "xZero"},
        {"empty.dat", "modelX"},
        {"binary_junk.dat", "modelX"},
        {"section_count_bad.dat", "Sidelobe"},
        {"section_truncated.dat", "Sidelobe"}, // 2 of its 3 rows
        {"no_rows.dat", ""},
        {"first_row_fails.dat", ""},
        {head + std::string(1'000'000, '7') + tail, "VltDely"}, // a million digits
        {head + std::string("1 0\0 0 0", 8) + tail, "VltDely"}, // a NUL byte
        {head + "32767.5 0 0 0" + tail, "VltDely"},             // a flag out of range
    };
    for (const auto& [file, record] : cases) {
        SCOPED_TRACE(file.substr(0, 30));
        Reader r;
        const ReadStatus read = file.ends_with(".dat") ? r.read(file) : r.readText(file);
        EXPECT_EQ(r.readSections(read),
                  record.empty() ? ReadStatus::NoData : ReadStatus::Corrupted);
        const std::string title =
            record.empty() ? "Must exit!" : "Reading data file error at --> " + record + ".";
        EXPECT_EQ(PromptTitles(r.prompter), std::vector{title});
        EXPECT_TRUE(!record.empty() || r.data().nPoints == 0);
        EXPECT_EQ(r.file.ReadSection(ResultSection::Sidelobe), ReadStatus::NoFile); // closed
    }
}

TEST(ResultFile, PolePairsAreSortedOnlyWhenTheModelBlockIsWhole) {
    const std::string head = "t\ns\nx\n-2 0 1\n0 0 0 0\n0 3\n-1 -2 -3\n3 0 1\n";
    const std::tuple<const char*, std::string, std::vector<double>, std::vector<double>> cases[] = {
        {"fails at xZero", "x\n", {3, 0, 1}, {-1, -2, -3}},
        {"no point rows", "0\n0 0 0\ng\n0 0\n", {0, 1, 3}, {-2, -3, -1}},
    };
    for (const auto& [name, rest, imag, real] : cases) {
        SCOPED_TRACE(name);
        Reader r;
        EXPECT_NE(r.readText(head + rest), ReadStatus::Ok);
        EXPECT_EQ(std::tie(r.data().pairImag, r.data().pairReal), std::tie(imag, real));
    }
}

const LocalDateTime kNow{2024, 3, 7, 14, 5, 9};

// The whole text of every kind of summary, character for character, against the texts kept in
// tests/data/summaries: the pole-zero models with their kinds of sigma zero, the series with
// and without an equation block or an offset, and a model without a block of its own (only
// the blank lines between head and foot).
TEST(RunSummary, WholeSummaryCharacterForCharacter) {
    for (const char* model :
         {"model_m2", "model_m1", "model_m1_pair", "model_m2_doublet", "model0", "model1", "model2",
          "model3", "model4", "model5", "model6", "model7", "model110"}) {
        Reader r;
        ASSERT_EQ(r.read(std::string(model) + ".dat"), ReadStatus::Ok) << model;
        EXPECT_EQ(WriteRunSummary(r.data(), kNow),
                  FileText(DataPath("summaries/" + std::string(model) + ".txt")))
            << model;
    }
}

// An offset that is no number is shown as written; texts are padded to one less than their
// width.
TEST(RunSummary, OffsetAsWrittenAndPaddedTexts) {
    ResultData d;
    d.modelX = 4;
    d.y0Text = "n/a";
    EXPECT_NE(WriteRunSummary(d, kNow).find("\tY-Axis offset (y0): n/a\r\n"), std::string::npos);
    const std::string x60(60, 'x'), ete = "\xc3\xa9t\xc3\xa9"; // three characters, five bytes
    const std::tuple<std::string, int, std::string> cases[] = {
        {"  abc  ", 6, "abc  "}, {x60, 54, x60}, {ete, 6, ete + "  "}};
    for (const auto& [text, width, padded] : cases)
        EXPECT_EQ(PadText(text, width), padded) << text << " / " << width;
}

} // namespace
