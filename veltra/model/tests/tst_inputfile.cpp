#include "InputFile.h"
#include "ResultFileName.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

std::tm When(const char* text) {
    std::tm t{};
    ::strptime(text, "%Y-%m-%d %H:%M", &t);
    return t;
}

const auto March7 = [] { return When("2001-03-07 15:05"); };

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
    std::string f = kExampleFile;
    size_t from = f.find("2  \t\t! 23.");
    size_t to = f.find("1  \t\t! \r\n");
    return f.substr(0, from) + table + f.substr(to);
}

class InputFileOnDisk : public test::TempDirTest {
protected:
    ShellState state;
    ScriptedPrompter prompter;
};

} // namespace

TEST(InputFileFormat, ExampleIsWrittenByteForByteAndReadsBackWithEitherLineEnd) {
    EXPECT_EQ(FormatAnsFile(ExampleProblem(), "Filter.1", March7()), kExampleFile);
    for (const std::string& file : {kExampleFile, ReplaceAll(kExampleFile, "\r\n", "\n")}) {
        DesignProblem read;
        ScriptedPrompter prompter;
        EXPECT_EQ(ParseAnsFile(file, read, prompter), ReadOutcome::Read);
        EXPECT_EQ(read, ExampleProblem());
    }
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

TEST(InputFileFormat, AnswerLineValues) {
    struct Case {
        const char* line;
        const char* value;
    } cases[] = {
        {"-999  \t\t! 1. x", ""},
        {"  12.5   ! comment", "12.5"},
        {"a note! with bang  \t\t! 20. Note1", "a note"},
        {"tab\tinside  \t\t! c", "tabinside"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsLineValue(c.line), c.value) << c.line;
    EXPECT_EQ(WriteAnsLine("   ", "c", false), "-999  \t\t! c");
}

TEST(ResultFileName, FirstDotBecomesAnUnderscoreAndASecondEndsTheName) {
    const std::tuple<const char*, const char*> cases[] = {
        {"Ex-Yzero.01", "/Work/In/ex-yzero_01.dat"},
        {"a.b.c", "/Work/In/a_b.dat"},
        {"Plain", "/Work/In/plain.dat"},
    };
    for (const auto& [name, path] : cases)
        EXPECT_EQ(ResultFilePath(name, "/Work/In"), path) << name;
}

TEST(InputFileReader, PassBandLinesOfEveryShape) {
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"1  2  3  4", "1", "2", "3", "4"},       {"1,2,3,4", "1", "2", "3", "4"},
        {"1 ,, 2,3 ,   4  ", "1", "2", "3", "4"}, {"1  2  3", "1", "2", "3", "3"},
        {"1  2  3  4  5", "1", "2", "3", "5"},
    };
    for (const auto& [line, freq, yin, yout, weight] : cases) {
        std::string table = std::string("1\r\nh\r\nh\r\n") + line + "\t\t ! Point # 1\r\n";
        DesignProblem p;
        ScriptedPrompter prompter;
        ASSERT_EQ(ParseAnsFile(WithPassTable(table), p, prompter), ReadOutcome::Read) << line;
        ASSERT_EQ(p.nFreqPoints, 1);
        EXPECT_EQ(std::tie(p.Freq[1], p.Yin[1], p.Yout[1], p.Weight[1]),
                  std::tie(freq, yin, yout, weight))
            << line;
    }
}

TEST(InputFileReader, PointLineWithTooFewValuesStopsAndKeepsWhatWasRead) {
    std::string table = "3\r\nh\r\nh\r\n1 2 3 4\r\n5 6\r\n7 8 9 1\r\n";
    DesignProblem p = ExampleProblem();
    ScriptedPrompter prompter;
    EXPECT_EQ(ParseAnsFile(WithPassTable(table), p, prompter), ReadOutcome::Failed);
    ASSERT_EQ(prompter.prompts.size(), 1u);
    EXPECT_EQ(prompter.prompts[0].text.rfind("Unexpected error # 9 occured: ", 0), 0u);
    EXPECT_EQ(p.nFreqPoints, 1);
    EXPECT_EQ(p.Yin[2], "6");
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

TEST(InputFileReader, FileEndingEarlyReadsEof) {
    DesignProblem p;
    ScriptedPrompter prompter;
    EXPECT_EQ(ParseAnsFile("Filter.1\r\nY  ! x\r\n.5", p, prompter), ReadOutcome::Read);
    EXPECT_EQ(std::tie(p.Answers[1], p.Answers[2], p.Note2), std::tuple(".5", "-EOF-", "-EOF-"));
    EXPECT_EQ(std::tie(p.nFreqPoints, p.nSolverLines), std::tuple(0, 0));
}

// Settings are written when one of the first three is given, and read only after "Y" (none
// given: the round trip in tst_savesafety).
TEST(InputFileReader, SettingsSwitch) {
    const std::tuple<std::array<const char*, 3>, const char*, int> cases[] = {
        {{"", "", "1e-5"}, "Y", 9}, {{"5", "", ""}, "Y", 9}, {{"5", "", ""}, "y", 0}};
    for (const auto& [firstThree, switchLine, lines] : cases) {
        DesignProblem p = ExampleProblem();
        for (int i = 0; i < 3; ++i)
            p.SolverAnswers[i] = firstThree[i];
        std::string file = ReplaceAll(FormatAnsFile(p, "f", March7()), "Y\t\t! 22.",
                                      std::string(switchLine) + "\t\t! 22.");
        DesignProblem back;
        ScriptedPrompter prompter;
        ParseAnsFile(file, back, prompter);
        EXPECT_EQ(back.nSolverLines, lines);
        EXPECT_EQ(back.SolverAnswers[3], lines ? "100" : "");
    }
}

// A weight cell left blank too: its line would read back with Yout as the weight.
TEST(InputFileReader, WeightsMissingFromTheRecordOrBlankAreWrittenAsOne) {
    using Texts = std::vector<std::string>;
    for (const Texts& weights : {Texts{"", "7"}, Texts{"", "7", " "}}) {
        DesignProblem p = ExampleProblem();
        p.Weight = weights;
        std::string file = FormatAnsFile(p, "f", March7());
        EXPECT_NE(file.find("1  1  1  7\t\t ! Point # 1"), std::string::npos);
        EXPECT_NE(file.find("5  1  .9  1.00\t\t ! Point # 2"), std::string::npos);
    }
}

// What a refused save says is checked with the Save As command.
TEST_F(InputFileOnDisk, MissingDirectoryOrFileIsReportedAndChangesNothing) {
    DesignProblem p = ExampleProblem();
    EXPECT_FALSE(WriteAnsFile(p, "f.1", in("nowhere"), state, prompter, March7));
    EXPECT_EQ(state.writeFailed, 1);
    EXPECT_TRUE(fs::is_empty(m_dir));
    EXPECT_EQ(FileReadMe("gone.1", m_dir.string(), p, prompter), ReadOutcome::Missing);
    EXPECT_EQ(p, ExampleProblem());
    EXPECT_EQ(FileReadMe("", m_dir.string(), p, prompter), ReadOutcome::Missing);
    ASSERT_EQ(prompter.prompts.size(), 2u); // an empty name is not reported
    EXPECT_EQ(prompter.prompts[1].text, "Missing 'gone.1' file?");
}
