// Threads with exit codes and suspension (see process.h): a thread created
// suspended waits before its routine; a running thread is parked by a signal
// handler until its suspend count drops back to 0.
#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <new>

#include "cmnw32/process.h"

struct UTLThreadRec {
    UTLThreadFunc routine;
    void *argument;
    pthread_t thread;
    pthread_mutex_t lifeMutex;          // guards finished against signalling
    bool finished;                      // under lifeMutex
    std::atomic<uint32_t> exitCode;
    std::atomic<int32_t> suspendCount;  // futex word
    std::atomic<int32_t> parked;        // futex word: 1 while the handler parks
    std::atomic<int32_t> references;    // the handle and the thread itself
};

namespace cmnw::platform {
namespace {

constexpr int32_t kMaximumSuspendCount = 127;

static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t));

long Futex(std::atomic<int32_t> *word, int op, int32_t value, const timespec *timeout) noexcept {
    return syscall(SYS_futex, reinterpret_cast<int32_t *>(word), op, value, timeout, nullptr, 0);
}

void WakeAll(std::atomic<int32_t> *word) noexcept { Futex(word, FUTEX_WAKE_PRIVATE, INT32_MAX, nullptr); }

// Parks the calling thread until it holds no suspension.
void ParkWhileSuspended(UTLThreadRec *rec) noexcept {
    for (int32_t n = rec->suspendCount.load(std::memory_order_acquire); n > 0;
         n = rec->suspendCount.load(std::memory_order_acquire)) {
        Futex(&rec->suspendCount, FUTEX_WAIT_PRIVATE, n, nullptr);
    }
}

void SuspendHandler(int, siginfo_t *info, void *) {
    int savedErrno = errno;
    auto *rec = static_cast<UTLThreadRec *>(info->si_value.sival_ptr);
    if (info->si_code == SI_QUEUE && rec != nullptr) {
        rec->parked.store(1, std::memory_order_release);
        WakeAll(&rec->parked);
        ParkWhileSuspended(rec);
        rec->parked.store(0, std::memory_order_release);
    }
    errno = savedErrno;
}

std::atomic<bool> g_handlerInstalled{false};

bool InstallSuspendHandler() noexcept {
    if (g_handlerInstalled.load(std::memory_order_acquire)) return true;
    struct sigaction action {};
    action.sa_sigaction = SuspendHandler;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    if (sigaction(UTL_SUSPEND_SIGNAL, &action, nullptr) != 0) return false;
    g_handlerInstalled.store(true, std::memory_order_release);
    return true;
}

void DropReference(UTLThreadRec *rec) noexcept {
    if (rec->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        pthread_mutex_destroy(&rec->lifeMutex);
        delete rec;
    }
}

void *ThreadMain(void *argument) {
    auto *rec = static_cast<UTLThreadRec *>(argument);
    ParkWhileSuspended(rec);
    uint32_t code = rec->routine(rec->argument);
    pthread_mutex_lock(&rec->lifeMutex);
    rec->exitCode.store(code, std::memory_order_release);
    rec->finished = true;
    pthread_mutex_unlock(&rec->lifeMutex);
    DropReference(rec);
    return nullptr;
}

// Waits up to a second for the target's handler to report it parked.
bool AwaitParked(UTLThreadRec *rec) noexcept {
    timespec slice{0, 10 * 1000000L};
    for (int i = 0; i < 100; ++i) {
        if (rec->parked.load(std::memory_order_acquire) != 0) return true;
        Futex(&rec->parked, FUTEX_WAIT_PRIVATE, 0, &slice);
    }
    return rec->parked.load(std::memory_order_acquire) != 0;
}

}  // namespace
}  // namespace cmnw::platform

using namespace cmnw::platform;

extern "C" UTLHTHREAD UTLCreateThread(UTLThreadFunc routine, void *argument, int32_t suspended) noexcept {
    if (routine == nullptr) return nullptr;
    auto *rec = new (std::nothrow) UTLThreadRec;
    if (rec == nullptr) return nullptr;
    rec->routine = routine;
    rec->argument = argument;
    pthread_mutex_init(&rec->lifeMutex, nullptr);
    rec->finished = false;
    rec->exitCode.store(UTL_STILL_ACTIVE);
    rec->suspendCount.store(suspended != 0 ? 1 : 0);
    rec->parked.store(0);
    rec->references.store(2);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    int rc = pthread_create(&rec->thread, &attr, ThreadMain, rec);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        pthread_mutex_destroy(&rec->lifeMutex);
        delete rec;
        return nullptr;
    }
    return rec;
}

extern "C" int32_t UTLGetExitCodeThread(UTLHTHREAD thread, uint32_t *exitCode) noexcept {
    if (thread == nullptr || exitCode == nullptr) return 0;
    *exitCode = thread->exitCode.load(std::memory_order_acquire);
    return 1;
}

extern "C" int32_t UTLSuspendThread(UTLHTHREAD thread) noexcept {
    if (thread == nullptr || !InstallSuspendHandler()) return 1;
    pthread_mutex_lock(&thread->lifeMutex);
    if (thread->finished || thread->suspendCount.load() >= kMaximumSuspendCount) {
        pthread_mutex_unlock(&thread->lifeMutex);
        return 1;
    }
    int32_t before = thread->suspendCount.fetch_add(1, std::memory_order_acq_rel);
    bool signalled = false;
    if (before == 0 && !pthread_equal(thread->thread, pthread_self())) {
        sigval value{};
        value.sival_ptr = thread;
        if (pthread_sigqueue(thread->thread, UTL_SUSPEND_SIGNAL, value) != 0) {
            thread->suspendCount.fetch_sub(1, std::memory_order_acq_rel);
            pthread_mutex_unlock(&thread->lifeMutex);
            return 1;
        }
        signalled = true;
    }
    pthread_mutex_unlock(&thread->lifeMutex);
    if (signalled) {
        AwaitParked(thread);
    } else if (pthread_equal(thread->thread, pthread_self())) {
        ParkWhileSuspended(thread);  // a thread suspending itself waits here
    }
    return 0;
}

extern "C" int32_t UTLResumeThread(UTLHTHREAD thread) noexcept {
    if (thread == nullptr) return 1;
    int32_t n = thread->suspendCount.load(std::memory_order_acquire);
    while (n > 0 && !thread->suspendCount.compare_exchange_weak(n, n - 1, std::memory_order_acq_rel)) {
    }
    if (n == 1) WakeAll(&thread->suspendCount);
    return 0;
}

extern "C" int32_t UTLCleanupThread(UTLHTHREAD thread) noexcept {
    if (thread == nullptr) return 1;
    DropReference(thread);
    return 0;
}
