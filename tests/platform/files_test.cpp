#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "cmnw32/file.h"
#include "cmnw32/sys.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::TempDir;

TEST(Files, MakeValidFileName) {
    struct Case {
        std::string input;
        int32_t length;
        std::string expected;
        int32_t result;
    } cases[] = {
        {"a:b?c", 5, "a_b_c", 65535}, {"plain.txt", 9, "plain.txt", 0},
        {"dir\\name", 8, "dir\\name", 0}, {"<>:\"/?|*", 8, "________", 65535},
        {std::string("ab\0c", 4), 4, "ab_c", 65535}, {"tab\there", 8, "tab_here", 65535},
        {"abc?", 3, "abc?", 0},
    };
    for (const Case &c : cases) {
        std::string buffer = c.input;
        EXPECT_EQ(UTLMakeValidFileName(buffer.data(), c.length), c.result) << c.input;
        EXPECT_EQ(buffer, c.expected) << c.input;
    }
}

TEST(Files, MatchString) {
    struct Case {
        const char *text;
        const char *list;
        int32_t ignoreCase;
        int32_t result;
    } cases[] = {
        {"abc", "x;ABC;y", 0, 0}, {"abc", "x;ABC;y", 1, 1}, {"abc", "x;;abc", 1, 0},
        {"y", "x;ABC;y", 0, 1},   {"ab", "abc;ab;", 0, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UTLMatchString(c.text, c.list, c.ignoreCase), c.result) << c.text << " in " << c.list;
    }
    // Only the first 255 characters of an entry count.
    std::string longEntry(300, 'q');
    EXPECT_EQ(UTLMatchString(std::string(255, 'q').c_str(), longEntry.c_str(), 0), 1);
}

TEST(Files, CopyFileAndLength) {
    TempDir dir;
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    cmnw::test::WriteFile(dir.File("src.bin"), data);
    cmnw::test::WriteFile(dir.File("dst.bin"), "old contents that are longer than nothing");
    // Backslashes and a drive letter are the suite's own spelling.
    std::string source = "C:" + dir.path() + "\\src.bin";
    EXPECT_EQ(UTLCopyFile(source.c_str(), dir.File("dst.bin").c_str()), 0);
    EXPECT_EQ(cmnw::test::ReadFile(dir.File("dst.bin")), data);
    EXPECT_EQ(UTLCopyFile(dir.File("missing").c_str(), dir.File("x").c_str()), 1);
    EXPECT_FALSE(cmnw::test::Exists(dir.File("x"))) << "no empty copy of a missing file";
    EXPECT_EQ(UTLCopyFile(dir.File("src.bin").c_str(), dir.File("no/such/dir/x").c_str()), 1);
}

TEST(Files, FileAccessRefusedWhileAnotherProcessDeniesWriting) {
    TempDir dir;
    std::string file = dir.File("shared.dat");
    cmnw::test::WriteFile(file, "data");
    cmnw::test::Holder holder([&] { return SYSfsopen(file.c_str(), "r", SYS_SH_DENYWR) != nullptr; });
    ASSERT_TRUE(holder.holding());
    EXPECT_EQ(UTLFileAccess(file.c_str(), 0), 1);
    holder.Release();
    EXPECT_EQ(UTLFileAccess(file.c_str(), 1), 0);
    EXPECT_EQ(UTLFileAccess(dir.File("missing").c_str(), -5), 1);
}

}  // namespace
