#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "cmnw32/process.h"
#include "platform_test_util.h"

namespace {

std::string UniqueName(const char *tag) { return std::string("Global\\cmnw32test.") + tag + "." + std::to_string(getpid()); }

bool ObjectExists(const std::string &name) {
    std::string base = name.substr(name.rfind('\\') + 1);
    return access(("/dev/shm/cmnw32.sem." + base).c_str(), F_OK) == 0;
}

// A closed handle is refused, also once a new semaphore has been made.
TEST(Semaphore, ClosedHandlesAreRefused) {
    UTLHSEM old = nullptr, live = nullptr;
    ASSERT_TRUE(UTLCreateSemaphore(nullptr, &old, 0, 0) == 0 && UTLDestroySemaphore(old) == 0);
    ASSERT_TRUE(UTLCreateSemaphore(nullptr, &live, 0, 1) == 0 && live != nullptr);
    EXPECT_NE(live, old);
    EXPECT_EQ(UTLRequestSemaphore(old, 0) + UTLReleaseSemaphore(old) + UTLDestroySemaphore(old), 3);
    EXPECT_TRUE(UTLReleaseSemaphore(live) == 0 && UTLDestroySemaphore(live) == 0);
}

TEST(Semaphore, InitiallyTakenTimesOutUntilReleased) {
    UTLHSEM sem = nullptr;
    ASSERT_TRUE(UTLCreateSemaphore(UniqueName("taken").c_str(), &sem, 0, 1) == 0 && sem != nullptr);
    EXPECT_EQ(UTLRequestSemaphore(sem, 50), 258);
    EXPECT_EQ(UTLReleaseSemaphore(sem), 0);
    EXPECT_EQ(UTLReleaseSemaphore(sem), 1) << "beyond the maximum count";
    EXPECT_EQ(UTLRequestSemaphore(sem, 0), 0);
    EXPECT_EQ(UTLRequestSemaphore(sem, 0), 258);
    EXPECT_TRUE(UTLReleaseSemaphore(sem) == 0 && UTLDestroySemaphore(sem) == 0);
}

TEST(Semaphore, NamesUseLastComponentAndOpenOnlyFindsExisting) {
    std::string base = "cmnw32test.last." + std::to_string(getpid());
    UTLHSEM opened = reinterpret_cast<UTLHSEM>(1);
    EXPECT_TRUE(UTLOpenSemaphore(base.c_str(), &opened) == 0 && opened == nullptr);

    UTLHSEM created = nullptr;
    ASSERT_EQ(UTLCreateSemaphore(("Global\\dir\\" + base).c_str(), &created, 0, 0), 0);
    ASSERT_NE(created, nullptr);
    ASSERT_TRUE(UTLOpenSemaphore(("Other\\" + base).c_str(), &opened) == 0 && opened != nullptr);
    // Both handles name one semaphore of count 1.
    EXPECT_EQ(UTLRequestSemaphore(created, 0), 0);
    EXPECT_EQ(UTLRequestSemaphore(opened, 0), 258);
    EXPECT_EQ(UTLReleaseSemaphore(opened), 0);
    EXPECT_EQ(UTLDestroySemaphore(created), 0);
    EXPECT_TRUE(ObjectExists(base));
    EXPECT_EQ(UTLDestroySemaphore(opened), 0);
    EXPECT_FALSE(ObjectExists(base)) << "the last close removes the object";
}

TEST(Semaphore, MutualExclusionAcrossProcesses) {
    std::string name = UniqueName("mutex");
    cmnw::test::TempDir dir;
    std::string counterFile = dir.File("counter");
    cmnw::test::WriteFile(counterFile, "0");
    // Each worker increments a number in a file 50 times under the semaphore;
    // a lost update would show without mutual exclusion.
    auto work = [&]() {
        UTLHSEM sem = nullptr;
        UTLCreateSemaphore(name.c_str(), &sem, 0, 0);
        if (sem == nullptr) return 1;
        for (int i = 0; i < 50; ++i) {
            if (UTLRequestSemaphore(sem, UTL_INFINITE) != 0) return 2;
            int n = std::stoi(cmnw::test::ReadFile(counterFile));
            cmnw::test::WriteFile(counterFile, std::to_string(n + 1));
            if (UTLReleaseSemaphore(sem) != 0) return 3;
        }
        UTLDestroySemaphore(sem);
        return 0;
    };
    pid_t children[3];
    for (pid_t &child : children) child = cmnw::test::StartChild(work);
    EXPECT_EQ(work(), 0);
    for (pid_t child : children) EXPECT_EQ(cmnw::test::WaitChild(child), 0);
    EXPECT_EQ(cmnw::test::ReadFile(counterFile), "200");
    EXPECT_FALSE(ObjectExists(name));
}

TEST(Semaphore, DeadUserLeavesNothingInTheWay) {
    std::string name = UniqueName("dead");
    // A child takes the semaphore and dies without releasing or closing it.
    const pid_t user = cmnw::test::StartChild([&] {
        UTLHSEM sem = nullptr;
        UTLCreateSemaphore(name.c_str(), &sem, 0, 0);
        return sem != nullptr && UTLRequestSemaphore(sem, 0) == 0 ? 0 : 1;
    });
    EXPECT_EQ(cmnw::test::WaitChild(user), 0);
    UTLHSEM sem = nullptr;
    EXPECT_TRUE(UTLOpenSemaphore(name.c_str(), &sem) == 0 && sem == nullptr) << "nobody holds it";
    EXPECT_FALSE(ObjectExists(name));
    ASSERT_EQ(UTLCreateSemaphore(name.c_str(), &sem, 0, 0), 0);
    EXPECT_EQ(UTLRequestSemaphore(sem, 0), 0) << "a new creator starts afresh";
    EXPECT_EQ(UTLDestroySemaphore(sem), 0);
}

}  // namespace
