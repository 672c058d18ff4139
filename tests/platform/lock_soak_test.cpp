// Many processes on one trace file, lock file, open-file lock and archive lock:
// nothing torn or lost, every lock exclusive and none left held.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "cmnw32/cfg.h"
#include "cmnw32/lock.h"
#include "cmnw32/trace.h"
#include "platform/lock_internal.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::ReadFile;
using cmnw::test::WriteFile;

constexpr int kProcesses = 8;
constexpr int kRounds = 150;
constexpr const char *kKinds[] = {"start", "lockfile", "archive", "car"};

// True when this process alone holds what guards owner: it writes its mark
// there, yields, and finds it unchanged.
bool HeldAlone(const std::string &owner, int process) {
    const std::string mark = std::to_string(process);
    if (!WriteFile(owner, mark)) return false;
    usleep(50);
    return ReadFile(owner) == mark;
}

int SoakProcess(int p, const std::string &dir) {
    int faults = 0;
    for (int n = 0; n < kRounds; ++n) {
        UTLLogTrace("soak p=%d n=%d %s", p, n, kKinds[0]);
        while (UTLLockFileExt("soak.dat") != 0) usleep(100);
        if (!HeldAlone(dir + "/lockfile.owner", p)) ++faults;
        UTLLogTrace("soak p=%d n=%d %s", p, n, kKinds[1]);
        if (UTLUnLockFileExt("soak.dat") != 0) ++faults;

        if (UTLLockARC(0, CFGCurrent()) != 0) return 100;
        if (!HeldAlone(dir + "/archive.owner", p)) ++faults;
        UTLLogTrace("soak p=%d n=%d %s", p, n, kKinds[2]);
        if (UTLUnlockARC() != 0) ++faults;

        FILE *car = UTLLock("soak.car");
        if (car == nullptr) return 101;
        if (!HeldAlone(dir + "/car.owner", p)) ++faults;
        UTLLogTrace("soak p=%d n=%d %s", p, n, kKinds[3]);
        if (UTLUnlock(car) != 0) ++faults;
    }
    return faults > 99 ? 99 : faults;
}

TEST(LockSoak, TraceLinesAndLocksFromManyProcesses) {
    cmnw::test::TempDir dir(true);
    cmnw::test::UseTraceConfig(dir.path(), dir.File("trace.log"),
                               "[ArcRet]\nCarPath=" + dir.path() + "\n");
    setenv("KVRWAIT", "-1", 1);
    cmnw::lock::SetRetryHooks({[] { usleep(200); }, nullptr});

    cmnw::test::Gate start(kProcesses);
    pid_t pids[kProcesses];
    for (int p = 0; p < kProcesses; ++p) {
        pids[p] = cmnw::test::StartChild([&, p] {
            start.Wait();
            return SoakProcess(p, dir.path());
        });
    }
    start.Open();
    for (pid_t pid : pids) EXPECT_EQ(cmnw::test::WaitChild(pid), 0) << "faults in a process";

    std::set<std::tuple<int, int, std::string>> seen;
    std::istringstream lines(ReadFile(dir.File("trace.log")));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t at = line.find("soak ");
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_EQ(line.find("soak ", at + 1), std::string::npos) << "mixed: " << line;
        int p = -1, n = -1;
        char kind[16] = "";
        ASSERT_EQ(sscanf(line.c_str() + at, "soak p=%d n=%d %15s", &p, &n, kind), 3) << line;
        EXPECT_TRUE(seen.emplace(p, n, kind).second) << "twice: " << line;
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kProcesses * kRounds * 4));

    // Nothing is left held.
    setenv("KVRWAIT", "0", 1);
    EXPECT_EQ(UTLLockFileExt("soak.dat"), 0);
    EXPECT_EQ(UTLLockARC(0, CFGCurrent()), 0);
    EXPECT_EQ(UTLUnlockARC(), 0);
    EXPECT_EQ(UTLUnlock(UTLLock("soak.car")), 0);
}

}  // namespace
