#pragma once

#include "TempDirTest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace veltrana::test {

/// A fresh installation: a family directory with Veltr.hz/User below it, and a registry store
/// of the test's own. quillon() answers the environment lookup the programs make.
class FamilyDirTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        family = m_dir / "family";
        programDir = family / "Veltr.hz";
        user = programDir / "User";
        std::filesystem::create_directories(user);
        ::setenv("VELTRANA_REGISTRY", in("registry").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VELTRANA_REGISTRY");
        TempDirTest::TearDown();
    }
    std::string quillon(const char* name) const {
        return std::string(name) == "Quillon" ? family.string() : std::string();
    }
    /// A stand-in program: a script that does nothing.
    void installProgram(const std::filesystem::path& path) const {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }

    std::filesystem::path family, programDir, user;
};

} // namespace veltrana::test
