// The patient open of archive files: deny others writing, and when another
// open is in the way, try again once a second as often as KVRWAIT allows.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "cmnw32/sys.h"
#include "platform/lock_internal.h"

namespace cmnw::lock {
namespace {

constexpr int kDefaultRetries = 600;
constexpr int kReadWriteAccess = 2;

struct RetryState {
    RetryHooks hooks;
};

constinit RetryState g_retry{};

// Failures that no other process's close can cure: not worth waiting for.
bool IsLastingFailure(int error) noexcept {
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == EISDIR ||
           error == EINVAL || error == ELOOP || error == EMLINK;
}

}  // namespace

RetryHooks SetRetryHooks(RetryHooks hooks) noexcept {
    RetryHooks previous = g_retry.hooks;
    g_retry.hooks = hooks;
    return previous;
}

void PauseBetweenTries() noexcept {
    if (g_retry.hooks.pause != nullptr) {
        g_retry.hooks.pause();
        return;
    }
    sleep(1);
}

void NoteRefusedTry() noexcept {
    if (g_retry.hooks.tried != nullptr) g_retry.hooks.tried();
}

int RetryCountFromEnvironment() noexcept {
    const char *text = secure_getenv("KVRWAIT");
    if (text == nullptr) return kDefaultRetries;
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text) return 0;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

const char *SharedOpenMode(int32_t accessMode) noexcept {
    return accessMode == kReadWriteAccess ? "r+b" : "rb";
}

FILE *SharedOpen(const char *name, int32_t accessMode) noexcept {
    if (name == nullptr) return nullptr;
    FILE *stream = SYSfsopen(name, SharedOpenMode(accessMode), SYS_SH_DENYWR);
    return stream != nullptr ? stream : SharedOpenAfterRefusal(name, accessMode, SYSErrno());
}

FILE *SharedOpenAfterRefusal(const char *name, int32_t accessMode, int error) noexcept {
    if (IsLastingFailure(error)) return nullptr;
    NoteRefusedTry();
    const char *mode = SharedOpenMode(accessMode);
    const int retries = RetryCountFromEnvironment();
    for (long attempt = 1;; ++attempt) {
        FILE *stream = SYSfsopen(name, mode, SYS_SH_DENYWR);
        if (stream != nullptr) return stream;
        if (IsLastingFailure(SYSErrno())) return nullptr;
        NoteRefusedTry();
        if (retries >= 0 && attempt >= retries) return nullptr;
        PauseBetweenTries();
    }
}

}  // namespace cmnw::lock
