// Archive (CAR) files: created when missing, opened denying others writing,
// and the open-file lock built on them.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "cmnw32/cfg.h"
#include "cmnw32/lock.h"
#include "cmnw32/sys.h"
#include "cmnw32/trace.h"
#include "common/os.h"
#include "common/text.h"
#include "companion/companion.h"
#include "platform/lock_internal.h"

namespace cmnw::lock {
namespace {

constexpr int kRetests = 100;
constexpr size_t kErrorTextSize = 256;
constexpr char kErrorLine[] = "%s < %s >%s";

struct CarState {
    std::atomic<int8_t> debugOpenCar{-1};  // -1 until read from the configuration
};

constinit CarState g_car{};

bool DebugOpenCar() noexcept {
    int8_t debug = g_car.debugOpenCar.load(std::memory_order_relaxed);
    if (debug < 0) {
        debug = CFGGetYesNo("Control", "DebugOpenCAR") != 0 ? 1 : 0;
        g_car.debugOpenCar.store(debug, std::memory_order_relaxed);
    }
    return debug != 0;
}

// True when name exists; otherwise *error receives errno of the test.
bool Exists(const char *name, int *error) noexcept {
    char native[os::kNativeSize];
    if (!os::ToNative(name, native)) {
        *error = ENAMETOOLONG;
        return false;
    }
    if (os::Access(native, F_OK) == 0) return true;
    *error = errno;
    return false;
}

void TraceError(const char *what, int error) noexcept {
    char text[kErrorTextSize];
    CopyBounded(text, sizeof text, std::strerror(error));
    for (char *c = text; *c != '\0'; ++c) {
        if (*c == '\r') *c = ' ';
    }
    UTLLogTrace(kErrorLine, what, text, "");
}

// Looks for a file that the existence test missed and writes what it finds
// into the trace. True when a later test found it.
bool DiagnoseMissing(const char *name, int firstError) noexcept {
    TraceError("First access", firstError);
    for (int i = 0; i < kRetests; ++i) {
        int error = 0;
        if (Exists(name, &error)) {
            UTLLogTrace("Found file after subsequent attempt <#%d>", kRetests - i);
            return true;
        }
        if (error != firstError) TraceError("Different error", error);
    }
    UTLLogTrace("Subsequent attempts to locate the same way also fail.");
    char native[os::kNativeSize];
    struct stat st;
    const bool named = os::ToNative(name, native);
    if (named && os::Stat(native, &st) == 0) {
        UTLLogTrace("_stat indicates file does exist.");
    } else {
        TraceError("_stat attempt", named ? errno : ENAMETOOLONG);
    }
    return false;
}

// Creates a missing file, new only (never through a link another account
// left at its name), for owner and group. A file that another process created
// between the existence test and this call is kept with its records.
bool CreateEmpty(const char *name) noexcept {
    FILE *created = companion::OpenStream(name, "wbx", companion::kOwnFileMode);
    if (created == nullptr) return errno == EEXIST;
    SYSfclose(created);
    return true;
}

// 1 when the freshly opened stream's file is empty, 0 when it has content,
// -1 when it cannot be sought. A regular file answers from its status and
// the stream stays at the start where the open put it; anything else is
// sought to its end and back.
int IsEmpty(FILE *stream) noexcept {
    struct stat st;
    if (os::StatFd(fileno(stream), &st) == 0 && S_ISREG(st.st_mode)) return st.st_size == 0 ? 1 : 0;
    long start = -1;
    long end = -1;
    if (SYSfseek(stream, 0, SEEK_SET) == 0) start = SYSftell(stream);
    if (start >= 0 && SYSfseek(stream, 0, SEEK_END) == 0) end = SYSftell(stream);
    if (start < 0 || end < 0 || SYSfseek(stream, 0, SEEK_SET) != 0) return -1;
    return start == end ? 1 : 0;
}

void SetFlag(int32_t *flag, int32_t value) noexcept {
    if (flag != nullptr) *flag = value;
}

}  // namespace

FILE *OpenCarFile(const char *name, int32_t *newFile, int32_t accessMode,
                  bool checkEmpty) noexcept {
    if (name == nullptr) return nullptr;
    // The first try of the shared open stands in for the existence test while
    // it succeeds; only a refused try asks whether the file is there.
    FILE *stream = SYSfsopen(name, SharedOpenMode(accessMode), SYS_SH_DENYWR);
    if (stream != nullptr) {
        SetFlag(newFile, 0);
    } else {
        const int refusal = SYSErrno();
        int error = 0;
        bool exists = Exists(name, &error);
        const bool triedExisting = exists;
        if (!exists && DebugOpenCar()) exists = DiagnoseMissing(name, error);
        if (!exists) {
            SetFlag(newFile, 1);
            if (!CreateEmpty(name)) return nullptr;
            stream = SharedOpen(name, accessMode);
        } else {
            stream = triedExisting && refusal != ENOENT
                         ? SharedOpenAfterRefusal(name, accessMode, refusal)
                         : SharedOpen(name, accessMode);
            SetFlag(newFile, 0);
        }
    }
    if (stream == nullptr || !checkEmpty) return stream;

    const int empty = IsEmpty(stream);
    if (empty < 0) {
        SYSfclose(stream);
        return nullptr;
    }
    if (empty != 0) {
        SetFlag(newFile, 1);
        SYSfclose(stream);
        return SharedOpen(name, accessMode);
    }
    return stream;
}

int32_t CloseCarFile(FILE *stream) noexcept {
    if (stream == nullptr) return 0;
    SYSfflush(stream);
    return SYSfclose(stream);
}

}  // namespace cmnw::lock

extern "C" FILE *UTLOpenCARFile(const char *name, int32_t *newFile, int32_t accessMode) noexcept {
    return cmnw::lock::OpenCarFile(name, newFile, accessMode, true);
}

extern "C" int32_t UTLCloseCARFile(FILE *stream) noexcept {
    return cmnw::lock::CloseCarFile(stream);
}

extern "C" FILE *UTLLock(const char *name) noexcept {
    // Nobody sees the new-file flag here, so an empty file is not reopened.
    return cmnw::lock::OpenCarFile(name, nullptr, UTL_CAR_READWRITE, false);
}

extern "C" int32_t UTLUnlock(FILE *stream) noexcept {
    if (stream == nullptr) return 1;
    cmnw::lock::CloseCarFile(stream);
    return 0;
}
