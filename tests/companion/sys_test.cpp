#include "cmnw32/sys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/test_support.h"

namespace {

using cmnw::test::TempDir;

TEST(SysNativePath, BackslashesAndDrive) {
    struct Case {
        const char *in;
        const char *out;
    } cases[] = {
        {"C:\\dir\\file.ini", "/dir/file.ini"}, {"c:rel\\x", "rel/x"},
        {"\\\\server\\share", "//server/share"},
        {"/already/native", "/already/native"}, {"1:\\x", "1:/x"}, {"C:", ""}, {"", ""},
    };
    for (const Case &c : cases) {
        char buf[64];
        EXPECT_EQ(SYSNativePath(c.in, buf, sizeof buf), std::strlen(c.out)) << c.in;
        EXPECT_STREQ(buf, c.out) << c.in;
    }
    char small[4];
    EXPECT_EQ(SYSNativePath("D:\\abcdef", small, sizeof small), 7u);
    EXPECT_STREQ(small, "/ab");
    EXPECT_TRUE(SYSNativePath(nullptr, small, sizeof small) == 0 && small[0] == '\0');
}

TEST(SysStream, OpenWriteReadThroughNativePath) {
    TempDir dir;
    std::string suitePath = "C:" + dir.File("f.txt");
    std::replace(suitePath.begin(), suitePath.end(), '/', '\\');
    FILE *f = SYSfopen(suitePath.c_str(), "w");
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(SYSfprintf(f, "%s-%d", "abc", 42) == 6 && SYSfclose(f) == 0);
    f = SYSfopen(suitePath.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[16] = {};
    EXPECT_EQ(SYSfread(buf, 1, sizeof buf, f), 6u);
    EXPECT_STREQ(buf, "abc-42");
    EXPECT_TRUE(SYSfseek(f, 2, SEEK_SET) == 0 && SYSftell(f) == 2);
    SYSrewind(f);
    EXPECT_EQ(SYSftell(f), 0);
    EXPECT_EQ(SYSfclose(f), 0);
    EXPECT_TRUE(SYSfopen(dir.File("missing/x").c_str(), "r") == nullptr && SYSErrno() == ENOENT);
    EXPECT_EQ(SYSfclose(nullptr), EOF);
    EXPECT_EQ(SYSftell(nullptr), -1);
}

TEST(SysModule, LoadFindFreeAndFailureText) {
    char why[128];
    void *m = SYSLoadModule("libm.so.6", why, sizeof why);
    ASSERT_NE(m, nullptr) << why;
    EXPECT_NE(SYSModuleSymbol(m, "cos"), nullptr);
    EXPECT_EQ(SYSModuleSymbol(m, "no_such_symbol_here"), nullptr);
    EXPECT_EQ(SYSFreeModule(m), 0);
    EXPECT_EQ(SYSLoadModule("C:\\no\\such\\module.so", why, sizeof why), nullptr);
    EXPECT_NE(std::string(why).find("/no/such/module.so"), std::string::npos) << why;
    why[0] = 'q';
    EXPECT_EQ(SYSLoadModule("", why, 0), nullptr);  // no room for the reason: none written
    EXPECT_EQ(why[0], 'q');
}

}  // namespace
