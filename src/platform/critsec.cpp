// Critical sections: a recursive lock of our own in the caller's lock object,
// an owner and an entry count beside a futex word. Entering a section that
// is free or already ours costs one atomic exchange or none, and none at all
// while the process has a single thread (as the C library's own mutexes do);
// only a thread that has to wait enters the kernel.
#include <linux/futex.h>
#include <sys/single_threaded.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <new>

#include "cmnw32/process.h"

namespace cmnw::platform {
namespace {

// The lock word: free, held, or held with threads (possibly) waiting.
constexpr uint32_t kFree = 0;
constexpr uint32_t kHeld = 1;
constexpr uint32_t kContended = 2;

struct Section {
    std::atomic<uint32_t> word;
    uint32_t entries;                // entries of the owner not yet left
    std::atomic<uintptr_t> owner;    // ThreadMark of the owner, 0 when free
};

static_assert(sizeof(Section) <= sizeof(UTLCRITICAL_SECTION));
static_assert(alignof(Section) <= alignof(UTLCRITICAL_SECTION));
static_assert(std::atomic<uint32_t>::is_always_lock_free);
static_assert(std::atomic<uintptr_t>::is_always_lock_free);

// A byte per thread whose address tells the threads apart (never 0). The
// initial-exec model makes its address one register read away.
[[gnu::tls_model("initial-exec")]] constinit thread_local char t_mark = 0;

inline void PauseSpin() noexcept {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

inline uintptr_t ThreadMark() noexcept { return reinterpret_cast<uintptr_t>(&t_mark); }

// True while the process has never had a second thread: no other thread
// can touch a lock word then, so plain loads and stores do.
inline bool SingleThreaded() noexcept { return __libc_single_threaded != 0; }

inline Section *SectionOf(UTLCRITICAL_SECTION *section) noexcept {
    return std::launder(reinterpret_cast<Section *>(section->opaque));
}

void FutexWait(std::atomic<uint32_t> *word, uint32_t expected) noexcept {
    syscall(SYS_futex, reinterpret_cast<uint32_t *>(word), FUTEX_WAIT_PRIVATE, expected, nullptr,
            nullptr, 0);
}

void FutexWake(std::atomic<uint32_t> *word) noexcept {
    syscall(SYS_futex, reinterpret_cast<uint32_t *>(word), FUTEX_WAKE_PRIVATE, 1, nullptr,
            nullptr, 0);
}

// Waits for the lock word: spins briefly, then sleeps on the futex, marking
// the word contended so that the holder wakes a sleeper when it leaves.
[[gnu::noinline]] void AcquireContended(std::atomic<uint32_t> &word) noexcept {
    for (int spin = 0; spin < 100; ++spin) {
        uint32_t expected = kFree;
        if (word.load(std::memory_order_relaxed) == kFree &&
            word.compare_exchange_weak(expected, kHeld, std::memory_order_acquire,
                                       std::memory_order_relaxed)) {
            return;
        }
        PauseSpin();
    }
    while (word.exchange(kContended, std::memory_order_acquire) != kFree) {
        FutexWait(&word, kContended);
    }
}

}  // namespace
}  // namespace cmnw::platform

using namespace cmnw::platform;

extern "C" int32_t UTLInitializeCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section == nullptr) return 0;
    new (section->opaque) Section{{kFree}, 0, {0}};
    return 0;
}

extern "C" int32_t UTLEnterCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section == nullptr) return 0;
    Section *s = SectionOf(section);
    const uintptr_t self = ThreadMark();
    // Only this thread ever stores its own mark, so a relaxed read that sees
    // it is exact.
    if (s->owner.load(std::memory_order_relaxed) == self) {
        ++s->entries;
        return 0;
    }
    if (SingleThreaded() && s->word.load(std::memory_order_relaxed) == kFree) {
        s->word.store(kHeld, std::memory_order_relaxed);
    } else {
        uint32_t expected = kFree;
        if (!s->word.compare_exchange_strong(expected, kHeld, std::memory_order_acquire,
                                             std::memory_order_relaxed)) {
            AcquireContended(s->word);
        }
    }
    s->owner.store(self, std::memory_order_relaxed);
    s->entries = 1;
    return 0;
}

extern "C" int32_t UTLLeaveCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section == nullptr) return 0;
    Section *s = SectionOf(section);
    // A thread that does not hold the section leaves nothing.
    if (s->owner.load(std::memory_order_relaxed) != ThreadMark()) return 0;
    if (--s->entries != 0) return 0;
    s->owner.store(0, std::memory_order_relaxed);
    if (SingleThreaded()) {
        s->word.store(kFree, std::memory_order_relaxed);
    } else if (s->word.exchange(kFree, std::memory_order_release) == kContended) {
        FutexWake(&s->word);
    }
    return 0;
}

extern "C" int32_t UTLCleanupCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section != nullptr) SectionOf(section)->~Section();
    return 0;
}
