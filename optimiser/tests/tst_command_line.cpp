#include "CommandLine.h"
#include "FitTesting.h"
#include "ResultFileName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <regex>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

TEST(CommandLine, OptionsComeBeforeTheFiveArguments) {
    // arguments, then listing|json|threads|names handed over, or "" when they are refused
    // clang-format off
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a", "b", "c", "d", "e"}, "||0|5"},
        {{"--listing", "l.out", "--json", "s.json", "--threads", "4", "a", "b", "c", "d", "e"}, "l.out|s.json|4|5"},
        {{"--", "--json", "b", "c", "d", "e"}, "||0|5"}, // a name that looks like an option
        {{"--threads", "0", "a"}, ""},
        {{"--threads", "2x", "a"}, ""},
        {{"--threads", "1", "--threads", "2", "a"}, ""},
        {{"--json", "a.json", "--json", "b.json", "a"}, ""},
        {{"--listing"}, ""},
        {{"--listing", "", "a"}, ""},
        {{"--verbose", "a"}, ""},
    };
    // clang-format on
    for (const auto& [args, parsed] : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        CommandLine line;
        std::string error;
        const bool ok = ParseCommandLine(args, line, error);
        EXPECT_EQ(ok ? line.listingPath + "|" + line.jsonPath + "|" + std::to_string(line.threads) +
                           "|" + std::to_string(line.handOver.size())
                     : "",
                  parsed);
        EXPECT_NE(ok, !error.empty()) << error;
    }
}

using ScriptedRun = test::FamilyRunTest;

/// The lines of a file with the lines that tell the time of day or a duration left out.
std::string WithoutTimes(const std::string& text) {
    static const std::regex times("(Veltrana optimiser.*(AM|PM)|.*fit time.*|Time taken.*)\r\n");
    return std::regex_replace(text, times, "");
}

// Several fits at once, each with its own listing and a summary a script can read.
TEST_F(ScriptedRun, ListingAndSummaryGoWhereTheyAreAsked) {
    const std::string listing = in("fit.out"), json = in("fit.json");
    installExample("Ex-Zpair.1", "Zp.1");
    std::vector<std::string> args{"--listing", listing, "--json", json};
    for (const std::string& arg : handOver("Zp.1"))
        args.push_back(arg);
    ASSERT_EQ(RunCommandLine(args, {}), RunOk);
    EXPECT_FALSE(fs::exists(fs::path(m_user) / "~Veltra.out"));
    EXPECT_THAT(Contents(listing), testing::HasSubstr("Run completed"));

    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromStdString(Contents(json)), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject o = doc.object();
    EXPECT_EQ(o["status"].toString(), "completed");
    EXPECT_EQ(o["result"].toString().toStdString(), ResultFilePath("Zp.1", m_user));
    EXPECT_EQ(o["starts"].toInt(), 5);
    EXPECT_GT(o["evaluations"].toInt(), 0);
    // Four pole pairs and a zero pair: ten locations, five pairs with f0 and Q.
    const QJsonArray locations = o["locations"].toArray();
    ASSERT_EQ(locations.size(), 10);
    EXPECT_LT(locations[0].toObject()["value"].toDouble(), 0) << "a pole in the left half plane";
    EXPECT_GT(locations[0].toObject()["standardError"].toDouble(), 0);
    EXPECT_EQ(o["pairs"].toArray().size(), 5);
    const std::string result = Contents(ResultFilePath("Zp.1", m_user));
    EXPECT_NEAR(o["errorSums"].toObject()["total"].toDouble(),
                std::stod(result.substr(result.find("\r\n") + 2)), 1e-12);
}

// A failed run still leaves a summary that says why; a file name that is not UTF-8 does not
// make it unreadable.
TEST_F(ScriptedRun, AFailedRunIsSummarisedToo) {
    const std::string json = in("fail.json");
    const std::string name = "Bad\xff.1";
    std::ofstream(fs::path(m_user) / name, std::ios::binary) << "not an input file\r\n";
    EXPECT_EQ(RunCommandLine({"--json", json, name, m_user, m_dir.string(), "xx", "xx"}, {}),
              RunFailed);
    const QJsonObject o =
        QJsonDocument::fromJson(QByteArray::fromStdString(Contents(json))).object();
    EXPECT_EQ(o["status"].toString(), "failed");
    EXPECT_TRUE(o["message"].toString().startsWith("Run failed: "));
    EXPECT_TRUE(o["input"].toString().contains(QChar(0xFFFD)));
    EXPECT_FALSE(o.contains("locations"));
}

// The restarts run in parallel threads; how many makes no difference to what is written.
TEST_F(ScriptedRun, OneThreadAndFourGiveTheSameFiles) {
    std::string result[2], listing[2];
    for (int run = 0; run < 2; ++run) {
        // REMAX 9: a round of eight restarts runs on the threads.
        DesignProblem d = test::Example("Ex-Yzero.01");
        d.SolverAnswers = {"9 10 7", "1 0 0", "1e-5 1e-5 1e-5", "100", "10", "4000",
                           "1",      "16",    ".0001"};
        d.nSolverLines = 9;
        std::ofstream(fs::path(m_user) / "Th.1", std::ios::binary) << FormatAnsFile(d, "Th.1", {});
        ASSERT_EQ(RunCommandLine({"--threads", run == 0 ? "1" : "4", "Th.1", m_user, m_dir.string(),
                                  "xx", "xx"},
                                 RunOptions{}),
                  RunOk);
        result[run] = Contents(ResultFilePath("Th.1", m_user));
        listing[run] = Contents(fs::path(m_user) / "~Veltra.out");
    }
    // The third line of the result file tells when it was written.
    auto withoutLine3 = [](const std::string& s) {
        const size_t second = s.find("\r\n", s.find("\r\n") + 2);
        return s.substr(0, second) + s.substr(s.find("\r\n", second + 2));
    };
    EXPECT_EQ(withoutLine3(result[0]), withoutLine3(result[1]));
    EXPECT_EQ(WithoutTimes(listing[0]), WithoutTimes(listing[1]));
    EXPECT_THAT(listing[0], testing::HasSubstr("Descent 9 (a restart spread over the limits)"));
}

} // namespace
