#include "FileBytes.h"
#include "SaveTemps.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

using SaveTemps = test::TempDirTest;

void Backdate(const fs::path& path, int seconds) {
    const timespec times[2] = {{std::time(nullptr) - seconds, 0},
                               {std::time(nullptr) - seconds, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

} // namespace

// A save clears away what killed saves left beside its target, and nothing else: not a
// temporary file a live writer holds, not one just made, not names of other patterns.
TEST_F(SaveTemps, TheNextSaveRemovesOnlyLeftoversNoLiveProcessOwns) {
    // name, age in seconds, held locked by a live process, whether the save removes it
    const std::tuple<const char*, int, bool, bool> files[] = {
        {".vt-a1B2c3", 60, false, true},   {".vt-ZZZZZZ", 3, false, true},
        {".vt-held01", 60, true, false},   {".vt-young1", 0, false, false},
        {".vt-abc", 60, false, false},     {".vt-abcdefg", 60, false, false},
        {"x.vt-abcdef", 60, false, false}, {"input.1", 60, false, false},
    };
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(in(".vt-held01").c_str(), O_RDWR | O_CREAT, 0600);
        (void)!::write(ready[1], fd >= 0 && MarkSaveTempOwned(fd) ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    for (const auto& [name, age, held, removed] : files) {
        if (!held)
            std::ofstream(in(name)) << "left";
        Backdate(in(name), age);
    }
    fs::create_symlink("input.1", in(".vt-link01"));
    Backdate(in(".vt-link01"), 60);

    ASSERT_EQ(ReplaceFileBytes(in("target"), "new", 0644), 0);
    for (const auto& [name, age, held, removed] : files)
        EXPECT_EQ(fs::exists(in(name)), !removed) << name;
    EXPECT_TRUE(fs::is_symlink(in(".vt-link01")));
    // The writer's own temporary file went with its rename.
    int temps = 0;
    for (const auto& entry : fs::directory_iterator(m_dir))
        temps += IsSaveTempName(entry.path().filename().string());
    EXPECT_EQ(temps, 3); // held, young, the link

    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(RemoveStaleSaveTemps(m_dir.string()), 1) << "its writer is gone";
    EXPECT_EQ(RemoveStaleSaveTemps(in("missing")), 0);
}
