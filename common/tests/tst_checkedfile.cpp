#include "CheckedStream.h"
#include "FileBytes.h"
#include "HostileFiles.h"

#include <fstream>
#include <sys/stat.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using CheckedOpenTest = TempDirTest;
class CheckedOpenCase : public HostileCaseTest<> {};

TEST_P(CheckedOpenCase, WhatIsNoReadableFileIsRefusedAtOnceWithItsName) {
    const std::string said = readInChild([](const std::string& path) {
        std::string bytes = "stale";
        const FileError error = ReadFileBytes(path, bytes);
        return error.description + (bytes.empty() ? "" : " (bytes left)");
    });
    expectRefusal(said);
    EXPECT_EQ(said.find("(bytes left)"), std::string::npos);
}
INSTANTIATE_HOSTILE_CASES(CheckedOpenCase);

TEST_F(CheckedOpenTest, ASocketIsNamedForWhatItIs) {
    ASSERT_EQ(::mknod(in("socket").c_str(), S_IFSOCK | 0600, 0), 0);
    CheckedFile file;
    EXPECT_EQ(file.open(in("socket")).description,
              "'" + in("socket") + "' is a socket, not a regular file");
}

TEST_F(CheckedOpenTest, AFileChangingWhileItIsReadIsNoFile) {
    // Grown past the limit after the open: the bytes beyond are never handed out.
    std::ofstream(in("f")) << "12345";
    CheckedFile file;
    ASSERT_TRUE(file.open(in("f"), 8).ok());
    std::ofstream(in("f"), std::ios::app) << "6789";
    char bytes[16];
    std::size_t got = 99;
    EXPECT_EQ(file.readAt(0, bytes, sizeof bytes, got).description,
              "'" + in("f") + "' grew beyond 1 MB while it was read");
    EXPECT_EQ(got, 0u);
    // A file whose size belies its bytes, as one written in place while it is read.
    std::string text;
    EXPECT_EQ(ReadFileBytes("/proc/self/status", text).description,
              "'/proc/self/status' changed while it was read");
    EXPECT_TRUE(text.empty());
}

// A reader that looked at the path before opening it would sooner or later wait for a writer
// for good.
TEST_F(CheckedOpenTest, ANameSwappedBetweenFileAndPipeGivesTheWholeFileOrARefusal) {
    const std::string content(100'000, 'v');
    ExpectWholeOrRefusedWhileSwapped(in("swapped"), content, [&] {
        std::string bytes;
        const FileError error = ReadFileBytes(in("swapped"), bytes);
        return SwapRead{error.ok() && bytes == content, !error.description.empty()};
    });
}

TEST_F(CheckedOpenTest, TheStreamGoesBackToALineAndEndsAtTheLimit) {
    std::ofstream(in("f")) << "one\ntwo\nthree\n";
    FileError error;
    auto stream = OpenCheckedStream(in("f"), error);
    ASSERT_TRUE(stream) << error.description;
    std::string line, lines;
    std::getline(*stream, line);
    const auto second = stream->tellg();
    const std::pair<std::streamoff, std::ios::seekdir> seeks[] = {
        {second, std::ios::beg}, {-6, std::ios::end}, {0, std::ios::beg}};
    for (const auto& [offset, from] : seeks) {
        std::getline(*stream, line);
        lines += line + " ";
        stream->seekg(offset, from);
    }
    std::getline(*stream, line);
    EXPECT_EQ(lines + line, "two two three one");
    EXPECT_FALSE(OpenCheckedStream(in("f"), error, 13));
    EXPECT_EQ(error.number, EFBIG);
    std::string bytes = "stale";
    EXPECT_EQ(ReadFileBytes(in("f"), bytes, 13).number, EFBIG);
    EXPECT_TRUE(ReadFileBytes(in("f"), bytes, 14).ok() && bytes == "one\ntwo\nthree\n");
}

} // namespace
