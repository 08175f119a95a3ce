#include "HostileFiles.h"
#include "RegistryStore.h"

#include <sys/stat.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const RegRoot HKCU = RegRoot::CurrentUser;
constexpr const char* kKey = "Software\\Tamsen Systems";

using StoreHostileTest = TempDirTest;
class StoreHostileCase : public HostileCaseTest<> {};

// Whatever stands where the store should be, reading ends at once in the damaged-store
// message and no write replaces it.
TEST_P(StoreHostileCase, WhatIsNoStoreFileIsReportedAndLeftAlone) {
    const std::string said = readInChild([](const std::string& path) {
        struct stat before = {}, after = {};
        ::lstat(path.c_str(), &before);
        RegistryStore store(path);
        const bool exists = store.KeyExists(HKCU, kKey);
        const RegError read = store.problem();
        const RegError write = store.CreateKey(HKCU, kKey).error;
        ::lstat(path.c_str(), &after);
        const bool kept = after.st_ino == before.st_ino && after.st_size == before.st_size;
        return std::to_string(exists) + std::to_string(read.number) + std::to_string(write.number) +
               " " + read.description + (kept ? "" : " (replaced)");
    });
    expectRefusal(said, "010031001 Cannot read the registry store " + path());
    EXPECT_EQ(said.find("(replaced)"), std::string::npos);
}
INSTANTIATE_HOSTILE_CASES(StoreHostileCase);

TEST_F(StoreHostileTest, AStoreSwappedWithAPipeGivesItsValuesOrAMessage) {
    const std::string path = in("registry");
    RegistryStore(path).CreateKey(HKCU, kKey);
    ExpectWholeOrRefusedWhileSwapped(path, FileText(path), [&] {
        RegistryStore store(path);
        const bool exists = store.KeyExists(HKCU, kKey);
        return SwapRead{exists && store.problem().ok(),
                        !exists && store.problem().number == kRegErrorDamaged};
    });
}

// A store the user made read-only keeps its file and mode; the program goes on with the new
// values in memory and hears of it once. A writable store keeps its mode too.
TEST_F(StoreHostileTest, AReadOnlyStoreIsNotReplacedAndTheNewValuesLiveInMemory) {
    // mode of the store file, with a notice handler, whether the file is written
    const std::tuple<mode_t, bool, bool> rows[] = {
        {0444, true, false}, {0400, false, false}, {0640, true, true}, {0600, false, true}};
    for (const auto& [mode, handler, written] : rows) {
        const std::string path = in("registry" + std::to_string(mode));
        SCOPED_TRACE(path + (handler ? " with handler" : ""));
        RegistryStore(path).CreateKey(HKCU, kKey);
        RegistryStore(path).SetRegValue(HKCU, kKey, "fileIn", RegType::String, std::string("old"));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);

        RegistryStore store(path);
        std::vector<RegError> notices, problems;
        if (handler)
            store.setNoticeHandler([&](const RegError& notice) { notices.push_back(notice); });
        for (const char* value : {"new", "newer"}) {
            EXPECT_TRUE(
                store.SetRegValue(HKCU, kKey, "fileIn", RegType::String, std::string(value)).ok());
            problems.push_back(store.problem());
        }
        EXPECT_FALSE(store.CreateKey(HKCU, "Software\\Other").value);
        EXPECT_EQ(store.stringValue(HKCU, kKey, "fileIn"), "newer");
        EXPECT_TRUE(store.KeyExists(HKCU, "Software\\Other"));

        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(mode));
        EXPECT_EQ(RegistryStore(path).stringValue(HKCU, kKey, "fileIn"), written ? "newer" : "old");
        const RegError none, notice{kRegNoticeReadOnly,
                                    "The registry store " + path +
                                        " is read-only: changed settings are kept only until the "
                                        "program ends."};
        EXPECT_EQ(notices, handler && !written ? std::vector{notice} : std::vector<RegError>{});
        EXPECT_EQ(problems, (std::vector{handler || written ? none : notice, none}));
    }
}

} // namespace
