#include "Settings.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace veltrana;

namespace {

using SettingsTest = test::TempDirTest;

TEST_F(SettingsTest, FileInIsSharedThroughTheCompanyKey) {
    RegistryStore veltra(in("registry"));
    RegistryStore plots(in("registry"));
    EXPECT_EQ(GetFileIn(plots), "");

    ASSERT_TRUE(SaveFileIn(veltra, "/home/ann/User/demo1.dat").ok());
    EXPECT_TRUE(plots.KeyExists(RegRoot::CurrentUser, "Software\\Tamsen Systems"));
    EXPECT_EQ(GetFileIn(plots), "/home/ann/User/demo1.dat");

    ASSERT_TRUE(SaveFileIn(plots, "").ok()) << "plots clears it when its window closes";
    EXPECT_EQ(GetFileIn(veltra), "");
}

TEST_F(SettingsTest, LastFilePathIsAcceptedOnlyAsAnAbsolutePath) {
    const std::pair<const char*, const char*> rows[] = {{"/home/ann/data", "/home/ann/data"},
                                                        {"/", "/"},
                                                        {"data", ""},
                                                        {"data/more", ""},
                                                        {"//server/share", ""},
                                                        {"D:\\data", ""},
                                                        {"", ""}};
    RegistryStore store(in("registry"));
    for (const auto& [saved, expected] : rows) {
        ASSERT_TRUE(SaveLastFilePath(store, saved).ok()) << saved;
        EXPECT_EQ(GetLastFilePath(store), expected) << saved;
    }
}

TEST_F(SettingsTest, UncreatableKeyFailsWith1001AndWritesNothing) {
    std::ofstream(m_dir / "blocked") << "a file, not a directory";
    RegistryStore store((m_dir / "blocked" / "registry").string());
    EXPECT_EQ(SaveFileIn(store, "/x.dat"), (RegError{1001, "Unable to create the registry key"}));
    EXPECT_EQ(SaveLastFilePath(store, "/x").number, 1001);
    EXPECT_EQ(GetFileIn(store), "");
    EXPECT_EQ(GetLastFilePath(store), "");
}

} // namespace
