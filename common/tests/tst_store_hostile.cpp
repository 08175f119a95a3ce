#include "HostileFiles.h"
#include "RegistryStore.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

using namespace veltrana;
using namespace veltrana::test;

namespace {

const RegRoot HKCU = RegRoot::CurrentUser;
constexpr const char* kKey = "Software\\Tamsen Systems";

using StoreHostileTest = TempDirTest;

mode_t TypeAt(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class StoreHostileCase : public StoreHostileTest,
                         public ::testing::WithParamInterface<HostileCase> {};

// Whatever stands where the store should be, reading ends at once in the damaged-store
// message and no write replaces it.
TEST_P(StoreHostileCase, WhatIsNoStoreFileIsReportedAndLeftAlone) {
    const auto& [kind, name, id] = GetParam();
    const std::string path = in(id);
    if (!MakeHostile(kind, path))
        GTEST_SKIP() << kSkipped;
    const mode_t type = TypeAt(path);
    const ChildOutcome run = RunInChild([&] {
        RegistryStore store(path);
        const bool exists = store.KeyExists(HKCU, kKey);
        const RegError read = store.problem();
        const RegError write = store.CreateKey(HKCU, kKey).error;
        return std::to_string(exists) + std::to_string(read.number) + std::to_string(write.number) +
               " " + read.description;
    });
    EXPECT_TRUE(run.finished) << "no answer within the deadline";
    if (!run.finished)
        return;
    EXPECT_EQ(run.text.substr(0, 9), "010031001") << run.text;
    EXPECT_NE(run.text.find("Cannot read the registry store " + path), std::string::npos);
    EXPECT_NE(run.text.find(RefusalText(kind)), std::string::npos);
    EXPECT_EQ(TypeAt(path), type);
    EXPECT_LT(run.grownKb, 16 << 10);
}
INSTANTIATE_TEST_SUITE_P(Hostile, StoreHostileCase, ::testing::ValuesIn(kHostileCases), CaseId);

TEST_F(StoreHostileTest, AStoreSwappedWithAPipeGivesItsValuesOrAMessage) {
    const std::string path = in("registry");
    RegistryStore(path).CreateKey(HKCU, kKey);
    PathSwapper swapper(path, test::FileText(path));
    const ChildOutcome run = RunInChild([&] {
        return TallyReads([&] {
            RegistryStore store(path);
            if (store.KeyExists(HKCU, kKey))
                return store.problem().ok() ? Verdict::Whole : Verdict::Other;
            return store.problem().number == kRegErrorDamaged ? Verdict::Refused : Verdict::Other;
        });
    });
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(ParseTally(run.text).other, 0) << run.text;
}

// A store the user made read-only keeps its file and mode; the program goes on with the new
// values in memory and hears of it once. A writable store keeps its mode too.
TEST_F(StoreHostileTest, AReadOnlyStoreIsNotReplacedAndTheNewValuesLiveInMemory) {
    // mode of the store file, with a notice handler, whether the file is written
    const std::tuple<mode_t, bool, bool> rows[] = {
        {0444, true, false}, {0400, false, false}, {0640, true, true}, {0600, false, true}};
    for (const auto& [mode, handler, written] : rows) {
        std::ostringstream trace;
        trace << "mode " << std::oct << mode << (handler ? " with handler" : "");
        SCOPED_TRACE(trace.str());
        const std::string path = in("registry" + std::to_string(mode));
        RegistryStore(path).CreateKey(HKCU, kKey);
        RegistryStore(path).SetRegValue(HKCU, kKey, "fileIn", RegType::String, std::string("old"));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        const std::string before = FileText(path);

        RegistryStore store(path);
        std::vector<RegError> notices;
        if (handler)
            store.setNoticeHandler([&](const RegError& notice) { notices.push_back(notice); });
        std::vector<RegError> problems;
        for (const char* value : {"new", "newer"}) {
            EXPECT_TRUE(
                store.SetRegValue(HKCU, kKey, "fileIn", RegType::String, std::string(value)).ok());
            problems.push_back(store.problem());
        }
        EXPECT_FALSE(store.CreateKey(HKCU, "Software\\Other").value);
        EXPECT_EQ(store.stringValue(HKCU, kKey, "fileIn"), "newer");
        EXPECT_TRUE(store.KeyExists(HKCU, "Software\\Other"));

        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(FileText(path) == before, !written);
        EXPECT_EQ(RegistryStore(path).stringValue(HKCU, kKey, "fileIn"), written ? "newer" : "old");

        const RegError notice{kRegNoticeReadOnly,
                              "The registry store " + path +
                                  " is read-only: changed settings are kept only until the "
                                  "program ends."};
        const std::vector<RegError> once = written ? std::vector<RegError>{} : std::vector{notice};
        EXPECT_EQ(notices, handler ? once : std::vector<RegError>{});
        EXPECT_EQ(problems[0], handler || written ? RegError{} : notice);
        EXPECT_EQ(problems[1], RegError{});
    }
}

} // namespace
