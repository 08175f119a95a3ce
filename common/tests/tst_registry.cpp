#include "RegistryStore.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <numeric>
#include <tuple>

using namespace veltrana;
namespace fs = std::filesystem;

namespace {

const RegRoot HKCU = RegRoot::CurrentUser;

class RegistryTest : public test::TempDirTest {
protected:
    std::string storePath() const { return in("cfg/registry"); }
    std::string readStoreFile() const { return Contents(storePath()); }
};

TEST_F(RegistryTest, ValuesComeBackExactlyInAFreshStore) {
    std::string allBytes(256, '\0');
    std::iota(allBytes.begin(), allBytes.end(), '\0');
    // label, value name, type, value
    const std::tuple<const char*, std::string, RegType, RegValue> rows[] = {
        {"empty string", "empty", RegType::String, std::string()},
        {"every byte", "bytes", RegType::String, allBytes},
        {"long", "long", RegType::String, std::string(5000, 'x') + "end"},
        {"default value name", "", RegType::String, std::string("OutFile")},
        {"binary, all bytes", "bin", RegType::Binary, RegBytes(allBytes.begin(), allBytes.end())},
        {"binary, empty", "binEmpty", RegType::Binary, RegBytes{}},
        {"number max", "nMax", RegType::Number, std::numeric_limits<std::int32_t>::max()},
    };
    RegistryStore writer(storePath());
    ASSERT_TRUE(writer.CreateKey(HKCU, "Software\\Tamsen Systems").error.ok());
    for (const auto& [label, name, type, value] : rows)
        ASSERT_TRUE(writer.SetRegValue(HKCU, "Software\\Tamsen Systems", name, type, value).ok())
            << label;

    RegistryStore reader(storePath());
    for (const auto& [label, name, type, value] : rows) {
        auto got = reader.GetRegValue(HKCU, "Software\\Tamsen Systems", name, type,
                                      std::string("default"));
        EXPECT_TRUE(got.error.ok()) << label;
        EXPECT_EQ(got.value, value) << label;
    }
    EXPECT_TRUE(reader.problem().ok());
}

TEST_F(RegistryTest, FileFormatIsStable) {
    RegistryStore store(storePath());
    ASSERT_TRUE(store.CreateKey(HKCU, "Software\\Tamsen Systems").error.ok());
    ASSERT_TRUE(store.CreateKey(RegRoot::ClassesRoot, ".Out").error.ok());
    store.SetRegValue(HKCU, "Software\\Tamsen Systems", "fileIn", RegType::String,
                      std::string("/a b/x=1%\n"));
    store.SetRegValue(HKCU, "Software\\Tamsen Systems", "Bits", RegType::Binary,
                      RegBytes{0x00, 0xAB, 0x7F});
    store.SetRegValue(HKCU, "Software", "Grid", RegType::Number, std::int32_t{-2});
    EXPECT_EQ(readStoreFile(), Contents(VELTRANA_TEST_DATA "/store"));
}

TEST_F(RegistryTest, KeysExistOnTheirOwnWithTheirParents) {
    RegistryStore store(storePath());
    // The value says whether the key was there already.
    EXPECT_FALSE(store.CreateKey(HKCU, "Software\\Tamsen Systems\\Veltrana").value);
    EXPECT_TRUE(store.CreateKey(HKCU, "Software\\Tamsen Systems\\Veltrana").value);

    RegistryStore other(storePath());
    EXPECT_TRUE(other.KeyExists(HKCU, "software\\tamsen systems")) << "names ignore case";
    EXPECT_FALSE(other.KeyExists(HKCU, "Software\\Tamsen"));
    EXPECT_FALSE(other.KeyExists(RegRoot::ClassesRoot, "Software")) << "roots are separate";
}

// A read falls back to the default; a write that cannot happen says so and leaves the store
// alone.
TEST_F(RegistryTest, WhatCannotBeReadGivesTheDefaultAndWhatCannotBeWrittenIsRefused) {
    RegistryStore store(storePath());
    store.CreateKey(HKCU, "Key");
    store.SetRegValue(HKCU, "Key", "n", RegType::Number, std::int32_t{7});
    const std::string before = readStoreFile();
    const RegValue def = std::string("dflt");

    const RegError none, unsupportedError{1001, "Unsupported value type"};
    // label, key, value name, type, error
    const std::tuple<const char*, const char*, const char*, RegType, RegError> rows[] = {
        {"missing key", "Nokey", "n", RegType::String, none},
        {"missing value", "Key", "absent", RegType::String, none},
        {"stored with another type", "Key", "n", RegType::String, none},
        {"unsupported type", "Key", "n", RegType{2}, unsupportedError},
        {"unsupported type, missing value", "Key", "absent", RegType{7}, unsupportedError},
    };
    for (const auto& [label, key, name, type, error] : rows) {
        auto got = store.GetRegValue(HKCU, key, name, type, def);
        EXPECT_EQ(got.value, def) << label;
        EXPECT_EQ(got.error, error) << label;
    }
    EXPECT_EQ(store.SetRegValue(HKCU, "Key", "v", static_cast<RegType>(2), std::string("x")),
              (RegError{1001, "Unsupported value type"}));
    EXPECT_EQ(store.SetRegValue(HKCU, "Key", "v", RegType::Number, std::string("12")).number, 1001)
        << "value does not match its type";
    EXPECT_EQ(store.SetRegValue(HKCU, "Missing", "v", RegType::String, std::string("x")).number,
              1002)
        << "a missing key is not created by a write";
    EXPECT_EQ(readStoreFile(), before) << "nor is the missing key made";
}

TEST_F(RegistryTest, DamagedStoreReadsEmptyIsReportedAndKeptAside) {
    const std::string good = "VeltranaRegistry 1\n[HKEY_CURRENT_USER\\K]\n4 n=1\nEnd\n";
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"not a store", "\x89PNG\r\n garbage"},
        {"cut short", good.substr(0, good.size() - 4)},
        {"number too big", "VeltranaRegistry 1\n[HKEY_CURRENT_USER\\K]\n4 n=2147483648\nEnd\n"},
        {"key twice", "VeltranaRegistry 1\n[HKEY_CURRENT_USER\\K]\n[HKEY_CURRENT_USER\\k]\nEnd\n"},
        {"text after end", good + "4 n=2\n"},
    };
    fs::create_directories(m_dir / "cfg");
    for (const auto& [label, text] : damaged) {
        SCOPED_TRACE(label);
        fs::remove(storePath() + ".damaged");
        std::ofstream(storePath(), std::ios::binary) << text;
        RegistryStore store(storePath());
        EXPECT_FALSE(store.KeyExists(HKCU, "K"));
        EXPECT_EQ(store.problem().number, 1003);
        EXPECT_NE(store.problem().description.find(storePath()), std::string::npos);

        ASSERT_TRUE(store.CreateKey(HKCU, "New").error.ok());
        EXPECT_TRUE(store.KeyExists(HKCU, "New"));
        EXPECT_TRUE(store.problem().ok()) << "the new store is sound";
        EXPECT_EQ(Contents(storePath() + ".damaged"), text);
    }
}

TEST_F(RegistryTest, KeysThatCannotBeMadeAreRefusedAndNoStoreIsWritten) {
    // A regular file where the store's directory should be stops even the superuser. (What is
    // no store file where the store should be: tst_store_hostile.)
    std::ofstream(m_dir / "file") << "in the way";
    // label, store, key name, the store's problem afterwards
    const std::tuple<const char*, std::string, const char*, int> rows[] = {
        {"leading backslash", storePath(), "\\Software", 0},
        {"trailing backslash", storePath(), "Software\\", 0},
        {"empty name between", storePath(), "Software\\\\Tamsen", 0},
        {"file in the way", in("file/registry"), "K", 1002},
    };
    for (const auto& [label, path, name, problem] : rows) {
        SCOPED_TRACE(label);
        RegistryStore store(path);
        EXPECT_EQ(store.CreateKey(HKCU, name).error,
                  (RegError{1001, "Unable to create the registry key"}));
        EXPECT_EQ(store.problem().number, problem);
        EXPECT_FALSE(store.KeyExists(HKCU, name));
        EXPECT_FALSE(fs::is_regular_file(path));
    }
}

} // namespace
