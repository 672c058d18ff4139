#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "cmnw32/sys.h"
#include "common/test_support.h"

namespace {

using cmnw::test::TempDir;

// Opens path in a child process; returns 0 when the open succeeded, 1 when it
// was refused with EACCES, 2 for any other failure.
int OpenInChild(const std::string &path, const char *mode, int share) {
    return cmnw::test::WaitChild(cmnw::test::StartChild([&] {
        return SYSfsopen(path.c_str(), mode, share) != nullptr ? 0 : (errno == EACCES ? 1 : 2);
    }));
}

// Whether an open with mode is refused by another open's share mode.
bool Refuses(int share, const std::string &mode) {
    const bool plus = mode.find('+') != std::string::npos;
    const bool read = mode[0] == 'r' || plus, write = mode[0] != 'r' || plus;
    return share == SYS_SH_DENYRW || (read && share == SYS_SH_DENYRD) || (write && share == SYS_SH_DENYWR);
}

// The sharing rule as a table would state it: a second open is admitted
// when the first denies none of its accesses and it denies none of the
// first's.
bool Admitted(const char *firstMode, int firstShare, const char *secondMode, int secondShare) {
    return !Refuses(firstShare, secondMode) && !Refuses(secondShare, firstMode);
}

TEST(SysShare, EveryPairOfModesAgainstAnotherProcess) {
    TempDir dir;
    std::string path = dir.Write("shared.dat", "data");
    const char *modes[] = {"r", "r+", "a"};
    const int shares[] = {SYS_SH_DENYRW, SYS_SH_DENYWR, SYS_SH_DENYRD, SYS_SH_DENYNO};
    for (const char *m1 : modes) {
        for (int s1 : shares) {
            FILE *first = SYSfsopen(path.c_str(), m1, s1);
            ASSERT_NE(first, nullptr) << m1 << " " << s1;
            for (const char *m2 : modes) {
                for (int s2 : shares) {
                    EXPECT_EQ(OpenInChild(path, m2, s2), Admitted(m1, s1, m2, s2) ? 0 : 1)
                        << "first " << m1 << "/" << std::hex << s1 << ", second " << m2 << "/" << s2;
                }
            }
            SYSfclose(first);
        }
    }
}

TEST(SysShare, RefusedWriteLeavesDataAndCloseReleases) {
    TempDir dir;
    std::string path = dir.Write("f.dat", "keep me");
    FILE *reader = SYSfsopen(path.c_str(), "rb", SYS_SH_DENYWR);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(OpenInChild(path, "w", SYS_SH_DENYNO), 1);
    EXPECT_EQ(cmnw::test::ReadFile(path), "keep me");  // the refused "w" did not truncate
    EXPECT_EQ(OpenInChild(path, "r", SYS_SH_DENYNO), 0);
    // Within one process two opens are two holders as well.
    errno = 0;
    EXPECT_EQ(SYSfsopen(path.c_str(), "a", SYS_SH_DENYNO), nullptr);
    EXPECT_TRUE(errno == EACCES && SYSErrno() == EACCES);
    SYSfclose(reader);
    EXPECT_EQ(OpenInChild(path, "w", SYS_SH_DENYRW), 0);
    EXPECT_EQ(cmnw::test::ReadFile(path), "");
}

TEST(SysShare, CreatesFilesAndRejectsBadArguments) {
    TempDir dir;
    std::string path = dir.File("new.dat");
    FILE *f = SYSfsopen(path.c_str(), "w", SYS_SH_DENYRW);
    EXPECT_TRUE(f != nullptr && SYSfclose(f) == 0 && access(path.c_str(), F_OK) == 0);
    EXPECT_TRUE(SYSfsopen(path.c_str(), "q", SYS_SH_DENYNO) == nullptr && SYSErrno() == EINVAL);
    EXPECT_TRUE(SYSfsopen(path.c_str(), "r", 0x55) == nullptr && SYSErrno() == EINVAL);
}

}  // namespace
