#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "cmnw32/file.h"
#include "cmnw32/sys.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::TempDir;

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
    // A device at the destination is written through, not replaced.
    struct stat null {};
    EXPECT_EQ(UTLCopyFile(dir.File("src.bin").c_str(), "/dev/null"), 0);
    EXPECT_TRUE(stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
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
