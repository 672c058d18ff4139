// The process's archive lock: the open-file lock of archive.sem in the
// configured CAR directory.
#include <cstring>

#include "cmnw32/cfg.h"
#include "cmnw32/lock.h"
#include "common/path.h"

namespace cmnw::lock {
namespace {

struct ArchiveState {
    FILE *stream = nullptr;  // the held lock, or null
};

constinit ArchiveState g_archive{};

bool IsSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}

// The semaphore file's path (258 bytes) from the CarPath of the configuration
// in force: that directory's archive.sem, or archive.sem alone without it.
void SemaphorePath(char (&out)[CMNW_MAX_PATH]) noexcept {
    char carPath[CMNW_MAX_PATH + 1] = "";
    char drive[kDriveSize] = "";
    char dir[kDirSize] = "";
    if (CFGGetString("ArcRet", "CarPath", carPath, CMNW_MAX_PATH) != 0 && carPath[0] != '\0') {
        size_t n = std::strlen(carPath);
        while (n > 0 && IsSeparator(carPath[n - 1])) --n;
        carPath[n] = '\\';
        carPath[n + 1] = '\0';
        UTLSplitPath(carPath, drive, dir, nullptr, nullptr);
    }
    UTLMakePath(out, drive, dir, "archive", ".sem");
}

}  // namespace

int32_t LockArchive(CFGHANDLE config) noexcept {
    if (g_archive.stream != nullptr) return 0;
    if (config == nullptr) return 1;
    CFGHANDLE remembered = CFGCurrent();
    CFGSetCurrent(config);
    char path[CMNW_MAX_PATH];
    SemaphorePath(path);
    g_archive.stream = UTLLock(path);
    CFGSetCurrent(remembered);
    return g_archive.stream != nullptr ? 0 : 1;
}

int32_t UnlockArchive() noexcept {
    if (g_archive.stream == nullptr) return 1;
    UTLUnlock(g_archive.stream);
    g_archive.stream = nullptr;
    return 0;
}

}  // namespace cmnw::lock

extern "C" int32_t UTLLockARC(int32_t /*reserved*/, CFGHANDLE config) noexcept {
    return cmnw::lock::LockArchive(config);
}

extern "C" int32_t UTLUnlockARC(void) noexcept {
    return cmnw::lock::UnlockArchive();
}
