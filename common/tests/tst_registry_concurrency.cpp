#include "RegistryStore.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;

namespace {

constexpr int kWriters = 2;
constexpr int kWritesEach = 200;
constexpr const char* kKey = "Software\\Tamsen Systems\\Graphwick";

std::string ValueName(int writer, int i) {
    return "w" + std::to_string(writer) + "_" + std::to_string(i);
}

// Runs in a child: waits until the parent opens the gate, then writes its values and its own
// keys. Exit status 0 when every write succeeded.
[[noreturn]] void WriteInChild(const std::string& path, int writer, int gate) {
    char go;
    while (::read(gate, &go, 1) < 0) {
    }
    RegistryStore store(path);
    int failures = 0;
    for (int i = 0; i < kWritesEach; ++i) {
        if (!store
                 .SetRegValue(RegRoot::CurrentUser, kKey, ValueName(writer, i), RegType::Number,
                              std::int32_t{writer * 1000 + i})
                 .ok())
            ++failures;
        if (i % 50 == 0 && !store.CreateKey(RegRoot::ClassesRoot, ValueName(writer, i)).error.ok())
            ++failures;
    }
    ::_exit(failures == 0 ? 0 : 1);
}

using RegistryConcurrency = test::TempDirTest;

TEST_F(RegistryConcurrency, TwoProgramsWritingAtOnceLoseNothing) {
    const std::string path = in("registry");
    RegistryStore store(path);
    ASSERT_TRUE(store.CreateKey(RegRoot::CurrentUser, kKey).error.ok());

    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    pid_t children[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        children[w] = ::fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            ::close(gate[1]);
            WriteInChild(path, w, gate[0]);
        }
    }
    ::close(gate[0]);
    ::close(gate[1]); // both children start together: their read sees end of file
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    RegistryStore reader(path);
    int lost = 0;
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kWritesEach; ++i) {
            if (reader.numberValue(RegRoot::CurrentUser, kKey, ValueName(w, i), -1) != w * 1000 + i)
                ++lost;
            if (i % 50 == 0 && !reader.KeyExists(RegRoot::ClassesRoot, ValueName(w, i)))
                ++lost;
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_TRUE(reader.problem().ok());
}

} // namespace
