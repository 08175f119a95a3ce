#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltrana::test {

/// A fixture with a fresh directory of its own, removed after the test.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::path(::testing::TempDir()) / "veltrana-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string in(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

} // namespace veltrana::test
