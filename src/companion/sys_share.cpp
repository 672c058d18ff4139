// Sharing modes between opens of one file, emulated with open-file-description
// locks on bytes far past any real data.
//
// Each open through SYSfsopen holds shared locks on marker bytes: one for each
// access it has (read, write) and one for each access it denies to others.
// Before it keeps them, it tests the opposite markers with an exclusive test
// lock: an access is refused when some other open denies it, and a denial is
// refused when some other open already has that access. The locks belong to
// the open file description, so they last exactly as long as the stream and
// conflict between two opens of the same process as between processes.
#include <cerrno>
#include <cstdio>

#include "cmnw32/sys.h"
#include "common/os.h"
#include "companion/companion.h"

namespace cmnw::companion {
namespace {

// Marker bytes: far beyond any file this library writes, and apart from the
// byte ranges that the file-lock functions take on file data. An open that
// denies reading marks two bytes: one that readers test, and one beside the
// write markers that a reader denying writes takes with them in one
// exclusive lock.
constexpr off_t kMarkerBase = static_cast<off_t>(0x7fffffff00000000LL);
enum Marker : unsigned {
    kHasRead,
    kHasWrite,
    kDeniesWrite,
    kDeniesReadToWriters,  // held by opens that deny reading
    kDeniesRead,           // the same, for readers to test
    kMarkers
};

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

// Applies the lock request to every run of adjacent markers in the set (bit
// n for marker n), one call per run: with held null, takes the locks and is
// false at the first that fails; otherwise only tests them and sets *held
// at the first run another open holds against a lock of type.
bool LockMarkerRuns(int fd, short type, unsigned set, bool *held = nullptr) {
    for (unsigned first = 0; first < kMarkers; ++first) {
        if ((set & (1u << first)) == 0) continue;
        unsigned end = first;
        while (end < kMarkers && (set & (1u << end)) != 0) ++end;
        const off_t start = kMarkerBase + first;
        if (held == nullptr) {
            if (!os::LockBytes(fd, type, start, end - first)) return false;
        } else if (os::BytesLockedByOther(fd, type, start, end - first)) {
            *held = true;
            return true;
        }
        first = end;
    }
    return true;
}

// Takes this open's markers and checks them against every other open; false
// (errno EACCES) on a sharing conflict. Markers are taken before the test,
// so two opens racing each other may both be refused but never both admitted.
// An open that both writes and denies writing (the archive lock) takes its
// write markers exclusively instead, with the second deny-read marker when
// it reads: among such opens the lock itself picks exactly one, and since
// every open that denies reading holds that marker (or, unable to mark,
// tests it for an exclusive lock), it needs neither a has-read marker nor a
// test.
bool ClaimSharing(int fd, bool canMark, const OpenMode &mode, bool denyRead, bool denyWrite) {
    auto bit = [](bool on, Marker m) { return on ? 1u << m : 0u; };
    unsigned shared = bit(mode.read, kHasRead) | bit(mode.write, kHasWrite) |
                      bit(denyWrite, kDeniesWrite) | bit(denyRead, kDeniesReadToWriters) |
                      bit(denyRead, kDeniesRead);
    // The markers that an open other than fd's must not hold.
    unsigned against = bit(mode.read, kDeniesRead) | bit(mode.write, kDeniesWrite) |
                       bit(denyRead, kHasRead) | bit(denyWrite, kHasWrite);
    bool held = false;
    if (canMark) {
        bool taken = true;
        if (mode.write && denyWrite) {
            const unsigned exclusive = bit(true, kHasWrite) | bit(true, kDeniesWrite) |
                                       bit(mode.read, kDeniesReadToWriters);
            taken = LockMarkerRuns(fd, F_WRLCK, exclusive);
            shared &= ~(exclusive | bit(mode.read, kHasRead));
            against &= ~(exclusive | bit(mode.read, kDeniesRead));
        }
        if (!taken || !LockMarkerRuns(fd, F_RDLCK, shared)) {
            if (errno == EAGAIN) errno = EACCES;
            return false;
        }
    } else if (denyRead) {
        LockMarkerRuns(fd, F_RDLCK, bit(true, kDeniesReadToWriters), &held);
    }
    if (!held) LockMarkerRuns(fd, F_WRLCK, against, &held);
    if (held) {
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
        os::Close(fd);
        errno = saved;
        return nullptr;
    }
    // Truncate only once the sharing check has admitted the open: a refused
    // "w" must leave the other opener's data alone.
    if (mode.truncate && os::Truncate(fd, 0) != 0) {
        int saved = errno;
        os::Close(fd);
        errno = saved;
        return nullptr;
    }
    char streamMode[3] = {modeText[0], mode.plus ? '+' : '\0', '\0'};
    FILE *stream = os::StreamOf(fd, streamMode);
    if (stream == nullptr) {
        int saved = errno;
        os::Close(fd);
        errno = saved;
    }
    return stream;
}

}  // namespace cmnw::companion
