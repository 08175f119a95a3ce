#include "CheckedStream.h"
#include "FileBytes.h"
#include "HostileFiles.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using CheckedOpenTest = TempDirTest;

class CheckedOpenCase : public CheckedOpenTest,
                        public ::testing::WithParamInterface<HostileCase> {};

TEST_P(CheckedOpenCase, WhatIsNoReadableFileIsRefusedAtOnceWithItsName) {
    const auto& [kind, name, id] = GetParam();
    const std::string path = in(id);
    if (!MakeHostile(kind, path))
        GTEST_SKIP() << kSkipped;
    const ChildOutcome read = RunInChild([&] {
        std::string bytes = "stale";
        const FileError error = ReadFileBytes(path, bytes);
        return error.description + (bytes.empty() ? "" : " (bytes left)");
    });
    EXPECT_TRUE(read.finished) << "no answer within the deadline";
    if (!read.finished)
        return;
    EXPECT_NE(read.text.find(RefusalText(kind)), std::string::npos) << read.text;
    EXPECT_EQ(read.text.find("(bytes left)"), std::string::npos);
    EXPECT_LT(read.grownKb, 16 << 10);
}
INSTANTIATE_TEST_SUITE_P(Hostile, CheckedOpenCase, ::testing::ValuesIn(kHostileCases), CaseId);

TEST_F(CheckedOpenTest, ASocketIsNamedForWhatItIs) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = in("socket");
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    CheckedFile file;
    EXPECT_EQ(file.open(path).description, "'" + path + "' is a socket, not a regular file");
    ::close(fd);
}

TEST_F(CheckedOpenTest, TheOpenedFileIsReadWhateverTakesItsNameLater) {
    std::ofstream(in("f")) << "first";
    CheckedFile file;
    ASSERT_TRUE(file.open(in("f")).ok());
    ASSERT_EQ(::mkfifo(in("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::rename(in("pipe").c_str(), in("f").c_str()), 0);
    char bytes[16];
    std::size_t got = 0;
    ASSERT_TRUE(file.readAt(0, bytes, sizeof bytes, got).ok());
    EXPECT_EQ(std::string(bytes, got), "first");
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

// Renames swap a regular file and a pipe under the name as fast as they can: a reader that
// looked at the path before opening it would sooner or later wait for a writer for good.
TEST_F(CheckedOpenTest, ANameSwappedBetweenFileAndPipeGivesTheWholeFileOrARefusal) {
    const std::string path = in("swapped"), content(100'000, 'v');
    PathSwapper swapper(path, content);
    const ChildOutcome run = RunInChild([&] {
        return TallyReads([&] {
            std::string bytes;
            const FileError error = ReadFileBytes(path, bytes);
            if (error.ok())
                return bytes == content ? Verdict::Whole : Verdict::Other;
            return error.description.empty() ? Verdict::Other : Verdict::Refused;
        });
    });
    ASSERT_TRUE(run.finished);
    const Tally tally = ParseTally(run.text);
    EXPECT_EQ(tally.other, 0) << run.text;
    EXPECT_GT(tally.whole + tally.refused, 0);
    EXPECT_GT(swapper.swaps(), 0);
}

TEST_F(CheckedOpenTest, TheStreamGoesBackToALineAndEndsAtTheLimit) {
    std::ofstream(in("f")) << "one\ntwo\nthree\n";
    FileError error;
    auto stream = OpenCheckedStream(in("f"), error);
    ASSERT_TRUE(stream) << error.description;
    std::string line;
    std::getline(*stream, line);
    const auto second = stream->tellg();
    // step, line read afterwards
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "two"},
        {[&] { stream->seekg(second); }, "two"},
        {[&] { stream->seekg(-6, std::ios::end); }, "three"},
        {[&] { stream->seekg(0); }, "one"},
    };
    for (const auto& [step, expected] : steps) {
        step();
        std::getline(*stream, line);
        EXPECT_EQ(line, expected);
    }
    EXPECT_FALSE(OpenCheckedStream(in("f"), error, 4));
    EXPECT_EQ(error.number, EFBIG);
}

} // namespace
