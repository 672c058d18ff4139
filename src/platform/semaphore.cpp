// Semaphores of maximum count 1: unnamed ones live in this process, named
// ones in a POSIX shared memory object per name (see process.h for the
// sharing, ownership and clean-up protocol). The shared state is a count and
// a magic number; waiters sleep on the count's futex, so nothing in the
// object is a pointer or a lock that another process could leave or forge.
#include <linux/futex.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "cmnw32/process.h"
#include "cmnw32/trace.h"
#include "common/os.h"
#include "common/text.h"
#include "platform/semaphore_handles.h"

namespace cmnw::platform {
namespace {

constexpr uint32_t kSharedMagic = 0x534D5032;  // set once the state is usable
constexpr uint32_t kMaximumCount = 1;
constexpr char kNamePrefix[] = "/cmnw32.sem.";
constexpr mode_t kObjectMode = 0600;
// How long open and close wait for another user's brief hold of the
// object's flock before giving up, in steps of kFlockStepNs.
constexpr int kFlockSteps = 2000;
constexpr long kFlockStepNs = 1000000L;

// The state every user of one semaphore sees.
struct SemShared {
    std::atomic<uint32_t> count;
    uint32_t magic;
};
static_assert(std::atomic<uint32_t>::is_always_lock_free && sizeof(std::atomic<uint32_t>) == 4,
              "the count is a plain futex word");

}  // namespace

// What one handle holds.
struct SemRecord {
    SemShared *shared;
    int fd;  // -1 for an unnamed semaphore
    char objectName[NAME_MAX + 1];
};

namespace {

void InitShared(SemShared *s, uint32_t initialCount) noexcept {
    s->count.store(initialCount, std::memory_order_relaxed);
    s->magic = kSharedMagic;
}

uint32_t *FutexWord(SemShared *s) noexcept { return reinterpret_cast<uint32_t *>(&s->count); }

// Sleeps while the count is 0, until woken or the monotonic deadline
// (null: none). Spurious returns are fine: the caller looks again.
int FutexWait(SemShared *s, const timespec *deadline) noexcept {
    return static_cast<int>(syscall(SYS_futex, FutexWord(s), FUTEX_WAIT_BITSET, 0u, deadline, nullptr,
                                    FUTEX_BITSET_MATCH_ANY));
}

void FutexWakeOne(SemShared *s) noexcept { syscall(SYS_futex, FutexWord(s), FUTEX_WAKE, 1, nullptr, nullptr, 0); }

// Advisory lock on byte 0 of the object, owned by this open of it (not by
// the process), so each handle counts as one user.
bool SetUserLock(int fd, short type) noexcept { return os::LockBytes(fd, type, 0, 1); }

// The object's flock, which its users hold only for the few steps of an
// open or close; false when it stays taken for about two seconds.
bool LockObject(int fd) noexcept {
    for (int step = 0; step < kFlockSteps; ++step) {
        if (os::Flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        const timespec pause{0, kFlockStepNs};
        nanosleep(&pause, nullptr);
    }
    return false;
}

// "/cmnw32.sem." plus the name after its last backslash, with "/" and "%"
// escaped. False when the name is empty or too long.
bool ObjectNameFor(const char *name, char *out, size_t outSize) noexcept {
    const char *base = std::strrchr(name, '\\');
    base = base != nullptr ? base + 1 : name;
    if (*base == '\0') return false;
    size_t n = CopyBounded(out, outSize, kNamePrefix);
    for (const char *p = base; *p != '\0'; ++p) {
        const char *piece = *p == '/' ? "%2F" : *p == '%' ? "%25" : nullptr;
        char single[2] = {*p, '\0'};
        if (piece == nullptr) piece = single;
        size_t len = std::strlen(piece);
        if (n + len >= outSize) return false;
        std::memcpy(out + n, piece, len + 1);
        n += len;
    }
    return true;
}

SemRecord *NewRecord(SemShared *shared, int fd, const char *objectName) noexcept {
    auto *rec = new (std::nothrow) SemRecord{shared, fd, {}};
    if (rec != nullptr && objectName != nullptr) CopyBounded(rec->objectName, sizeof rec->objectName, objectName);
    return rec;
}

SemRecord *CreateUnnamed(uint32_t initialCount) noexcept {
    auto *shared = new (std::nothrow) SemShared;
    if (shared == nullptr) return nullptr;
    InitShared(shared, initialCount);
    SemRecord *rec = NewRecord(shared, -1, nullptr);
    if (rec == nullptr) delete shared;
    return rec;
}

SemShared *MapShared(int fd) noexcept {
    void *p = os::MapShared(fd, sizeof(SemShared));
    return p == MAP_FAILED ? nullptr : static_cast<SemShared *>(p);
}

// A descriptor of the object: a new one made by this call (*made true), or
// an existing one. With create, a new object is made with O_EXCL, so an
// existing name is never adopted unchecked. -1 when there is none.
int OpenObject(const char *objectName, bool create, bool *made) noexcept {
    *made = false;
    if (create) {
        int fd = os::SharedOpen(objectName, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kObjectMode);
        if (fd >= 0) {
            *made = true;
            if (os::ChangeMode(fd, kObjectMode) == 0) return fd;
            os::SharedUnlink(objectName);
            os::Close(fd);
            return -1;
        }
        if (errno != EEXIST) return -1;
    }
    return os::SharedOpen(objectName, O_RDWR | O_CLOEXEC, 0);
}

// True for an object this account may trust: a regular object owned by the
// effective user that no other account may write.
bool IsOwnObject(const struct stat &st) noexcept {
    return S_ISREG(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Opens the named semaphore; with create, makes it when nobody holds it.
// Every step that decides about the object's life runs under its flock.
SemRecord *OpenNamed(const char *objectName, bool create, uint32_t initialCount) noexcept {
    for (int attempt = 0; attempt < 64; ++attempt) {
        bool made = false;
        int fd = OpenObject(objectName, create, &made);
        if (fd < 0) {
            if (errno == ENOENT && create) continue;  // removed between the two opens
            return nullptr;
        }
        struct stat st {};
        if (os::StatFd(fd, &st) != 0 || !IsOwnObject(st) || !LockObject(fd) || os::StatFd(fd, &st) != 0) {
            os::Close(fd);
            return nullptr;
        }
        if (st.st_nlink == 0) {  // its last user removed it while we waited
            os::Close(fd);
            continue;
        }
        SemShared *shared = nullptr;
        if (SetUserLock(fd, F_WRLCK)) {
            // Nobody else holds it: new, or left behind by a process that died.
            if (!create) {
                os::SharedUnlink(objectName);
                os::Close(fd);
                return nullptr;
            }
            if (static_cast<size_t>(st.st_size) != sizeof(SemShared) && os::Truncate(fd, sizeof(SemShared)) != 0) {
                os::SharedUnlink(objectName);
                os::Close(fd);
                return nullptr;
            }
            shared = MapShared(fd);
            if (shared != nullptr) InitShared(shared, initialCount);
        } else if (static_cast<size_t>(st.st_size) >= sizeof(SemShared)) {
            // In use: made and set up by another user, which may also be one
            // that took the flock between our create and our lock.
            shared = MapShared(fd);
            if (shared != nullptr && shared->magic != kSharedMagic) {
                os::Unmap(shared, sizeof(SemShared));
                shared = nullptr;
            }
        }
        SemRecord *rec = nullptr;
        if (shared != nullptr && SetUserLock(fd, F_RDLCK)) rec = NewRecord(shared, fd, objectName);
        if (rec == nullptr) {
            if (shared != nullptr) os::Unmap(shared, sizeof(SemShared));
            os::Close(fd);
            return nullptr;
        }
        os::Flock(fd, LOCK_UN);
        return rec;
    }
    return nullptr;
}

}  // namespace

// The last user of a named semaphore removes its object.
bool CloseSemRecord(SemRecord *rec) noexcept {
    bool ok = true;
    int savedErrno = 0;
    if (rec->fd < 0) {
        delete rec->shared;
    } else {
        if (LockObject(rec->fd) && SetUserLock(rec->fd, F_WRLCK)) os::SharedUnlink(rec->objectName);
        if (os::Unmap(rec->shared, sizeof(SemShared)) != 0) {
            ok = false;
            savedErrno = errno;
        }
        if (os::Close(rec->fd) != 0 && ok) {
            ok = false;
            savedErrno = errno;
        }
    }
    delete rec;
    if (!ok) errno = savedErrno;
    return ok;
}

namespace {

// One call's use of a handle: the record stays valid while it lasts.
class SemUse {
public:
    explicit SemUse(UTLHSEM handle) noexcept : record_(AcquireSemaphoreUse(handle, &slot_)) {}
    ~SemUse() {
        if (record_ != nullptr) ReleaseSemaphoreUse(slot_);
    }
    SemUse(const SemUse &) = delete;
    SemUse &operator=(const SemUse &) = delete;
    SemRecord *get() const noexcept { return record_; }

private:
    uint32_t slot_ = 0;
    SemRecord *record_;
};

// A handle for a new record, or null (the record closed) when the table is
// full.
UTLHSEM HandleFor(SemRecord *rec) noexcept {
    if (rec == nullptr) return nullptr;
    UTLHSEM handle = AddSemaphoreHandle(rec);
    if (handle == nullptr) CloseSemRecord(rec);
    return handle;
}

timespec DeadlineAfter(uint32_t milliseconds) noexcept {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    t.tv_sec += static_cast<time_t>(milliseconds / 1000);
    t.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
    return t;
}

// Takes one from the count when it is above 0.
bool TryTake(SemShared *s) noexcept {
    uint32_t count = s->count.load(std::memory_order_relaxed);
    while (count > 0) {
        if (s->count.compare_exchange_weak(count, count - 1, std::memory_order_acquire, std::memory_order_relaxed))
            return true;
    }
    return false;
}

int32_t Wait(SemShared *s, uint32_t timeout) noexcept {
    if (TryTake(s)) return 0;
    if (timeout == 0) return UTL_WAIT_TIMEOUT;
    const timespec deadline = DeadlineAfter(timeout);
    for (;;) {
        const int rc = FutexWait(s, timeout == UTL_INFINITE ? nullptr : &deadline);
        if (TryTake(s)) return 0;
        if (rc != 0 && errno == ETIMEDOUT) return UTL_WAIT_TIMEOUT;
        if (rc != 0 && errno != EAGAIN && errno != EINTR) return 1;
    }
}

int32_t Release(SemShared *s) noexcept {
    uint32_t count = s->count.load(std::memory_order_relaxed);
    do {
        if (count >= kMaximumCount) return 1;
    } while (!s->count.compare_exchange_weak(count, count + 1, std::memory_order_release, std::memory_order_relaxed));
    FutexWakeOne(s);
    return 0;
}

}  // namespace
}  // namespace cmnw::platform

extern "C" int32_t UTLCreateSemaphore(const char *name, UTLHSEM *handle, uint32_t, int32_t initiallyTaken) noexcept {
    using namespace cmnw::platform;
    if (handle == nullptr) return 1;
    const uint32_t initialCount = initiallyTaken != 0 ? 0 : kMaximumCount;
    char objectName[NAME_MAX + 1];
    if (name == nullptr || *name == '\0') {
        *handle = HandleFor(CreateUnnamed(initialCount));
    } else if (ObjectNameFor(name, objectName, sizeof objectName)) {
        *handle = HandleFor(OpenNamed(objectName, true, initialCount));
    } else {
        *handle = nullptr;
    }
    return 0;
}

extern "C" int32_t UTLOpenSemaphore(const char *name, UTLHSEM *handle) noexcept {
    using namespace cmnw::platform;
    if (handle == nullptr) return 1;
    char objectName[NAME_MAX + 1];
    *handle = (name != nullptr && ObjectNameFor(name, objectName, sizeof objectName))
                  ? HandleFor(OpenNamed(objectName, false, 0))
                  : nullptr;
    return 0;
}

extern "C" int32_t UTLRequestSemaphore(UTLHSEM handle, uint32_t timeout) noexcept {
    const cmnw::platform::SemUse use(handle);
    if (use.get() == nullptr) return 1;
    return cmnw::platform::Wait(use.get()->shared, timeout);
}

extern "C" int32_t UTLReleaseSemaphore(UTLHSEM handle) noexcept {
    const cmnw::platform::SemUse use(handle);
    if (use.get() == nullptr) return 1;
    return cmnw::platform::Release(use.get()->shared);
}

extern "C" int32_t UTLDestroySemaphore(UTLHSEM handle) noexcept {
    if (handle == nullptr) return 0;
    if (cmnw::platform::RemoveSemaphoreHandle(handle)) return 0;
    UTLLogTrace("Close Handle failed %s", std::strerror(errno));
    return 1;
}
