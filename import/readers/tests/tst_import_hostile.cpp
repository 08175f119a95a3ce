#include "HostileFiles.h"
#include "ImportDataCommand.h"
#include "MeasuredFile.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using ImportHostileTest = TempDirTest;
class ImportHostileCase : public HostileCaseTest<> {};

const std::string kData = VELTRANA_TEST_DATA "/filter_db.s2p";

// import-data's exit status and what it said on its error stream.
std::string ImportData(const std::string& data, const std::string& input, const std::string& out) {
    std::ostringstream said, errors;
    const int status = RunImportData({data, input, out}, said, errors);
    return std::to_string(status) + errors.str();
}

// The Import Data dialog's read, then import-data with the case as its data file and as its
// template: each ends at once in a message, and nothing is written.
TEST_P(ImportHostileCase, WhatIsNoMeasuredFileEndsInAMessageAndNoOutput) {
    const std::string out = in("Out.1");
    const std::string said = readInChild([&](const std::string& path) {
        MeasuredFile file;
        ImportError error;
        const bool loaded = LoadMeasuredFile(path, file, error);
        return std::to_string(loaded) + error.text() + "\n" + ImportData(path, kData, out) +
               ImportData(kData, path, out).substr(0, 1);
    });
    expectRefusal(said, "0The file cannot be read: ");
    const std::string dialog = said.substr(1, said.find('\n'));
    EXPECT_TRUE(said.ends_with("\n1import-data: " + path() + ": " + dialog + "1")) << said;
    EXPECT_FALSE(std::filesystem::exists(out));
}
INSTANTIATE_HOSTILE_CASES(ImportHostileCase);

// A line of a megabyte, within the size limit, ends in a message that quotes no more of it
// than a few words, from either reader: the dialog shows these names and messages.
TEST_F(ImportHostileTest, AMegabyteLineIsQuotedShort) {
    const std::string line(1 << 20, '7'), x40(40, 'x');
    // file, its text, what import-data says of it
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"line.s2p", line, "Line 1: '" + line.substr(0, 40) + "...' is not a number."},
        {"line.csv", line, "The file holds a header line and no values below it."},
        {"name.csv", "f " + std::string(1 << 20, 'x') + "\n1 a\n",
         "Line 2: column 2 (" + x40 + "...): 'a' is not a number."},
    };
    for (const auto& [name, text, says] : rows) {
        std::ofstream(in(name)) << text;
        const ChildOutcome run = RunInChild([&] { return ImportData(in(name), "T.1", in("O")); });
        EXPECT_EQ(run.text, "1import-data: " + in(name) + ": " + says + "\n");
    }
}

} // namespace
