// Lock files (exclusive creation of "x.lck") and byte-range locks on open
// descriptors.
#include <cerrno>
#include <cstring>

#include "cmnw32/lock.h"
#include "common/os.h"
#include "common/path.h"
#include "platform/lock_internal.h"

namespace cmnw::lock {
namespace {

// The sharing-mode markers of the streams sit from here on (sys.h); byte
// ranges stay below them.
constexpr off_t kRangeLimit = static_cast<off_t>(0x7fffffff00000000LL);
constexpr int kLockTries = 10;

// The lock file of path in native form; false when path is null or the
// name does not fit a path buffer.
bool LockFileName(const char *path, char (&native)[os::kNativeSize]) noexcept {
    if (path == nullptr) return false;
    char drive[kDriveSize];
    char dir[kDirSize];
    char fname[kNameSize];
    UTLSplitPath(path, drive, dir, fname, nullptr);
    char lockName[CMNW_MAX_PATH + 1];
    MakePathBounded(lockName, sizeof lockName, drive, dir, fname, ".lck");
    if (std::strlen(lockName) >= CMNW_MAX_PATH) return false;
    return os::ToNative(lockName, native);
}

int32_t Fail(int error) noexcept {
    errno = error;
    return -1;
}

}  // namespace

int32_t LockFileExt(const char *path) noexcept {
    char native[os::kNativeSize];
    if (!LockFileName(path, native)) {
        errno = path == nullptr ? EINVAL : ENAMETOOLONG;
        return 1;
    }
    int fd = os::Open(native, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return 1;
    os::Close(fd);
    return 0;
}

int32_t UnLockFileExt(const char *path) noexcept {
    char native[os::kNativeSize];
    if (!LockFileName(path, native)) {
        errno = path == nullptr ? EINVAL : ENAMETOOLONG;
        return 1;
    }
    return os::Unlink(native) == 0 ? 0 : 1;
}

int32_t LockRange(int fd, int32_t mode, long bytes) noexcept {
    const int flags = os::GetFlags(fd);
    if (flags < 0) return Fail(EBADF);
    if (mode < UTL_LK_UNLCK || mode > UTL_LK_NBRLCK || bytes < 0) return Fail(EINVAL);
    const off_t start = os::Seek(fd, 0, SEEK_CUR);
    if (start < 0) return -1;
    if (bytes == 0) return 0;
    if (start >= kRangeLimit || static_cast<off_t>(bytes) > kRangeLimit - start)
        return Fail(EINVAL);

    short type = (flags & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    if (mode == UTL_LK_UNLCK) type = F_UNLCK;
    if (os::LockBytes(fd, type, start, bytes)) return 0;
    if (errno != EAGAIN && errno != EACCES) return -1;
    NoteRefusedTry();
    if (mode != UTL_LK_LOCK && mode != UTL_LK_RLCK) return Fail(EACCES);
    for (int tried = 1; tried < kLockTries; ++tried) {
        PauseBetweenTries();
        if (os::LockBytes(fd, type, start, bytes)) return 0;
        if (errno != EAGAIN && errno != EACCES) return -1;
        NoteRefusedTry();
    }
    return Fail(EDEADLK);
}

}  // namespace cmnw::lock

extern "C" int32_t UTLLockFileExt(const char *path) noexcept {
    return cmnw::lock::LockFileExt(path);
}

extern "C" int32_t UTLUnLockFileExt(const char *path) noexcept {
    return cmnw::lock::UnLockFileExt(path);
}

extern "C" int32_t UTLLockFile(int32_t fileDescriptor, int32_t mode, long bytes) noexcept {
    return cmnw::lock::LockRange(fileDescriptor, mode, bytes);
}
