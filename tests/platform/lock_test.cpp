#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "cmnw32/cfg.h"
#include "cmnw32/lock.h"
#include "platform/lock_internal.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::Exists;
using cmnw::test::Holder;
using cmnw::test::ReadFile;
using cmnw::test::StartChild;
using cmnw::test::TempDir;
using cmnw::test::WaitChild;

// Counts of the retry loops, through the test seam.
int tries = 0, pauses = 0;

void CountRetries() {
    tries = pauses = 0;
    cmnw::lock::SetRetryHooks({[] { ++pauses; }, [] { ++tries; }});
}

bool HoldCar(const std::string &path, int32_t access = UTL_CAR_READWRITE) {
    return UTLOpenCARFile(path.c_str(), nullptr, access) != nullptr;
}

TEST(LockFile, ExtensionSharedAndReleasedByAnyName) {
    TempDir dir(true);
    ASSERT_EQ(mkdir("sub", 0700), 0);
    struct Step {
        int32_t (*call)(const char *);
        const char *path;
        int32_t result, error;  // errno after a failure
    };
    const std::string tooLong = std::string(200, 'd') + "/" + std::string(100, 'n') + ".dat";
    const Step steps[] = {
        {UTLLockFileExt, "a.dat", 0, 0},
        {UTLLockFileExt, "a.dat", 1, EEXIST},
        {UTLLockFileExt, "a.idx", 1, EEXIST},
        {UTLUnLockFileExt, "a.idx", 0, 0},
        {UTLUnLockFileExt, "a.dat", 1, ENOENT},
        {UTLLockFileExt, "a", 0, 0},
        {UTLUnLockFileExt, "a.dat", 0, 0},
        {UTLLockFileExt, "C:sub\\a.dat", 0, 0},
        {UTLLockFileExt, tooLong.c_str(), 1, ENAMETOOLONG},
    };
    for (const Step &s : steps) {
        errno = 0;
        const int32_t result = s.call(s.path);
        EXPECT_EQ(std::make_pair(result, result != 0 ? errno : 0), std::make_pair(s.result, s.error))
            << (s.path ? s.path : "(null)");
    }
    EXPECT_FALSE(Exists("a.lck"));
    struct stat st;
    EXPECT_TRUE(stat("sub/a.lck", &st) == 0 && (st.st_mode & 0777) == 0600);
}

TEST(LockFile, KilledHolderLeavesLockFileButReleasesOpenFile) {
    TempDir dir(true);
    Holder holder([] { return UTLLockFileExt("x.dat") == 0 && UTLLock("x.car") != nullptr; });
    ASSERT_TRUE(holder.holding());
    setenv("KVRWAIT", "0", 1);
    EXPECT_EQ(UTLLock("x.car"), nullptr);
    holder.Kill();
    EXPECT_EQ(UTLUnlock(UTLLock("x.car")), 0) << "the open file is released";
    EXPECT_EQ(UTLLockFileExt("x.dat"), 1) << "the lock file stays";
    EXPECT_EQ(UTLUnLockFileExt("x.dat"), 0);
}

TEST(LockFile, ByteRangesBetweenOpens) {
    TempDir dir(true);
    cmnw::test::WriteFile("r.dat", std::string(100, 'r'));
    int mine = open("r.dat", O_RDWR);
    ASSERT_GE(mine, 0);
    ASSERT_EQ(lseek(mine, 10, SEEK_SET), 10);
    ASSERT_EQ(UTLLockFile(mine, UTL_LK_NBLCK, 10), 0);  // bytes 10..19
    EXPECT_EQ(lseek(mine, 0, SEEK_CUR), 10) << "the position stays";
    CountRetries();

    struct Case {
        off_t at;
        int32_t mode;
        long bytes;
        int flags, result, error, tries;
    };
    const Case cases[] = {
        {0, UTL_LK_NBLCK, 10, O_RDWR, 0, 0, 0},           // just before
        {20, UTL_LK_NBRLCK, 5, O_RDWR, 0, 0, 0},          // just after
        {15, UTL_LK_NBLCK, 10, O_RDWR, -1, EACCES, 1},    // overlaps
        {19, UTL_LK_NBRLCK, 1, O_RDONLY, -1, EACCES, 1},  // a shared lock is kept out too
        {15, UTL_LK_LOCK, 1, O_RDWR, -1, EDEADLK, 10},    // ten tries, nine pauses
    };
    for (const Case &c : cases) {
        // A second open of the same file conflicts even within this process.
        int other = open("r.dat", c.flags);
        ASSERT_GE(other, 0);
        ASSERT_EQ(lseek(other, c.at, SEEK_SET), c.at);
        tries = pauses = 0;
        errno = 0;
        SCOPED_TRACE(testing::Message() << c.at << " " << c.mode << " " << c.bytes);
        EXPECT_EQ(UTLLockFile(other, c.mode, c.bytes), c.result);
        EXPECT_EQ(c.result != 0 ? errno : 0, c.error);
        EXPECT_EQ(tries, c.tries);
        EXPECT_EQ(pauses, c.tries > 1 ? c.tries - 1 : 0);
        close(other);
    }

    // Another process meets the same lock until it is unlocked.
    auto childTries = [] {
        int fd = open("r.dat", O_RDWR);
        lseek(fd, 12, SEEK_SET);
        return UTLLockFile(fd, UTL_LK_NBLCK, 2) == 0 ? 0 : 1;
    };
    EXPECT_EQ(WaitChild(StartChild(childTries)), 1);
    ASSERT_EQ(UTLLockFile(mine, UTL_LK_UNLCK, 10), 0);
    EXPECT_EQ(WaitChild(StartChild(childTries)), 0);
    close(mine);
}

TEST(CarFile, NewFileFlagAndPosition) {
    TempDir dir(true);
    cmnw::test::WriteFile("empty.car", "");
    cmnw::test::WriteFile("full.car", "records");
    ASSERT_EQ(mkfifo("pipe.car", 0600), 0);
    struct Case {
        const char *name;
        int32_t access;
        bool opens;
        int32_t newFile;
    };
    const Case cases[] = {
        {"missing.car", UTL_CAR_READWRITE, true, 1},
        {"empty.car", UTL_CAR_READWRITE, true, 1},
        {"full.car", UTL_CAR_READWRITE, true, 0},
        {"full.car", 0, true, 0},
        {"C:\\nodir\\x.car", UTL_CAR_READWRITE, false, 1},
        {"pipe.car", UTL_CAR_READWRITE, false, 0},  // cannot be sought
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        int32_t newFile = -1;
        FILE *car = UTLOpenCARFile(c.name, &newFile, c.access);
        EXPECT_EQ(car != nullptr, c.opens);
        EXPECT_EQ(newFile, c.newFile);
        if (car == nullptr) continue;
        EXPECT_EQ(ftell(car), 0);
        EXPECT_EQ(fputc('x', car) != EOF && fflush(car) == 0, c.access == UTL_CAR_READWRITE);
        EXPECT_EQ(UTLCloseCARFile(car), 0);
    }
    EXPECT_EQ(ReadFile("missing.car") + ReadFile("full.car"), "xxecords");
}

TEST(CarFile, RetriesAsKvrwaitSays) {
    TempDir dir(true);
    Holder holder([] { return HoldCar("held.car"); });
    ASSERT_TRUE(holder.holding());
    const struct {
        const char *kvrwait;
        int tries, pauses;
    } cases[] = {{"0", 2, 0}, {"3", 4, 2}, {"abc", 2, 0}, {" 2x", 3, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kvrwait);
        setenv("KVRWAIT", c.kvrwait, 1);
        CountRetries();
        int32_t newFile = -1;
        EXPECT_EQ(UTLOpenCARFile("held.car", &newFile, UTL_CAR_READWRITE), nullptr);
        EXPECT_EQ(std::make_pair(tries, pauses), std::make_pair(c.tries, c.pauses));
        CountRetries();
        EXPECT_EQ(UTLOpenCARFile("held.car", &newFile, 0), nullptr) << "readers wait for writers";
        EXPECT_EQ(tries, c.tries);
    }
    unsetenv("KVRWAIT");
    EXPECT_EQ(cmnw::lock::RetryCountFromEnvironment(), 600);
}

TEST(CarFile, ReadersShareWritersWait) {
    TempDir dir(true);
    cmnw::test::WriteFile("shared.car", "data");
    Holder reader([] { return HoldCar("shared.car", 0); });
    ASSERT_TRUE(reader.holding());
    setenv("KVRWAIT", "0", 1);
    CountRetries();
    FILE *second = UTLOpenCARFile("shared.car", nullptr, 0);
    EXPECT_TRUE(second != nullptr && tries == 0);
    UTLCloseCARFile(second);
    EXPECT_EQ(UTLLock("shared.car"), nullptr);
    EXPECT_EQ(tries, 2);
}

TEST(ArchiveLock, TakenAgainReleasedAgainConfigurationRestored) {
    TempDir dir(true);
    ASSERT_EQ(mkdir("arc", 0700), 0);
    CFGHANDLE before = CFGCreate();
    CFGSetString("ArcRet", "CarPath", "other");
    CFGHANDLE archiveConfig = CFGCreate();
    CFGSetString("ArcRet", "CarPath", (dir.path() + "/arc").c_str());
    CFGSetCurrent(before);
    setenv("KVRWAIT", "0", 1);

    EXPECT_EQ(UTLLockARC(0, nullptr), 1);
    EXPECT_EQ(UTLUnlockARC(), 1);
    {
        Holder other([&] { return UTLLockARC(0, archiveConfig) == 0; });
        ASSERT_TRUE(other.holding());
        EXPECT_EQ(UTLLockARC(0, archiveConfig), 1);
        EXPECT_EQ(CFGCurrent(), before);
    }
    EXPECT_EQ(UTLLockARC(0, archiveConfig), 0);
    EXPECT_EQ(CFGCurrent(), before);
    EXPECT_TRUE(Exists("arc/archive.sem"));
    EXPECT_EQ(UTLLockARC(7, archiveConfig), 0);
    EXPECT_EQ(CFGCurrent(), before);
    auto otherOpens = [] { return UTLLock("arc/archive.sem") != nullptr ? 0 : 1; };
    EXPECT_EQ(WaitChild(StartChild(otherOpens)), 1);
    EXPECT_EQ(UTLUnlockARC(), 0);
    EXPECT_EQ(UTLUnlockARC(), 1);
    EXPECT_EQ(WaitChild(StartChild(otherOpens)), 0);
}

TEST(ArchiveLock, SemaphorePlaceFromCarPath) {
    TempDir dir(true);
    ASSERT_EQ(mkdir("arc", 0700), 0);
    const struct {
        const char *carPath;  // null: key missing
        const char *semaphore;
        int32_t result;
    } cases[] = {
        {nullptr, "archive.sem", 0},
        {"C:arc\\\\", "arc/archive.sem", 0},
        {"missing", "missing/archive.sem", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.carPath ? c.carPath : "(none)");
        unlink("archive.sem");
        unlink("arc/archive.sem");
        CFGSetCurrent(nullptr);
        CFGHANDLE config = CFGCreate();
        CFGSetString("Other", "Key", "x");
        if (c.carPath != nullptr) CFGSetString("ArcRet", "CarPath", c.carPath);
        CFGSetCurrent(nullptr);
        EXPECT_EQ(UTLLockARC(0, config), c.result);
        EXPECT_EQ(CFGCurrent(), nullptr);
        EXPECT_EQ(Exists(c.semaphore), c.result == 0);
        EXPECT_EQ(UTLUnlockARC(), c.result == 0 ? 0 : 1);
    }
}

}  // namespace
