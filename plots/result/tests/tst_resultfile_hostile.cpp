#include "HostileFiles.h"
#include "PromptTitles.h"
#include "RecordReader.h"
#include "ResultFile.h"

#include <streambuf>

using namespace veltrana;
using namespace veltrana::test;
namespace fs = std::filesystem;

namespace {

using ResultFileHostileTest = TempDirTest;

constexpr ResultSection kSectionOrder[] = {ResultSection::Sidelobe, ResultSection::Ripple,
                                           ResultSection::ImpulseResponse};

class ResultFileHostileCase : public HostileCaseTest<> {};

// Whatever is named as the result file, the reader answers at once without reading it, and
// the caller has a message to show.
TEST_P(ResultFileHostileCase, WhatIsNoResultFileIsRefusedAtOnce) {
    const std::string said = readInChild([](const std::string& path) {
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        const ReadStatus status = file.ReadResultFile(path);
        return std::to_string(static_cast<int>(status)) + std::to_string(prompter.prompts.size()) +
               file.openError().description;
    });
    expectRefusal(said, std::to_string(static_cast<int>(ReadStatus::NoFile)) + "0");
}
INSTANTIATE_HOSTILE_CASES(ResultFileHostileCase);

// The open file is read to its end whatever takes its name meanwhile: a new run's file, or a
// pipe.
TEST_F(ResultFileHostileTest, SectionsComeFromTheFileOpenedWhateverReplacesIt) {
    const std::string sample = VELTRANA_TEST_DATA "/model_m1.dat", path = in("run.dat");
    ScriptedPrompter prompter;
    ResultFile direct(prompter), file(prompter);
    for (const bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "a pipe" : "another result file");
        fs::copy_file(sample, path);
        ASSERT_EQ(file.ReadResultFile(path), ReadStatus::Ok);
        ASSERT_EQ(direct.ReadResultFile(sample), ReadStatus::Ok);
        fs::remove(path);
        if (pipe)
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        else
            fs::copy_file(VELTRANA_TEST_DATA "/model_m2.dat", path);
        for (ResultSection section : kSectionOrder) {
            ASSERT_EQ(direct.ReadSection(section), ReadStatus::Ok);
            ASSERT_EQ(file.ReadSection(section), ReadStatus::Ok);
            EXPECT_EQ(file.data(), direct.data());
        }
        fs::remove(path);
    }
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(ResultFileHostileTest, AResultFileSwappedWithAPipeIsReadWholeOrRefused) {
    const std::string path = in("run.dat");
    ExpectWholeOrRefusedWhileSwapped(path, FileText(VELTRANA_TEST_DATA "/model_m1.dat"), [&] {
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        const ReadStatus status = file.ReadResultFile(path);
        return SwapRead{status == ReadStatus::Ok && file.data().nPoints == 4,
                        status == ReadStatus::NoFile && !file.openError().description.empty()};
    });
}

// A stream of `head`, then digits without a line end up to 256 MB; `taken` counts what it
// handed out.
struct EndlessLine : std::streambuf, std::istream {
    EndlessLine(std::string head, std::uint64_t& taken)
        : std::istream(this), text(std::move(head)), taken(taken) {}
    std::streambuf::int_type underflow() override {
        if (taken > 0 || text.empty())
            text.assign(64 * 1024, '7');
        if (taken > (std::uint64_t{256} << 20))
            return std::streambuf::traits_type::eof();
        taken += text.size();
        setg(text.data(), text.data(), text.data() + text.size());
        return std::streambuf::traits_type::to_int_type(*gptr());
    }
    std::string text;
    std::uint64_t& taken;
};

// A line longer than any record is refused as soon as it is that long, wherever it stands,
// and the whole file with it: the reader does not read on to its end.
TEST_F(ResultFileHostileTest, AnEndlessLineIsRefusedAfterAMegabyte) {
    const std::string head = "t\ns\nx\n";
    // where the line starts, sections read before it, the record named
    const std::tuple<const char*, std::string, int, const char*> rows[] = {
        {"title", "", 0, "modelX"},
        {"first record", head, 0, "modelX"},
        {"pole/zero block", head + "-2 0 5\n", 0, "VltDely"},
        {"table row", head + "7 0 3\n1 2 3\n", 0, "modelX"},
        {"section title", head + "7 0 1\n1 2 3\n", 1, "Sidelobe"},
        {"section row", head + "7 0 1\n1 2 3\nSidelobe\n3\n1 2\n", 1, "Sidelobe"},
        {"third section", head + "7 0 1\n1 2 3\nS\n1\n1 2\nR\n1\n1 2\n", 3, "h(t)"},
    };
    for (const auto& [name, before, sections, record] : rows) {
        SCOPED_TRACE(name);
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        std::uint64_t taken = 0;
        ReadStatus status =
            file.ReadResultStream(std::make_unique<EndlessLine>(before, taken), "endless.dat");
        for (int i = 0; i < sections && status == ReadStatus::Ok; ++i)
            status = file.ReadSection(kSectionOrder[i]);
        EXPECT_EQ(status, ReadStatus::Corrupted);
        EXPECT_EQ(PromptTitles(prompter),
                  std::vector{"Reading data file error at --> " + std::string(record) + "."});
        EXPECT_LT(taken, RecordReader::kMaxLineLength + (256 << 10));
    }
}

} // namespace
