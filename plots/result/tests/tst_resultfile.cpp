#include "ResultTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using namespace veltrana;
using namespace veltrana::test;
using testing::ElementsAre;

namespace {

constexpr const char* kCorruptedText =
    "\r\nData file is corrupted; you must rerun problem to create a "
    "\r\nnew data file.  If this problem continues, Please notify"
    "\r\nus via e-mail and attach your input file for us to see the"
    "\r\nsame results.";

struct ModelCase {
    const char* file;
    int model;
    int terms;
    int points;
    std::function<void(const ResultData&)> check;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.file;
}

class ModelBlocks : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelBlocks, ReadEveryModel) {
    Reader r;
    ASSERT_EQ(r.read(GetParam().file), ReadStatus::Ok);
    EXPECT_TRUE(r.prompter.prompts.empty());
    EXPECT_TRUE(r.file.isOpen());
    EXPECT_EQ(r.data().modelX, GetParam().model);
    EXPECT_EQ(r.data().nTerms, GetParam().terms);
    EXPECT_EQ(r.data().nPoints, GetParam().points);
    EXPECT_EQ(r.data().pointX.size(), static_cast<size_t>(GetParam().points));
    GetParam().check(r.data());
}

INSTANTIATE_TEST_SUITE_P(
    Models, ModelBlocks,
    testing::Values(
        ModelCase{"model_m2.dat", -2, 0, 5,
                  [](const ResultData& d) {
                      EXPECT_EQ(d.titleLine, "Matched filter for 5 MHz pulse");
                      EXPECT_EQ(d.delayMatched, 1);
                      EXPECT_EQ(d.nSigmaPoles, 1);
                      EXPECT_EQ(d.sigmaPole, -0.35);
                      EXPECT_THAT(d.pairImag, ElementsAre(0, 1.5, 2.5));
                      EXPECT_THAT(d.pairReal, ElementsAre(-0.2, -0.3, -0.1));
                      EXPECT_EQ(d.nSigmaZeros, 1);
                      EXPECT_EQ(d.sigmaZeroLoc, -0.5);
                      EXPECT_THAT(d.omegaZeros, ElementsAre(1, 2.5, 4));
                      EXPECT_EQ(d.nZeroPairs, 1);
                      EXPECT_EQ(d.nZeroQuads, 1);
                      EXPECT_THAT(d.zeroReal, ElementsAre(-0.2, -0.3));
                      EXPECT_THAT(d.zeroImag, ElementsAre(0.8, 1.2));
                      EXPECT_EQ(d.gainText, "1.2345E+02");
                      EXPECT_THAT(d.pointY2, ElementsAre(0.9, 1.9, 2.9, 3.9, 4.9));
                  }},
        ModelCase{"model_m1.dat", -1, 0, 4,
                  [](const ResultData& d) {
                      // Imaginary parts 3, 0, 1 sort to 0, 1, 3 with their real parts; the
                      // extra fourth number stays behind them.
                      EXPECT_THAT(d.pairImag, ElementsAre(0, 1, 3, 99));
                      EXPECT_THAT(d.pairReal, ElementsAre(-2.2, -3.3, -1.1));
                      EXPECT_EQ(d.nSigmaZeros, 2); // still one xZero record
                      EXPECT_EQ(d.sigmaZeroLoc, -0.75);
                      EXPECT_EQ(d.zeroDoublet, 1);
                      EXPECT_EQ(d.zeroPaired, 1);
                      EXPECT_THAT(d.omegaZeros, ElementsAre(0.5, 1.5));
                      EXPECT_EQ(d.gainText, "2.5");
                  }},
        ModelCase{"model_m1_pair.dat", -1, 0, 2,
                  [](const ResultData& d) {
                      // The unreadable record after the gain is skipped without a word.
                      EXPECT_EQ(d.gainText, "1");
                      EXPECT_THAT(d.pointX, ElementsAre(0, 1));
                  }},
        ModelCase{"model0.dat", 0, 3, 4,
                  [](const ResultData& d) {
                      EXPECT_EQ(d.equationText, "dy/dt = -k*y + c");
                      EXPECT_THAT(d.coefA, ElementsAre(1.5, -2.5e-3, 4));
                  }},
        ModelCase{"model0_plain.dat", 0, 1, 1,
                  [](const ResultData& d) { EXPECT_EQ(d.equationText, "y'' = -w^2 * y"); }},
        ModelCase{"model1.dat", 1, 2, 3,
                  [](const ResultData& d) {
                      EXPECT_EQ(d.dataFileName, "C:\\DATA\\PULSE.DAT");
                      EXPECT_EQ(d.y0Text, "0.0125");
                      EXPECT_THAT(d.coefA, ElementsAre(1.5, 2.5));
                      EXPECT_THAT(d.pw50, ElementsAre(0.2, 0.3));
                      EXPECT_THAT(d.t0, ElementsAre(10, 20));
                  }},
        ModelCase{"model2.dat", 2, 2, 2,
                  [](const ResultData& d) {
                      EXPECT_THAT(d.coefB, ElementsAre(0.5, -0.5));
                      EXPECT_THAT(d.t0, ElementsAre(5, 15));
                  }},
        ModelCase{"model3.dat", 3, 1, 2,
                  [](const ResultData& d) {
                      EXPECT_THAT(d.coefB, ElementsAre(-0.125));
                      EXPECT_THAT(d.pointY2, ElementsAre(0.9, 1.9)); // a row over two lines
                  }},
        ModelCase{"model4.dat", 4, 3, 2,
                  [](const ResultData& d) { EXPECT_THAT(d.coefA, ElementsAre(1, -2, 3)); }},
        ModelCase{"model5.dat", 5, 2, 3,
                  [](const ResultData& d) { EXPECT_THAT(d.coefC, ElementsAre(0, -0.5)); }},
        ModelCase{"model6.dat", 6, 1, 2,
                  [](const ResultData& d) { EXPECT_THAT(d.coefD, ElementsAre(-0.75)); }},
        ModelCase{"model110.dat", 110, 0, 3,
                  [](const ResultData& d) {
                      EXPECT_EQ(d.y0Text, "0.5");
                      EXPECT_EQ(d.kSums, (std::array<std::string, 4>{"-.2", ".1", ".05", "-.3"}));
                      EXPECT_EQ(d.dt50, 12.5);
                  }},
        ModelCase{"model7.dat", 7, 0, 2,
                  [](const ResultData& d) { EXPECT_THAT(d.pointY1, ElementsAre(1, 3)); }},
        ModelCase{"model50.dat", 50, 0, 2, [](const ResultData&) {}},
        ModelCase{"model_m5.dat", -5, 0, 2, [](const ResultData&) {}}));

TEST(ResultFile, RecordsSpreadOverLinesReadAsOnOneLine) {
    Reader oneLine, spread;
    ASSERT_EQ(oneLine.read("model_m2.dat"), ReadStatus::Ok);
    ASSERT_EQ(spread.read("model_m2_spread.dat"), ReadStatus::Ok);
    EXPECT_EQ(oneLine.data(), spread.data());
    for (ResultSection s : {ResultSection::Sidelobe, ResultSection::Ripple}) {
        ASSERT_EQ(oneLine.file.ReadSection(s), ReadStatus::Ok);
        ASSERT_EQ(spread.file.ReadSection(s), ReadStatus::Ok);
        EXPECT_EQ(oneLine.data(), spread.data());
    }
}

TEST(ResultFile, ReadsTheThreeSectionsInOrder) {
    Reader r;
    ASSERT_EQ(r.read("model_m1.dat"), ReadStatus::Ok);
    const std::vector<double> tableY1 = r.data().pointY1;

    ASSERT_EQ(r.file.ReadSection(ResultSection::Sidelobe), ReadStatus::Ok);
    EXPECT_EQ(r.data().sectionTitle, "Sidelobe");
    EXPECT_EQ(r.data().nPoints, 4);
    EXPECT_THAT(r.data().pointY2, ElementsAre(-30, -35, -40, -45));

    ASSERT_EQ(r.file.ReadSection(ResultSection::Ripple), ReadStatus::Ok);
    EXPECT_EQ(r.data().nPoints, 3);
    EXPECT_THAT(r.data().pointX, ElementsAre(0, 1, 2));

    ASSERT_EQ(r.file.ReadSection(ResultSection::ImpulseResponse), ReadStatus::Ok);
    EXPECT_EQ(r.data().sectionTitle, "Impulse response h(t)");
    EXPECT_THAT(r.data().pointY2, ElementsAre(0, .5, 1, .5, 0));
    EXPECT_EQ(r.data().pointY1, tableY1);
    EXPECT_TRUE(r.prompter.prompts.empty());
}

TEST(ResultFile, ShortTableEndsAtItsLastRowAndLeavesTheSectionReadable) {
    Reader r;
    ASSERT_EQ(r.read("short_table.dat"), ReadStatus::Ok);
    EXPECT_EQ(r.data().nPoints, 60);
    EXPECT_EQ(r.data().pointX.back(), 60);

    Reader s;
    ASSERT_EQ(s.read("short_table_section.dat"), ReadStatus::Ok);
    EXPECT_EQ(s.data().nPoints, 2);
    ASSERT_EQ(s.file.ReadSection(ResultSection::ImpulseResponse), ReadStatus::Ok);
    EXPECT_EQ(s.data().sectionTitle, "Impulse response h(t)");
    EXPECT_THAT(s.data().pointY2, ElementsAre(1, 2));
}

TEST(ResultFile, FailedFirstRecordLeavesEarlierDataUntouched) {
    Reader r;
    ASSERT_EQ(r.read("model_m2.dat"), ReadStatus::Ok);
    const ResultData before = r.data();
    EXPECT_EQ(r.read("bad_first_record.dat"), ReadStatus::Corrupted);
    EXPECT_EQ(r.data(), before);
    EXPECT_FALSE(r.file.isOpen());
    ASSERT_EQ(r.prompter.prompts.size(), 1u);
    const Prompt& p = r.prompter.prompts[0];
    EXPECT_EQ(p.title, "Reading data file error at --> modelX.");
    EXPECT_EQ(p.text, DataPath("bad_first_record.dat") + kCorruptedText);
    EXPECT_EQ(p.icon, PromptIcon::Exclamation);
    EXPECT_EQ(p.buttons, PromptButtons::Ok);
}

TEST(ResultFile, LaterFileOverwritesOnlyWhatItsModelCarries) {
    Reader r;
    ASSERT_EQ(r.read("model1.dat"), ReadStatus::Ok);
    ASSERT_EQ(r.read("model110.dat"), ReadStatus::Ok);
    EXPECT_THAT(r.data().pw50, ElementsAre(0.2, 0.3)); // left from the model 1 file
    EXPECT_EQ(r.data().dataFileName, "");              // but never shown as this run's
}

struct DamagedCase {
    const char* file;
    ReadStatus status;
    const char* title;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.file;
}

class DamagedFiles : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedFiles, EndInOneMessage) {
    Reader r;
    EXPECT_EQ(r.read(GetParam().file), GetParam().status);
    ASSERT_EQ(r.prompter.prompts.size(), 1u);
    EXPECT_EQ(r.prompter.prompts[0].title, GetParam().title);
    EXPECT_FALSE(r.file.isOpen());
    EXPECT_EQ(r.file.ReadSection(ResultSection::Sidelobe), ReadStatus::NoFile);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFiles,
    testing::Values(DamagedCase{"bad_first_record.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> modelX."},
                    DamagedCase{"tab_in_record.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> pReal."},
                    DamagedCase{"count_not_number.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> xZero."},
                    DamagedCase{"count_overflow.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> modelX."},
                    DamagedCase{"count_negative.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> nYzeros."},
                    DamagedCase{"nan_value.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> pImag."},
                    DamagedCase{"inf_value.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> pImag."},
                    DamagedCase{"sigma_pole_two_numbers.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> nXpole."},
                    DamagedCase{"truncated_block.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> xZero."},
                    DamagedCase{"truncated_header.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> modelX."},
                    DamagedCase{"empty.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> modelX."},
                    DamagedCase{"binary_junk.dat", ReadStatus::Corrupted,
                                "Reading data file error at --> modelX."},
                    DamagedCase{"no_rows.dat", ReadStatus::NoData, "Must exit!"},
                    DamagedCase{"first_row_fails.dat", ReadStatus::NoData, "Must exit!"}));

TEST(ResultFile, NoDataIsFatal) {
    Reader r;
    ASSERT_EQ(r.read("no_rows.dat"), ReadStatus::NoData);
    EXPECT_EQ(r.prompter.prompts[0].text, "No data in file");
    EXPECT_EQ(r.data().nPoints, 0);
}

TEST(ResultFile, DamagedSectionsReport) {
    Reader bad;
    ASSERT_EQ(bad.read("section_count_bad.dat"), ReadStatus::Ok);
    EXPECT_EQ(bad.file.ReadSection(ResultSection::Sidelobe), ReadStatus::Corrupted);
    ASSERT_EQ(bad.prompter.prompts.size(), 1u);
    EXPECT_EQ(bad.prompter.prompts[0].title, "Reading data file error at --> Sidelobe.");

    // A section cut short keeps the rows it has; the next one is then missing.
    Reader cut;
    ASSERT_EQ(cut.read("section_truncated.dat"), ReadStatus::Ok);
    ASSERT_EQ(cut.file.ReadSection(ResultSection::Sidelobe), ReadStatus::Ok);
    EXPECT_EQ(cut.data().nPoints, 2);
    EXPECT_EQ(cut.file.ReadSection(ResultSection::Ripple), ReadStatus::Corrupted);
    EXPECT_EQ(cut.prompter.prompts.back().title, "Reading data file error at --> Ripple.");
}

TEST(ResultFile, MissingFileIsLeftToTheCaller) {
    Reader r;
    EXPECT_EQ(r.read("does_not_exist.dat"), ReadStatus::NoFile);
    EXPECT_TRUE(r.prompter.prompts.empty());
    EXPECT_EQ(r.file.ReadSection(ResultSection::Ripple), ReadStatus::NoFile);
}

TEST(ResultFile, EveryTruncationEndsCleanly) {
    const std::string whole = DataText("model_m1.dat");
    ASSERT_FALSE(whole.empty());
    for (size_t length = 0; length < whole.size(); ++length) {
        Reader r;
        ReadStatus status = r.readText(whole.substr(0, length));
        for (ResultSection s :
             {ResultSection::Sidelobe, ResultSection::Ripple, ResultSection::ImpulseResponse}) {
            if (status == ReadStatus::Ok)
                status = r.file.ReadSection(s);
        }
        // Whatever the cut, the user sees at most one message and no half-read file is open.
        EXPECT_LE(r.prompter.prompts.size(), 1u) << "cut at " << length;
        if (status == ReadStatus::Corrupted) {
            EXPECT_FALSE(r.file.isOpen()) << "cut at " << length;
        }
    }
}

struct HostileLineCase {
    const char* name;
    std::string line;
};

void PrintTo(const HostileLineCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileLines : public testing::TestWithParam<HostileLineCase> {};

TEST_P(HostileLines, AreCorruption) {
    Reader r;
    EXPECT_EQ(r.readText("t\r\ns\r\nx\r\n-2 0 5\r\n" + GetParam().line + "\r\n1 3\r\n"),
              ReadStatus::Corrupted);
    ASSERT_EQ(r.prompter.prompts.size(), 1u);
    EXPECT_EQ(r.prompter.prompts[0].title, "Reading data file error at --> VltDely.");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HostileLines,
    testing::Values(HostileLineCase{"MillionDigits", std::string(1'000'000, '7')},
                    HostileLineCase{"OverLongLine", std::string(3'000'000, ' ') + "1 2 3 4"},
                    HostileLineCase{"BlankLine", "   "}, HostileLineCase{"Word", "1 0 0 zero"},
                    HostileLineCase{"NulByte", std::string("1 0\0 0 0", 8)},
                    HostileLineCase{"FlagOutOfRange", "32767.5 0 0 0"},
                    HostileLineCase{"Ends", ""}));

TEST(ResultFile, LongLinesWithinTheLimitAreRead) {
    // Half a million blanks on either side of the numbers are only separators.
    Reader r;
    const std::string pad(500'000, ' ');
    ASSERT_EQ(r.readText("t\ns\nx\n7 0 2\n" + pad + "1 2 3" + pad + "\n4 5 6\n"), ReadStatus::Ok);
    EXPECT_THAT(r.data().pointY2, ElementsAre(3, 6));
}

TEST(ResultFile, CountsRoundHalfToEven) {
    Reader r;
    ASSERT_EQ(r.readText("t\ns\nx\n7.5 0 2.5\n1 2 3\n4 5 6\n7 8 9\n"), ReadStatus::Ok);
    EXPECT_EQ(r.data().modelX, 8);
    EXPECT_EQ(r.data().nPoints, 2);
}

} // namespace

namespace {

TEST(ResultFile, ExchangeSortKeepsItsOrderForEqualImaginaryParts) {
    // Imaginary parts 2, 2, 1: the first pair is swapped with the third, after which the two
    // pairs at 2 stand in the reverse of their file order.
    Reader r;
    ASSERT_EQ(r.readText("t\ns\nx\n-2 0 1\n0 0 0 0\n0 3\n-1 -2 -3\n2 2 1\n0\n0 0 0\ng\n0 0\n"
                         "1 2 3\n"),
              ReadStatus::Ok);
    EXPECT_THAT(r.data().pairImag, ElementsAre(1, 2, 2));
    EXPECT_THAT(r.data().pairReal, ElementsAre(-3, -2, -1));
}

} // namespace
