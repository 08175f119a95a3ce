#include "FileBytes.h"
#include "SaveTemps.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
namespace fs = std::filesystem;

using SaveTemps = test::TempDirTest;

// A save clears away what killed saves left beside its target, and nothing else: not the
// temporary file of a live writer, not one just made, not names of other patterns.
TEST_F(SaveTemps, TheNextSaveRemovesOnlyLeftoversNoLiveProcessOwns) {
    // A writer stopped in the middle of its save, its temporary file made long ago.
    int writing[2];
    ASSERT_EQ(::pipe(writing), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        SetSaveFaultHook([&](SaveStep step) {
            if (step == SaveStep::Sync) {
                (void)!::write(writing[1], "y", 1);
                ::pause();
            }
            return 0;
        });
        ReplaceFileBytes(in("other"), "slow", 0644);
    }
    char c = 0;
    ASSERT_EQ(::read(writing[0], &c, 1), 1);
    std::string held;
    for (const auto& entry : fs::directory_iterator(m_dir))
        held = entry.path().filename().string();
    ASSERT_TRUE(IsSaveTempName(held)) << held;
    // name, age in seconds, whether the save removes it
    const std::tuple<std::string, int, bool> files[] = {{".vt-a1B2c3", 60, true},
                                                        {held, 60, false},
                                                        {".vt-young1", 0, false},
                                                        {".vt-abcdefg", 60, false},
                                                        {"x.vt-abcdef", 60, false}};
    for (const auto& [name, age, removed] : files) {
        std::ofstream(in(name), std::ios::app) << "left";
        const timespec then[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
        ::utimensat(AT_FDCWD, in(name).c_str(), then, 0);
    }
    ASSERT_EQ(ReplaceFileBytes(in("target"), "new", 0644), 0);
    for (const auto& [name, age, removed] : files)
        EXPECT_EQ(fs::exists(in(name)), !removed) << name;
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    EXPECT_EQ(RemoveStaleSaveTemps(m_dir.string()), 1) << "its writer is gone";
}
