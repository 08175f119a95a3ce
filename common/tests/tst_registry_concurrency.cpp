#include "RegistryStore.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace veltrana;
using enum RegRoot;

namespace {

constexpr int kWriters = 2;
constexpr int kWritesEach = 200;
constexpr const char* kKey = "Software\\Tamsen Systems\\Graphwick";

std::string ValueName(int writer, int i) {
    return "w" + std::to_string(writer) + "_" + std::to_string(i);
}

// Writes a writer's values and, now and then, a key of its own; gives the number of failures.
int Write(const std::string& path, int writer) {
    RegistryStore store(path);
    int failures = 0;
    for (int i = 0; i < kWritesEach; ++i) {
        const std::string name = ValueName(writer, i);
        const std::int32_t value = writer * 1000 + i;
        failures += !store.SetRegValue(CurrentUser, kKey, name, RegType::Number, value).ok();
        failures += i % 50 == 0 && !store.CreateKey(ClassesRoot, name).error.ok();
    }
    return failures;
}

using RegistryConcurrency = test::TempDirTest;

// The test program and a child of it write at once, as veltra and plots may.
TEST_F(RegistryConcurrency, TwoProgramsWritingAtOnceLoseNothing) {
    const std::string path = in("registry");
    ASSERT_TRUE(RegistryStore(path).CreateKey(CurrentUser, kKey).error.ok());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(Write(path, 1) == 0 ? 0 : 1);
    EXPECT_EQ(Write(path, 0), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    RegistryStore reader(path);
    int lost = 0;
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kWritesEach; ++i) {
            lost += reader.numberValue(CurrentUser, kKey, ValueName(w, i), -1) != w * 1000 + i;
            lost += i % 50 == 0 && !reader.KeyExists(ClassesRoot, ValueName(w, i));
        }
    }
    EXPECT_EQ(lost, 0);
    EXPECT_TRUE(reader.problem().ok());
}

} // namespace
