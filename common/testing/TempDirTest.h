#pragma once

#include "FileBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltrana::test {

/// The bytes of a file; "" when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
    std::string bytes;
    ReadFileBytes(path.string(), bytes);
    return bytes;
}

/// A fixture with a fresh directory of its own, removed after the test. The process's
/// current directory is put back as it was, whatever the test made of it.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedCwd = std::filesystem::current_path();
        std::string pattern = (std::filesystem::path(::testing::TempDir()) / "veltrana-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        std::filesystem::current_path(m_savedCwd);
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(m_dir);
    }

    std::string in(const std::string& name) const { return (m_dir / name).string(); }

    static std::string Contents(const std::filesystem::path& path) { return FileText(path); }

    std::filesystem::path m_dir;

private:
    std::filesystem::path m_savedCwd;
};

} // namespace veltrana::test
