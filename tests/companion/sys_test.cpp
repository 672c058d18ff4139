#include "cmnw32/sys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(SysNativePath, BackslashesAndDrive) {
    struct Case {
        const char *in;
        const char *out;
    } cases[] = {
        {"C:\\dir\\file.ini", "/dir/file.ini"}, {"c:rel\\x", "rel/x"},
        {"\\\\server\\share", "//server/share"},
        {"/already/native", "/already/native"}, {"1:\\x", "1:/x"}, {"C:", ""},
    };
    for (const Case &c : cases) {
        char buf[64];
        EXPECT_EQ(SYSNativePath(c.in, buf, sizeof buf), std::strlen(c.out)) << c.in;
        EXPECT_STREQ(buf, c.out) << c.in;
    }
    char small[4];
    EXPECT_EQ(SYSNativePath("D:\\abcdef", small, sizeof small), 7u);
    EXPECT_STREQ(small, "/ab");
}

}  // namespace
