// Saves that survive what the file system and the user's names throw at them, and the
// promise that a problem the format can hold comes back unchanged.
#include "FixedTime.h"
#include "InputFile.h"
#include "RegistryFormat.h"
#include "RegistryStore.h"
#include "ScriptedPrompter.h"
#include "TempDirTest.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

// A problem of `points` pass-band points whose every text is drawn from `pick`.
template <class Pick> DesignProblem RandomProblem(int points, int delays, Pick pick) {
    DesignProblem p;
    for (int slot = 0; slot < 22; ++slot)
        p.Answers[static_cast<size_t>(slot)] = pick(true);
    p.Answers[SlotFreqCount] = std::to_string(points);
    p.Answers[SlotDelayCount] = std::to_string(delays);
    p.nFreqPoints = points;
    p.nDelayPoints = delays;
    for (auto* v : {&p.Freq, &p.Yin, &p.Yout, &p.Weight})
        std::generate_n(std::back_inserter(*v), points, [&] { return pick(false); });
    for (auto* v : {&p.DelFreq, &p.TX})
        std::generate_n(std::back_inserter(*v), delays, [&] { return pick(false); });
    p.Note1 = pick(true);
    p.Note2 = pick(true);
    if (!p.Note1.empty()) { // settings only with a first one set, all nine then
        for (auto& s : p.SolverAnswers)
            s = pick(true);
        p.SolverAnswers[0] = "x" + p.SolverAnswers[0];
        p.nSolverLines = 9;
    }
    return p;
}

struct SaveSafety : test::TempDirTest {
    ShellState state;
    ScriptedPrompter prompter;
};

using test::Noon;

} // namespace

// What the format cannot hold, and so is left out of the texts drawn here: blanks at the ends
// of a value (trimmed), "!" (starts the comment), TAB (removed), line ends (they would start a
// new line), a value beginning with "-999" (the spelling of an empty answer), characters
// outside Windows-1252, and blanks or commas inside a table value (they separate values).
TEST(InputFileRoundTrip, EveryProblemTheFormatCanHoldReadsBackIdentical) {
    std::mt19937 rng(20261206);
    const std::vector<std::string> pieces = {
        "1", "0",        ".5",       "-2",           "E",   "e-5", "Y", "N",
        "x", "\xc3\xa9", "\xc2\xbb", "\xe2\x82\xac", "-99", "9"};
    auto pick = [&](bool blanksAllowed) {
        std::string text;
        int length = static_cast<int>(rng() % 5) + (blanksAllowed ? 0 : 1);
        for (int i = 0; i < length; ++i) {
            if (blanksAllowed && i > 0 && rng() % 4 == 0)
                text += rng() % 2 ? " " : ", ";
            text += pieces[rng() % pieces.size()];
        }
        return text.rfind("-999", 0) == 0 ? "0" + text : text;
    };
    for (int round = 0; round < 300; ++round) {
        DesignProblem p =
            RandomProblem(static_cast<int>(rng() % 6), static_cast<int>(rng() % 4), pick);
        DesignProblem back;
        ScriptedPrompter prompter;
        ASSERT_EQ(ParseAnsFile(FormatAnsFile(p, "f.1", Noon()), back, prompter), ReadOutcome::Read);
        ASSERT_EQ(back, p) << FromCp1252(FormatAnsFile(p, "f.1", Noon()));
        ASSERT_TRUE(prompter.prompts.empty());
    }
}

// Names at the file system's limit, names with a line end, and a target that is a symbolic
// link: each saves, reads back whole, and the link stays a link with its file's mode. A loop of
// links and a missing directory are refused and left as they were (what a refused save says is
// checked with the Save As command).
TEST_F(SaveSafety, OddTargetsSaveAndReadBackOrAreRefused) {
    fs::create_directory(m_dir / "real");
    std::ofstream(m_dir / "real/target.1") << "old";
    fs::permissions(m_dir / "real/target.1", fs::perms(0640));
    fs::create_symlink("real/target.1", m_dir / "link.1");
    const std::string names[] = {std::string(255, 'n'), std::string(249, 'm') + ".frq",
                                 "line\nfeed.1", "link.1"};
    DesignProblem p = RandomProblem(3, 1, [](bool) { return std::string("7"); });
    for (const auto& name : names) {
        SCOPED_TRACE(name.size());
        state.writeFailed = 1;
        ASSERT_FALSE(WriteAnsFile(p, name, m_dir.string(), state, prompter, Noon));
        EXPECT_EQ(state.writeFailed, 0);
        DesignProblem back;
        EXPECT_EQ(FileReadMe(name, m_dir.string(), back, prompter), ReadOutcome::Read);
        EXPECT_EQ(back, p);
    }
    EXPECT_TRUE(prompter.prompts.empty());
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.1"));
    EXPECT_EQ(fs::status(m_dir / "real/target.1").permissions(), fs::perms(0640));

    fs::create_symlink("loop.1", m_dir / "loop.1");
    for (const fs::path& path : {m_dir / "loop.1", m_dir / "nowhere/f.1"}) {
        state.writeFailed = 0;
        EXPECT_FALSE(WriteAnsFile(p, path.filename().string(), path.parent_path().string(), state,
                                  prompter, Noon));
        EXPECT_EQ(state.writeFailed, 1) << path;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), {}), 6); // nothing new beside them
    EXPECT_TRUE(fs::is_symlink(m_dir / "loop.1"));
    const DesignProblem saved = p;
    prompter.prompts.clear();
    EXPECT_EQ(FileReadMe("gone.1", m_dir.string(), p, prompter), ReadOutcome::Missing);
    EXPECT_EQ(FileReadMe("", m_dir.string(), p, prompter), ReadOutcome::Missing);
    EXPECT_EQ(p, saved);
    EXPECT_EQ(prompter.prompts.size(), 1u); // an empty name is not reported
}

// A child saves a large input file and the registry store over and over and is killed at
// random moments. Whenever it dies, each file is the old or the new one, complete.
TEST_F(SaveSafety, KilledSavesLeaveTheOldOrTheNewFile) {
    // A kill is not a power cut: memory-backed files show the same, without waiting for disks.
    std::string shm = "/dev/shm/veltrana-kill-XXXXXX";
    const bool inMemory = fs::is_directory("/dev/shm") && ::mkdtemp(shm.data());
    const fs::path base = inMemory ? fs::path(shm) : m_dir;
    const std::shared_ptr<void> cleanup(nullptr, [&](void*) {
        if (inMemory)
            fs::remove_all(base);
    });
    DesignProblem problems[] = {RandomProblem(3000, 50, [](bool) { return std::string("1.25"); }),
                                RandomProblem(3000, 50, [](bool) { return std::string("8.5"); })};
    const std::string expected[] = {FormatAnsFile(problems[0], "big.1", Noon()),
                                    FormatAnsFile(problems[1], "big.1", Noon())};
    const std::string values[] = {std::string(3000, 'a'), std::string(2000, 'b')};
    RegistryStore store((base / "registry").string());
    ASSERT_TRUE(store.CreateKey(RegRoot::CurrentUser, "Software").error.ok());
    ASSERT_TRUE(
        store.SetRegValue(RegRoot::CurrentUser, "Software", "v", RegType::String, values[0]).ok());
    // Kills land anywhere in a few save cycles of the child, however fast the disk is.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(WriteAnsFile(problems[0], "big.1", base.string(), state, prompter, Noon));
    const auto cycle = 1 + std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();

    std::mt19937 rng(7);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int kills = 0, changes = 0;
    std::string last = expected[0];
    while (kills < 300 && std::chrono::steady_clock::now() < deadline) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned n = static_cast<unsigned>(kills);; ++n) {
                ShellState s;
                ScriptedPrompter quiet;
                WriteAnsFile(problems[n % 2], "big.1", base.string(), s, quiet, Noon);
                store.SetRegValue(RegRoot::CurrentUser, "Software", "v", RegType::String,
                                  values[n % 2]);
            }
        }
        ::usleep(static_cast<useconds_t>(rng() % static_cast<unsigned>(4 * cycle)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ++kills;

        std::string file = Contents(base / "big.1");
        ASSERT_TRUE(file == expected[0] || file == expected[1]) << "after kill " << kills;
        changes += file != last;
        last = file;
        RegParseResult parsed = ParseRegistry(Contents(base / "registry"));
        ASSERT_FALSE(parsed.damaged) << "after kill " << kills << ": " << parsed.problem;
        std::string v = store.stringValue(RegRoot::CurrentUser, "Software", "v");
        ASSERT_TRUE(v == values[0] || v == values[1]) << "after kill " << kills;
    }
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(base))
        leftovers += entry.path().filename().string().rfind(".vt-", 0) == 0;
    std::printf("kills: %d, of which %d after the input file was replaced; hidden temporary "
                "files left by killed saves: %d\n",
                kills, changes, leftovers);
    EXPECT_GE(kills, 20);
    EXPECT_GT(changes, 0) << "no save ever completed between kills: the test proves nothing";
}
