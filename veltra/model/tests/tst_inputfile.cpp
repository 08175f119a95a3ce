#include "InputFile.h"
#include "ResultFileName.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace veltrana;

namespace {

std::tm When(const char* text) {
    std::tm t{};
    ::strptime(text, "%Y-%m-%d %H:%M", &t);
    return t;
}

DesignProblem ExampleProblem() {
    DesignProblem p;
    p.Answers = {"Y",     "76.7",        "-2",          "-2", "N",    "10", "10", "1  4",
                 ".02",   ".1 .1 .1 .1", ".2 .3 .4 .5", "N",  ".05",  "N",  "N",  "0 0 0",
                 "1.111", ".01",         ".01",         "1",  ".005", "22", "2",  "1"};
    p.Freq = {"", "1", "5"};
    p.Yin = {"", "1", "1"};
    p.Yout = {"", "1", ".9"};
    p.Weight = {"", "1.00", "1.00"};
    p.nFreqPoints = 2;
    p.DelFreq = {"", "1"};
    p.TX = {"", "76.7"};
    p.nDelayPoints = 1;
    p.SolverAnswers = {"5  10  7", "0   0   0", "1e-5 1e-5 1e-5", "100", "10", "2000",
                       "1",        "16",        ".0001"};
    p.nSolverLines = 9;
    return p;
}

// The example input file, with the blanks that end several of its comments.
const std::string kExampleFile = test::FileText(VELTRANA_TEST_DATA "/Filter.1");

// The example file with its pass-band table replaced by `table` (count line included).
std::string WithPassTable(const std::string& table) {
    const std::string& f = kExampleFile;
    return f.substr(0, f.find("2  \t\t! 23.")) + table + f.substr(f.find("1  \t\t! \r\n"));
}

} // namespace

TEST(InputFileFormat, ExampleIsWrittenByteForByteAndReadsBackWithEitherLineEndOrCut) {
    EXPECT_EQ(FormatAnsFile(ExampleProblem(), "Filter.1", When("2001-03-07 15:05")), kExampleFile);
    for (const std::string& file : {kExampleFile, ReplaceAll(kExampleFile, "\r\n", "\n")}) {
        DesignProblem read;
        ScriptedPrompter prompter;
        EXPECT_EQ(ParseAnsFile(file, read, prompter), ReadOutcome::Read);
        EXPECT_EQ(read, ExampleProblem());
    }
    // A file ending early reads "-EOF-" for the rest.
    DesignProblem p;
    ScriptedPrompter prompter;
    EXPECT_EQ(ParseAnsFile("Filter.1\r\nY  ! x\r\n.5", p, prompter), ReadOutcome::Read);
    EXPECT_EQ(std::tie(p.Answers[1], p.Answers[2], p.Note2), std::tuple(".5", "-EOF-", "-EOF-"));
    EXPECT_EQ(std::tie(p.nFreqPoints, p.nSolverLines), std::tuple(0, 0));
}

// The hour around midnight and noon (the example holds an afternoon hour), and the header's
// comment cut at fifty characters.
TEST(InputFileFormat, HeaderLine) {
    EXPECT_EQ(FormatHeaderDate(When("2001-01-01 00:00")), "January 01, 2001 @ 12:00 AM");
    EXPECT_EQ(FormatHeaderDate(When("2001-09-30 12:59")), "September 30, 2001 @ 12:59 PM");
    DesignProblem p = ExampleProblem();
    p.nFreqPoints = 11;
    std::string file = FormatAnsFile(p, "x", When("2001-09-07 15:05"));
    EXPECT_EQ(file.substr(0, file.find("\r\n")),
              "x  \t\t!*  22,  11, and  9          September 07, 2001 @ 3:0");
}

// A "!" ends a value and a TAB in it is dropped; a value of blanks is written as none.
TEST(InputFileFormat, AnswerLineValues) {
    EXPECT_EQ(AnsLineValue("a note! with bang  \t\t! 20. Note1"), "a note");
    EXPECT_EQ(AnsLineValue("tab\tinside  \t\t! c"), "tabinside");
    EXPECT_EQ(WriteAnsLine("   ", "c", false), "-999  \t\t! c");
}

TEST(ResultFileName, FirstDotBecomesAnUnderscoreAndASecondEndsTheName) {
    EXPECT_EQ(ResultFilePath("Ex-Yzero.01", "/Work/In"), "/Work/In/ex-yzero_01.dat");
    EXPECT_EQ(ResultFilePath("a.b.c", "/Work/In"), "/Work/In/a_b.dat");
}

// A point's line, and the Freq, Yin, Yout and weight read from it.
TEST(InputFileReader, PassBandLinesOfEveryShape) {
    const std::pair<const char*, const char*> cases[] = {
        {"1  2  3  4", "1 2 3 4"}, {"1,2,3,4", "1 2 3 4"},       {"1 ,, 2,3 ,   4  ", "1 2 3 4"},
        {"1  2  3", "1 2 3 3"},    {"1  2  3  4  5", "1 2 3 5"},
    };
    for (const auto& [line, values] : cases) {
        std::string table = std::string("1\r\nh\r\nh\r\n") + line + "\t\t ! Point # 1\r\n";
        DesignProblem p;
        ScriptedPrompter prompter;
        ASSERT_EQ(ParseAnsFile(WithPassTable(table), p, prompter), ReadOutcome::Read) << line;
        ASSERT_EQ(p.nFreqPoints, 1);
        EXPECT_EQ(p.Freq[1] + " " + p.Yin[1] + " " + p.Yout[1] + " " + p.Weight[1], values) << line;
    }
}

TEST(InputFileReader, PointLineWithTooFewValuesStopsAndKeepsWhatWasRead) {
    std::string table = "3\r\nh\r\nh\r\n1 2 3 4\r\n5 6\r\n7 8 9 1\r\n";
    DesignProblem p = ExampleProblem();
    ScriptedPrompter prompter;
    EXPECT_EQ(ParseAnsFile(WithPassTable(table), p, prompter), ReadOutcome::Failed);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text.rfind("Unexpected error # 9 occured: ", 0), 0u);
    EXPECT_EQ(std::tie(p.nFreqPoints, p.Yin[2]), std::tuple(1, "6"));
    EXPECT_EQ(p.Note1, "Keep notes for future runs"); // not reached, so unchanged
}

// A count the table does not match: the lines after it are taken as points (the delay
// count's header then stops the reading); counts beyond the file never size the tables.
TEST(InputFileReader, CountsThatDoNotMatchTheTableStayBounded) {
    for (const char* count : {"3", "1e9", "99999999999", "-5", "abc"}) {
        DesignProblem p;
        ScriptedPrompter prompter;
        ParseAnsFile(WithPassTable(std::string(count) + "\r\nh\r\nh\r\n1 2 3 4\r\n"), p, prompter);
        EXPECT_LT(p.Freq.size(), 100u) << count;
        EXPECT_GE(p.Freq.size(), static_cast<size_t>(p.nFreqPoints) + 1) << count;
        EXPECT_LE(p.nFreqPoints, 1) << count;
    }
}

// Settings are written when one of the first three is given, and read only after "Y" (none
// given: the round trip in tst_savesafety).
TEST(InputFileReader, SettingsSwitch) {
    const std::tuple<std::array<const char*, 3>, const char*, int> cases[] = {
        {{"", "", "1e-5"}, "Y", 9}, {{"5", "", ""}, "Y", 9}, {{"5", "", ""}, "y", 0}};
    for (const auto& [firstThree, switchLine, lines] : cases) {
        DesignProblem p = ExampleProblem();
        std::copy(firstThree.begin(), firstThree.end(), p.SolverAnswers.begin());
        std::string file = ReplaceAll(FormatAnsFile(p, "f", {}), "Y\t\t! 22.",
                                      std::string(switchLine) + "\t\t! 22.");
        DesignProblem back;
        ScriptedPrompter prompter;
        ParseAnsFile(file, back, prompter);
        EXPECT_EQ(std::tie(back.nSolverLines, back.SolverAnswers[3]),
                  std::tuple(lines, lines ? "100" : ""));
    }
}

// A weight cell left blank too: its line would read back with Yout as the weight.
TEST(InputFileReader, WeightsMissingFromTheRecordOrBlankAreWrittenAsOne) {
    using Texts = std::vector<std::string>;
    for (const Texts& weights : {Texts{"", "7"}, Texts{"", "7", " "}}) {
        DesignProblem p = ExampleProblem();
        p.Weight = weights;
        std::string file = FormatAnsFile(p, "f", {});
        EXPECT_NE(file.find("1  1  1  7\t\t ! Point # 1\r\n5  1  .9  1.00\t\t ! Point # 2"),
                  std::string::npos);
    }
}
