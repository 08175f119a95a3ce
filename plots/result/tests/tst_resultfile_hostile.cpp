#include "HostileFiles.h"
#include "PromptTitles.h"
#include "RecordReader.h"
#include "ResultFile.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <streambuf>

using namespace veltrana;
using namespace veltrana::test;
namespace fs = std::filesystem;

namespace {

using ResultFileHostileTest = TempDirTest;

constexpr ResultSection kSectionOrder[] = {ResultSection::Sidelobe, ResultSection::Ripple,
                                           ResultSection::ImpulseResponse};

class ResultFileHostileCase : public ResultFileHostileTest,
                              public ::testing::WithParamInterface<HostileCase> {};

// Whatever is named as the result file, the reader answers at once without reading it, and
// the caller has a message to show.
TEST_P(ResultFileHostileCase, WhatIsNoResultFileIsRefusedAtOnce) {
    const auto& [kind, name, id] = GetParam();
    const std::string path = in(id);
    if (!MakeHostile(kind, path))
        GTEST_SKIP() << kSkipped;
    const ChildOutcome run = RunInChild([&] {
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        const ReadStatus status = file.ReadResultFile(path);
        return std::to_string(static_cast<int>(status)) + std::to_string(prompter.prompts.size()) +
               file.openError().description;
    });
    EXPECT_TRUE(run.finished) << "no answer within the deadline";
    if (!run.finished)
        return;
    EXPECT_EQ(run.text.substr(0, 2), std::to_string(int(ReadStatus::NoFile)) + "0");
    EXPECT_NE(run.text.find(RefusalText(kind)), std::string::npos) << run.text;
    EXPECT_LT(run.grownKb, 16 << 10);
}
INSTANTIATE_TEST_SUITE_P(Hostile, ResultFileHostileCase, ::testing::ValuesIn(kHostileCases),
                         CaseId);

// The open file is read to its end whatever takes its name meanwhile: a new run's file, or a
// pipe.
TEST_F(ResultFileHostileTest, SectionsComeFromTheFileOpenedWhateverReplacesIt) {
    const std::string sample = std::string(VELTRANA_TEST_DATA) + "/model_m1.dat";
    ScriptedPrompter prompter;
    ResultFile direct(prompter);
    ASSERT_EQ(direct.ReadResultFile(sample), ReadStatus::Ok);
    for (const auto& replacement : {"another result file", "a pipe"}) {
        SCOPED_TRACE(replacement);
        const std::string path = in("run.dat");
        fs::copy_file(sample, path, fs::copy_options::overwrite_existing);
        ResultFile file(prompter);
        ASSERT_EQ(file.ReadResultFile(path), ReadStatus::Ok);
        const std::string other = in("other");
        if (replacement == std::string("a pipe"))
            ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);
        else
            fs::copy_file(std::string(VELTRANA_TEST_DATA) + "/model_m2.dat", other);
        ASSERT_EQ(::rename(other.c_str(), path.c_str()), 0);
        for (ResultSection section : kSectionOrder) {
            ASSERT_EQ(direct.ReadSection(section), ReadStatus::Ok);
            ASSERT_EQ(file.ReadSection(section), ReadStatus::Ok);
            EXPECT_EQ(file.data(), direct.data());
        }
        ASSERT_EQ(direct.ReadResultFile(sample), ReadStatus::Ok);
        fs::remove(path);
    }
    EXPECT_TRUE(prompter.prompts.empty());
}

TEST_F(ResultFileHostileTest, AResultFileSwappedWithAPipeIsReadWholeOrRefused) {
    const std::string path = in("run.dat");
    PathSwapper swapper(path, FileText(std::string(VELTRANA_TEST_DATA) + "/model_m1.dat"));
    const ChildOutcome run = RunInChild([&] {
        return TallyReads([&] {
            ScriptedPrompter prompter;
            ResultFile file(prompter);
            const ReadStatus status = file.ReadResultFile(path);
            if (status == ReadStatus::Ok && file.data().nPoints == 4)
                return Verdict::Whole;
            return status == ReadStatus::NoFile && !file.openError().description.empty()
                       ? Verdict::Refused
                       : Verdict::Other;
        });
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(ParseTally(run.text).other, 0) << run.text;
}

// Hands out `head`, then `length` digits without a line end, counting in `taken` what was
// handed out.
class EndlessLine : public std::streambuf {
public:
    EndlessLine(std::string head, std::uint64_t length, std::uint64_t& taken)
        : m_head(std::move(head)), m_left(length), m_digits(64 * 1024, '7'), m_taken(taken) {}

protected:
    int_type underflow() override {
        std::string& source = m_headGiven ? m_digits : m_head;
        std::size_t size = source.size();
        if (m_headGiven) {
            size = static_cast<std::size_t>(std::min<std::uint64_t>(size, m_left));
            m_left -= size;
        }
        m_headGiven = true;
        if (size == 0)
            return traits_type::eof();
        m_taken += size;
        setg(source.data(), source.data(), source.data() + size);
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string m_head;
    std::uint64_t m_left;
    std::string m_digits;
    bool m_headGiven = false;
    std::uint64_t& m_taken;
};

class EndlessStream : public std::istream {
public:
    EndlessStream(std::string head, std::uint64_t length, std::uint64_t& taken)
        : std::istream(nullptr), m_line(std::move(head), length, taken) {
        rdbuf(&m_line);
    }

private:
    EndlessLine m_line;
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
    const std::uint64_t endless = std::uint64_t{256} << 20;
    for (const auto& [name, before, sections, record] : rows) {
        SCOPED_TRACE(name);
        ScriptedPrompter prompter;
        ResultFile file(prompter);
        std::uint64_t taken = 0;
        ReadStatus status = file.ReadResultStream(
            std::make_unique<EndlessStream>(before, endless, taken), "endless.dat");
        for (int i = 0; i < sections && status == ReadStatus::Ok; ++i)
            status = file.ReadSection(kSectionOrder[i]);
        EXPECT_EQ(status, ReadStatus::Corrupted);
        EXPECT_EQ(PromptTitles(prompter),
                  std::vector{"Reading data file error at --> " + std::string(record) + "."});
        EXPECT_LT(taken, RecordReader::kMaxLineLength + (256 << 10));
    }
}

} // namespace
