#include "ResultFileName.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace veltrana;

TEST(ResultFilePath, NamePartLowerCasedDirectoryKept) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Test.frq", "/tmp/Work", "/tmp/Work/test_frq.dat"},
        {"Ex-Yzero.01", "/opt/Q/Veltr.hz/User", "/opt/Q/Veltr.hz/User/ex-yzero_01.dat"},
        {"run.tar.gz", "/d", "/d/run_tar.dat"},
        {"NODOT", "/d", "/d/nodot.dat"},
        {".hidden", "/d", "/d/_hidden.dat"},
    };
    for (const auto& [name, dir, expected] : cases)
        EXPECT_EQ(ResultFilePath(name, dir), expected) << name;
}
