#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "cmnw32/process.h"

namespace {

struct Spinner {
    std::atomic<long> ticks{0};
    std::atomic<bool> stop{false};
};

uint32_t Spin(void *argument) {
    auto *s = static_cast<Spinner *>(argument);
    while (!s->stop.load()) s->ticks.fetch_add(1);
    return 42;
}

bool WaitFor(const std::function<bool()> &condition) {
    for (int i = 0; i < 400 && !condition(); ++i) UTLSleep(5);
    return condition();
}

// Stops the spinner and waits until its thread reports the exit code 42.
bool Stopped(Spinner &s, UTLHTHREAD t) {
    s.stop = true;
    uint32_t code = 0;
    return WaitFor([&] { return UTLGetExitCodeThread(t, &code) != 0 && code == 42; });
}

TEST(Thread, StartsSuspendedUntilResumed) {
    Spinner s;
    UTLHTHREAD t = UTLCreateThread(Spin, &s, 1);
    ASSERT_NE(t, nullptr);
    UTLSleep(50);
    EXPECT_EQ(s.ticks.load(), 0) << "a suspended thread must not run";
    uint32_t code = 0;
    EXPECT_TRUE(UTLGetExitCodeThread(t, &code) != 0 && code == UTL_STILL_ACTIVE);
    EXPECT_EQ(UTLResumeThread(t), 0);
    EXPECT_TRUE(WaitFor([&] { return s.ticks.load() > 0; }));
    EXPECT_TRUE(Stopped(s, t));
    EXPECT_EQ(UTLCleanupThread(t), 0);
}

TEST(Thread, SuspendAndResumeWhileRunning) {
    Spinner s;
    UTLHTHREAD t = UTLCreateThread(Spin, &s, 0);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(WaitFor([&] { return s.ticks.load() > 0; }));
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(UTLSuspendThread(t), 0);
        ASSERT_EQ(UTLSuspendThread(t), 0);  // suspensions count
        long parkedAt = s.ticks.load();
        UTLSleep(30);
        EXPECT_EQ(s.ticks.load(), parkedAt) << "round " << round;
        EXPECT_EQ(UTLResumeThread(t), 0);
        UTLSleep(20);
        EXPECT_EQ(s.ticks.load(), parkedAt) << "one suspension is left";
        EXPECT_EQ(UTLResumeThread(t), 0);
        EXPECT_TRUE(WaitFor([&] { return s.ticks.load() > parkedAt; }));
    }
    EXPECT_EQ(UTLResumeThread(t), 0) << "resuming a running thread is harmless";
    EXPECT_TRUE(Stopped(s, t));
    EXPECT_EQ(UTLSuspendThread(t), 1) << "a finished thread cannot be suspended";
    EXPECT_EQ(UTLCleanupThread(t), 0);
}

TEST(Thread, HandleMayCloseBeforeTheThreadEnds) {
    Spinner s;
    UTLHTHREAD t = UTLCreateThread(Spin, &s, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(UTLCleanupThread(t), 0);
    EXPECT_TRUE(WaitFor([&] { return s.ticks.load() > 0; }));
    s.stop = true;
    UTLSleep(20);
}

TEST(CriticalSection, RecursiveAndExclusive) {
    UTLCRITICAL_SECTION cs;
    EXPECT_EQ(UTLInitializeCriticalSection(&cs), 0);
    EXPECT_EQ(UTLEnterCriticalSection(&cs), 0);
    EXPECT_EQ(UTLEnterCriticalSection(&cs), 0);  // the holder enters again
    std::atomic<bool> entered{false};
    std::thread other([&] {
        UTLEnterCriticalSection(&cs);
        entered = true;
        UTLLeaveCriticalSection(&cs);
    });
    UTLSleep(30);
    EXPECT_FALSE(entered.load());
    std::thread([&] { EXPECT_EQ(UTLLeaveCriticalSection(&cs), 0); }).join();  // not the holder
    EXPECT_EQ(UTLLeaveCriticalSection(&cs), 0);
    UTLSleep(20);
    EXPECT_FALSE(entered.load()) << "one level is still held";
    EXPECT_EQ(UTLLeaveCriticalSection(&cs), 0);
    other.join();
    EXPECT_TRUE(entered.load());

    EXPECT_EQ(UTLCleanupCriticalSection(&cs) + UTLEnterCriticalSection(nullptr), 0);
    EXPECT_EQ(UTLCleanupThread(nullptr), 1);
}

}  // namespace
