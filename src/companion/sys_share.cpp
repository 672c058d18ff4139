// Sharing modes between opens of one file, emulated with open-file-description
// locks on bytes far past any real data.
//
// Each open through SYSfsopen holds shared locks on marker bytes: one for each
// access it has (read, write) and one for each access it denies to others.
// Before it keeps them, it probes the opposite markers with an exclusive test
// lock: an access is refused when some other open denies it, and a denial is
// refused when some other open already has that access. The locks belong to
// the open file description, so they last exactly as long as the stream and
// conflict between two opens of the same process as between processes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cmnw32/sys.h"
#include "companion/sys_path.h"

namespace cmnw::companion {
namespace {

// Marker bytes: far beyond any file this library writes, and apart from the
// byte ranges that the file-lock functions take on file data.
constexpr off_t kMarkerBase = static_cast<off_t>(0x7fffffff00000000LL);
constexpr off_t kHasRead = kMarkerBase + 0;
constexpr off_t kHasWrite = kMarkerBase + 1;
constexpr off_t kDeniesRead = kMarkerBase + 2;
constexpr off_t kDeniesWrite = kMarkerBase + 3;

struct OpenMode {
    bool read = false;
    bool write = false;
    bool truncate = false;
    bool append = false;
    bool create = false;
    bool exclusive = false;
    bool plus = false;
};

bool ParseMode(const char *mode, OpenMode &out) {
    switch (mode[0]) {
        case 'r': out.read = true; break;
        case 'w': out.write = out.truncate = out.create = true; break;
        case 'a': out.write = out.append = out.create = true; break;
        default: return false;
    }
    for (const char *p = mode + 1; *p != '\0'; ++p) {
        if (*p == '+') out.plus = out.read = out.write = true;
        if (*p == 'x') out.exclusive = true;
    }
    return true;
}

bool SetMarker(int fd, off_t at) {
    struct flock lock = {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = at;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when an open other than fd's holds the marker at.
bool MarkerHeldElsewhere(int fd, off_t at) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = at;
    lock.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

// Takes this open's markers and checks them against every other open; false
// (errno EACCES) on a sharing conflict. Markers are taken before the probe,
// so two opens racing each other may both be refused but never both admitted.
bool ClaimSharing(int fd, bool canMark, const OpenMode &mode, bool denyRead, bool denyWrite) {
    if (canMark) {
        if ((mode.read && !SetMarker(fd, kHasRead)) || (mode.write && !SetMarker(fd, kHasWrite)) ||
            (denyRead && !SetMarker(fd, kDeniesRead)) || (denyWrite && !SetMarker(fd, kDeniesWrite))) {
            if (errno == EAGAIN) errno = EACCES;
            return false;
        }
    }
    if ((mode.read && MarkerHeldElsewhere(fd, kDeniesRead)) ||
        (mode.write && MarkerHeldElsewhere(fd, kDeniesWrite)) ||
        (denyRead && MarkerHeldElsewhere(fd, kHasRead)) ||
        (denyWrite && MarkerHeldElsewhere(fd, kHasWrite))) {
        errno = EACCES;
        return false;
    }
    return true;
}

}  // namespace

FILE *OpenShared(const char *nativePath, const char *modeText, int shareFlag) noexcept {
    OpenMode mode;
    if (!ParseMode(modeText, mode)) {
        errno = EINVAL;
        return nullptr;
    }
    bool denyRead = false;
    bool denyWrite = false;
    switch (shareFlag) {
        case SYS_SH_DENYRW: denyRead = denyWrite = true; break;
        case SYS_SH_DENYWR: denyWrite = true; break;
        case SYS_SH_DENYRD: denyRead = true; break;
        case SYS_SH_DENYNO: break;
        default: errno = EINVAL; return nullptr;
    }

    int flags = O_CLOEXEC;
    if (mode.create) flags |= O_CREAT;
    if (mode.exclusive) flags |= O_EXCL;
    if (mode.append) flags |= O_APPEND;
    // Shared markers need a descriptor open for reading, so a write-only
    // stream is opened read-write when the file permits it.
    int fd = OpenChecked(nativePath, flags | (mode.write ? O_RDWR : O_RDONLY), 0666);
    bool canMark = fd >= 0;
    if (fd < 0 && mode.write && !mode.read && errno == EACCES) fd = OpenChecked(nativePath, flags | O_WRONLY, 0666);
    if (fd < 0) return nullptr;

    if (!ClaimSharing(fd, canMark, mode, denyRead, denyWrite)) {
        int saved = errno;
        close(fd);
        errno = saved;
        return nullptr;
    }
    // Truncate only once the sharing check has admitted the open: a refused
    // "w" must leave the other opener's data alone.
    if (mode.truncate && ftruncate(fd, 0) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return nullptr;
    }
    char streamMode[3] = {modeText[0], mode.plus ? '+' : '\0', '\0'};
    FILE *stream = fdopen(fd, streamMode);
    if (stream == nullptr) {
        int saved = errno;
        close(fd);
        errno = saved;
    }
    return stream;
}

}  // namespace cmnw::companion
