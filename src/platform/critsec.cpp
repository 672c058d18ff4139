// Critical sections: recursive pthread mutexes in the caller's lock object.
#include <pthread.h>

#include <new>

#include "cmnw32/process.h"

namespace cmnw::platform {
namespace {

static_assert(sizeof(pthread_mutex_t) <= sizeof(UTLCRITICAL_SECTION));
static_assert(alignof(pthread_mutex_t) <= alignof(UTLCRITICAL_SECTION));

inline pthread_mutex_t *MutexOf(UTLCRITICAL_SECTION *section) noexcept {
    return reinterpret_cast<pthread_mutex_t *>(section->opaque);
}

}  // namespace
}  // namespace cmnw::platform

using cmnw::platform::MutexOf;

extern "C" int32_t UTLInitializeCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section == nullptr) return 0;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(new (section->opaque) pthread_mutex_t, &attr);
    pthread_mutexattr_destroy(&attr);
    return 0;
}

extern "C" int32_t UTLEnterCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section != nullptr) pthread_mutex_lock(MutexOf(section));
    return 0;
}

extern "C" int32_t UTLLeaveCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section != nullptr) pthread_mutex_unlock(MutexOf(section));
    return 0;
}

extern "C" int32_t UTLCleanupCriticalSection(UTLCRITICAL_SECTION *section) noexcept {
    if (section != nullptr) pthread_mutex_destroy(MutexOf(section));
    return 0;
}
