#include <gtest/gtest.h>

#include <atomic>
#include <functional>

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

TEST(Thread, StartsSuspendedUntilResumed) {
    Spinner s;
    UTLHTHREAD t = UTLCreateThread(Spin, &s, 1);
    ASSERT_NE(t, nullptr);
    UTLSleep(30);
    EXPECT_EQ(s.ticks.load(), 0);
    uint32_t code = 0;
    EXPECT_TRUE(UTLGetExitCodeThread(t, &code) != 0 && code == UTL_STILL_ACTIVE);
    EXPECT_EQ(UTLResumeThread(t), 0);
    EXPECT_TRUE(WaitFor([&] { return s.ticks.load() > 0; }));
    s.stop = true;
    EXPECT_TRUE(WaitFor([&] { return UTLGetExitCodeThread(t, &code) != 0 && code == 42; }));
    EXPECT_EQ(UTLCleanupThread(t), 0);
}

}  // namespace
