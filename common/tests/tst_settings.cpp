#include "Settings.h"
#include "TempDirTest.h"

#include <gtest/gtest.h>

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

} // namespace
