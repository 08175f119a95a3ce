#include "ResultFileName.h"

#include <gtest/gtest.h>

using namespace veltrana;

TEST(ResultFilePath, NamePartLowerCasedDirectoryKept) {
    struct Case {
        const char* name;
        const char* dir;
        const char* expected;
    };
    const Case cases[] = {
        {"Test.frq", "/tmp/Work", "/tmp/Work/test_frq.dat"},
        {"Ex-Yzero.01", "/opt/Q/Veltr.hz/User", "/opt/Q/Veltr.hz/User/ex-yzero_01.dat"},
        {"run.tar.gz", "/d", "/d/run_tar.dat"},
        {"NODOT", "/d", "/d/nodot.dat"},
        {".hidden", "/d", "/d/_hidden.dat"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultFilePath(c.name, c.dir), c.expected) << c.name;
}
