// Semaphores of maximum count 1: unnamed ones live in this process, named
// ones in a POSIX shared memory object per name (see process.h for the
// sharing and clean-up protocol).
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "cmnw32/process.h"
#include "cmnw32/trace.h"
#include "common/text.h"
#include "platform/semaphore_handles.h"

namespace cmnw::platform {
namespace {

constexpr uint32_t kSharedMagic = 0x534D5031;  // set once the state is usable
constexpr int32_t kMaximumCount = 1;
constexpr char kNamePrefix[] = "/cmnw32.sem.";

// The state every user of one semaphore sees.
struct SemShared {
    pthread_mutex_t mutex;
    pthread_cond_t cond;
    int32_t count;
    uint32_t magic;
};

}  // namespace

// What one handle holds.
struct SemRecord {
    SemShared *shared;
    int fd;  // -1 for an unnamed semaphore
    char objectName[NAME_MAX + 1];
};

namespace {

void InitShared(SemShared *s, int32_t initialCount, bool processShared) noexcept {
    int pshared = processShared ? PTHREAD_PROCESS_SHARED : PTHREAD_PROCESS_PRIVATE;
    pthread_mutexattr_t mutexAttr;
    pthread_mutexattr_init(&mutexAttr);
    pthread_mutexattr_setpshared(&mutexAttr, pshared);
    pthread_mutexattr_setrobust(&mutexAttr, PTHREAD_MUTEX_ROBUST);
    pthread_mutex_init(&s->mutex, &mutexAttr);
    pthread_mutexattr_destroy(&mutexAttr);
    pthread_condattr_t condAttr;
    pthread_condattr_init(&condAttr);
    pthread_condattr_setpshared(&condAttr, pshared);
    pthread_condattr_setclock(&condAttr, CLOCK_MONOTONIC);
    pthread_cond_init(&s->cond, &condAttr);
    pthread_condattr_destroy(&condAttr);
    s->count = initialCount;
    s->magic = kSharedMagic;
}

// Locks the state's mutex, taking over from a holder that died.
bool LockShared(SemShared *s) noexcept {
    int rc = pthread_mutex_lock(&s->mutex);
    if (rc == EOWNERDEAD) {
        pthread_mutex_consistent(&s->mutex);
        rc = 0;
    }
    return rc == 0;
}

// Advisory lock on byte 0 of the object, owned by this open of it (not by
// the process), so each handle counts as one user.
bool SetUserLock(int fd, short type) noexcept {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool LockObject(int fd) noexcept {
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
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

SemRecord *CreateUnnamed(int32_t initialCount) noexcept {
    auto *shared = new (std::nothrow) SemShared;
    if (shared == nullptr) return nullptr;
    InitShared(shared, initialCount, false);
    SemRecord *rec = NewRecord(shared, -1, nullptr);
    if (rec == nullptr) {
        pthread_cond_destroy(&shared->cond);
        pthread_mutex_destroy(&shared->mutex);
        delete shared;
    }
    return rec;
}

SemShared *MapShared(int fd) noexcept {
    void *p = mmap(nullptr, sizeof(SemShared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return p == MAP_FAILED ? nullptr : static_cast<SemShared *>(p);
}

// Opens the named semaphore; with create, makes it when nobody holds it.
// Every step that decides about the object's life runs under its flock.
SemRecord *OpenNamed(const char *objectName, bool create, int32_t initialCount) noexcept {
    for (int attempt = 0; attempt < 64; ++attempt) {
        int fd = shm_open(objectName, O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
        if (fd < 0) return nullptr;
        if (!LockObject(fd)) {
            close(fd);
            return nullptr;
        }
        struct stat st {};
        if (fstat(fd, &st) != 0) {
            close(fd);
            return nullptr;
        }
        if (st.st_nlink == 0) {  // its last user removed it while we waited
            close(fd);
            continue;
        }
        SemShared *shared = nullptr;
        if (SetUserLock(fd, F_WRLCK)) {
            // Nobody else holds it: new, or left behind by a process that died.
            if (!create) {
                shm_unlink(objectName);
                close(fd);
                return nullptr;
            }
            if (static_cast<size_t>(st.st_size) != sizeof(SemShared) && ftruncate(fd, sizeof(SemShared)) != 0) {
                shm_unlink(objectName);
                close(fd);
                return nullptr;
            }
            shared = MapShared(fd);
            if (shared != nullptr) InitShared(shared, initialCount, true);
        } else if (static_cast<size_t>(st.st_size) >= sizeof(SemShared)) {
            shared = MapShared(fd);
            if (shared != nullptr && shared->magic != kSharedMagic) {
                munmap(shared, sizeof(SemShared));
                shared = nullptr;
            }
        }
        SemRecord *rec = nullptr;
        if (shared != nullptr && SetUserLock(fd, F_RDLCK)) rec = NewRecord(shared, fd, objectName);
        if (rec == nullptr) {
            if (shared != nullptr) munmap(shared, sizeof(SemShared));
            close(fd);
            return nullptr;
        }
        flock(fd, LOCK_UN);
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
        pthread_cond_destroy(&rec->shared->cond);
        pthread_mutex_destroy(&rec->shared->mutex);
        delete rec->shared;
    } else {
        if (LockObject(rec->fd) && SetUserLock(rec->fd, F_WRLCK)) shm_unlink(rec->objectName);
        if (munmap(rec->shared, sizeof(SemShared)) != 0) {
            ok = false;
            savedErrno = errno;
        }
        if (close(rec->fd) != 0 && ok) {
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

int32_t Wait(SemShared *s, uint32_t timeout) noexcept {
    if (!LockShared(s)) return 1;
    const timespec deadline = DeadlineAfter(timeout);
    while (s->count <= 0) {
        if (timeout == 0) {
            pthread_mutex_unlock(&s->mutex);
            return UTL_WAIT_TIMEOUT;
        }
        int rc = timeout == UTL_INFINITE ? pthread_cond_wait(&s->cond, &s->mutex)
                                         : pthread_cond_timedwait(&s->cond, &s->mutex, &deadline);
        if (rc == EOWNERDEAD) {
            pthread_mutex_consistent(&s->mutex);
        } else if (rc == ETIMEDOUT) {
            if (s->count > 0) break;
            pthread_mutex_unlock(&s->mutex);
            return UTL_WAIT_TIMEOUT;
        } else if (rc != 0) {
            pthread_mutex_unlock(&s->mutex);
            return 1;
        }
    }
    --s->count;
    pthread_mutex_unlock(&s->mutex);
    return 0;
}

int32_t Release(SemShared *s) noexcept {
    if (!LockShared(s)) return 1;
    if (s->count >= kMaximumCount) {
        pthread_mutex_unlock(&s->mutex);
        return 1;
    }
    ++s->count;
    pthread_cond_signal(&s->cond);
    pthread_mutex_unlock(&s->mutex);
    return 0;
}

}  // namespace
}  // namespace cmnw::platform

extern "C" int32_t UTLCreateSemaphore(const char *name, UTLHSEM *handle, uint32_t, int32_t initiallyTaken) noexcept {
    using namespace cmnw::platform;
    if (handle == nullptr) return 1;
    const int32_t initialCount = initiallyTaken != 0 ? 0 : kMaximumCount;
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
