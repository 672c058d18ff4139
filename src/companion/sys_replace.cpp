// Whole-file replacement: the new content goes to a temporary file beside
// the target, which is renamed over it once complete.
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/os.h"
#include "companion/companion.h"

namespace cmnw::companion {
namespace {

// Makes a rename inside the folder holding native durable: the folder itself
// is synced. False with errno on failure.
bool SyncFolderOf(const char *native) noexcept {
    char folder[os::kNativeSize];
    const char *slash = std::strrchr(native, '/');
    const size_t length = slash == nullptr  ? 0
                          : slash == native ? 1
                                            : static_cast<size_t>(slash - native);
    std::memcpy(folder, length == 0 ? "." : native, length == 0 ? 1 : length);
    folder[length == 0 ? 1 : length] = '\0';
    const int fd = os::Open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = os::Sync(fd) == 0;
    const int saved = errno;
    os::Close(fd);
    errno = saved;
    return ok;
}

// Creates a new file beside native under a name nobody can foresee (native,
// a dot and six letters or digits), written to temp; its descriptor, or -1
// with errno.
int CreateTempBeside(const char *native, mode_t createMode,
                     char (&temp)[os::kNativeSize]) noexcept {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const size_t length = std::strlen(native);
    if (length + 8 > sizeof temp) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(temp, native, length);
    temp[length] = '.';
    temp[length + 7] = '\0';
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t random = 0;
        if (getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random)
            random ^= static_cast<uint64_t>(getpid()) * 0x9E3779B97F4A7C15u +
                      static_cast<uint64_t>(attempt);
        for (int i = 1; i <= 6; ++i, random /= sizeof kLetters - 1)
            temp[length + i] = kLetters[random % (sizeof kLetters - 1)];
        const int fd =
            os::Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The permissions a replaced file (found, when old is) hands on: those of a
// regular file owned by the effective user at that name; none for a link or
// another's file, whose mode says nothing about who may read this account's
// data.
bool InheritedMode(bool found, const struct stat &old, mode_t *mode) noexcept {
    if (!found || !S_ISREG(old.st_mode) || old.st_uid != geteuid()) return false;
    *mode = old.st_mode & 07777;
    return true;
}

}  // namespace

bool WriteAll(int fd, const void *bytes, size_t size) noexcept {
    const auto *next = static_cast<const char *>(bytes);
    while (size > 0) {
        const ssize_t n = os::Write(fd, next, size);
        if (n < 0) return false;
        if (n == 0) {  // no progress: treated as a full disk rather than spun on
            errno = ENOSPC;
            return false;
        }
        next += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

namespace {

// A device, FIFO or socket at native is written through rather than
// replaced: renaming over it would remove the node itself (a copy to
// /dev/null must not take /dev/null away). The checked open still refuses
// one in a folder another account may write.
bool IsSpecialFile(const struct stat &st) noexcept {
    return !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode) && !S_ISDIR(st.st_mode);
}

bool WriteThrough(const char *native, bool (*fill)(int fd, void *context), void *context) noexcept {
    const int fd = OpenChecked(native, O_WRONLY | O_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool ok = fill(fd, context);
    const int saved = errno;
    os::Close(fd);
    errno = saved;
    return ok;
}

}  // namespace

bool ReplaceFile(const char *native, mode_t createMode, bool durable,
                 bool (*fill)(int fd, void *context), void *context) noexcept {
    struct stat old;
    const bool found = os::StatLink(native, &old) == 0;
    if (found && IsSpecialFile(old)) return WriteThrough(native, fill, context);
    char temp[os::kNativeSize];
    const int fd = CreateTempBeside(native, createMode, temp);
    if (fd < 0) return false;
    // A file already there must not be lost to a crash between the rename
    // and the new blocks reaching the disk: the new content is synced first.
    const bool syncFirst = durable || (found && S_ISREG(old.st_mode));
    mode_t mode = 0;
    bool ok = !InheritedMode(found, old, &mode) || os::ChangeMode(fd, mode) == 0;
    ok = ok && fill(fd, context) && (!syncFirst || os::Sync(fd) == 0);
    int saved = errno;
    // Linux releases the descriptor even when close reports EINTR, so close
    // is never tried again; after a successful fsync an EINTR from close
    // loses nothing.
    if (os::Close(fd) != 0 && ok && errno != EINTR) {
        ok = false;
        saved = errno;
    }
    if (ok && os::Rename(temp, native) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        os::Unlink(temp);
        errno = saved;
        return false;
    }
    // The new name reaches the disk only with its folder.
    return !durable || SyncFolderOf(native);
}

}  // namespace cmnw::companion
