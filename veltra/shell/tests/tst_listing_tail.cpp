#include "HostileFiles.h"
#include "RunCommands.h"

#include <fstream>

using namespace veltrana;
using namespace veltrana::test;

namespace {

using ListingTailTest = TempDirTest;

// The listing's last lines, which a failed run shows: only its end is read.
TEST_F(ListingTailTest, LastLinesAreTakenFromTheListingsEnd) {
    const std::string longLine(100'000, 'a');
    // listing, lines asked for, what comes back
    const std::tuple<const char*, std::string, int, std::string> rows[] = {
        {"CR LF lines", "one\r\ntwo\r\nthree\r\n", 2, "two\r\nthree"},
        {"no line end at the end", "one\ntwo", 8, "one\r\ntwo"},
        {"blank lines count", "one\n\n\n", 2, "\r\n"},
        {"empty", "", 8, ""},
        // The first line read began before the bytes read: marked as cut.
        {"a line longer than the end read", longLine + "\r\nlast\r\n", 8,
         "..." + std::string(8192 - 8, 'a') + "\r\nlast"},
    };
    for (const auto& [name, listing, count, expected] : rows) {
        SCOPED_TRACE(name);
        std::ofstream(in(name), std::ios::binary) << listing;
        EXPECT_EQ(LastLines(in(name), count), expected);
    }
}

class ListingTailCase : public HostileCaseTest<> {};

TEST_P(ListingTailCase, WhatIsNoListingGivesNoLinesAtOnce) {
    // The sparse file's last 8 KB are zero bytes: one cut line of them.
    EXPECT_EQ(readInChild([](const std::string& path) { return LastLines(path, 8); }),
              kind() == Hostile::Sparse1G ? "..." + std::string(8192, '\0') : "");
}
INSTANTIATE_HOSTILE_CASES(ListingTailCase);

TEST_F(ListingTailTest, AListingSwappedWithAPipeGivesItsLinesOrNone) {
    ExpectWholeOrRefusedWhileSwapped(in("out"), "one\ntwo\n", [&] {
        const std::string lines = LastLines(in("out"), 8);
        return SwapRead{lines == "one\r\ntwo", lines.empty()};
    });
}

} // namespace
