#include "FileStamp.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

using FileStampTest = test::TempDirTest;

void SetOld(const std::string& path) {
    const timespec times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

} // namespace

// Only what this run wrote counts as its result: an older file left at the place never does.
TEST_F(FileStampTest, AFileCountsAsWrittenSinceAMomentOnlyWhenItWas) {
    const std::string path = in("result.dat"), other = in("other.dat");
    // what stood there at the start, what happens during the run, whether it counts
    const std::tuple<const char*, bool, std::function<void()>, bool> cases[] = {
        {"nothing was written", true, [] {}, false},
        {"nothing before, nothing after", false, [] {}, false},
        {"rewritten in place", true, [&] { std::ofstream(path) << "new"; }, true},
        {"a new file where none was", false, [&] { std::ofstream(path) << "new"; }, true},
        {"an older file renamed into place", true,
         [&] {
             std::ofstream(other) << "x";
             SetOld(other);
             fs::rename(other, path);
         },
         true},
        {"the old file removed", true, [&] { fs::remove(path); }, false},
    };
    for (const auto& [what, existed, during, counts] : cases) {
        SCOPED_TRACE(what);
        fs::remove(path);
        if (existed) {
            std::ofstream(path) << "old";
            SetOld(path);
        }
        const FileStamp before = StampOf(path);
        const std::int64_t start = FileClockNow();
        during();
        EXPECT_EQ(WrittenSince(before, start, StampOf(path)), counts);
    }
}
