// Opens by native path that another account's links and special files in a
// shared folder cannot turn against the caller.
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/os.h"
#include "companion/companion.h"

namespace cmnw::companion {
namespace {

// The folder and last component of a native path: folder receives "." or
// "/" when the path names none. False (ENAMETOOLONG) when it does not fit.
bool SplitFolder(const char *nativePath, char (&folder)[PATH_MAX], const char **name) noexcept {
    const char *slash = std::strrchr(nativePath, '/');
    if (slash == nullptr) {
        std::strcpy(folder, ".");
        *name = nativePath;
        return true;
    }
    size_t length = slash == nativePath ? 1 : static_cast<size_t>(slash - nativePath);
    if (length >= sizeof folder) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(folder, nativePath, length);
    folder[length] = '\0';
    *name = slash + 1;
    return true;
}

int CloseKeepingErrno(int fd, int error) noexcept {
    os::Close(fd);
    errno = error;
    return -1;
}

// The open relative to the folder's descriptor, checked as OpenChecked says.
int OpenInFolder(int folderFd, const char *name, int flags, mode_t createMode) noexcept {
    struct stat folder;
    if (os::StatFd(folderFd, &folder) != 0) return -1;
    if (!OthersMayWrite(folder)) return os::OpenAt(folderFd, name, flags | O_CLOEXEC, createMode);

    const bool writes = (flags & O_ACCMODE) != O_RDONLY || (flags & (O_CREAT | O_TRUNC)) != 0;
    int checked = (flags & ~O_TRUNC) | O_CLOEXEC | O_NONBLOCK;
    if (writes) checked |= O_NOFOLLOW;
    int fd = os::OpenAt(folderFd, name, checked, createMode);
    if (fd < 0) return -1;
    struct stat st;
    if (os::StatFd(fd, &st) != 0) return CloseKeepingErrno(fd, errno);
    if (!S_ISREG(st.st_mode)) return CloseKeepingErrno(fd, EINVAL);
    if (writes && st.st_nlink > 1) return CloseKeepingErrno(fd, EMLINK);
    if ((flags & O_NONBLOCK) == 0 && os::SetFlags(fd, os::GetFlags(fd) & ~O_NONBLOCK) != 0)
        return CloseKeepingErrno(fd, errno);
    if ((flags & O_TRUNC) != 0 && (flags & O_ACCMODE) != O_RDONLY && os::Truncate(fd, 0) != 0)
        return CloseKeepingErrno(fd, errno);
    return fd;
}

constexpr int kAskFolder = -2;

// Whatever folder it lies in, a regular file with one link, opened without
// following a link of its own name and without waiting, is what the checked
// open would give, so this is tried before looking at the folder: the
// descriptor, -1 with errno where the checked open fails the same way, or
// kAskFolder where the folder decides. Not for O_TRUNC, which the checked
// open applies only after its checks.
int OpenPlainFile(const char *nativePath, int flags, mode_t createMode) noexcept {
    int fd = os::Open(nativePath, flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, createMode);
    if (fd < 0) return errno == ENOENT || errno == EACCES || errno == EEXIST ? -1 : kAskFolder;
    struct stat st;
    if (os::StatFd(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
        ((flags & O_NONBLOCK) == 0 && os::SetFlags(fd, flags) != 0)) {
        os::Close(fd);
        return kAskFolder;
    }
    return fd;
}

// Open flags for a C mode text; -1 (EINVAL) for one that is not.
int FlagsOfMode(const char *mode) noexcept {
    int flags = 0;
    switch (mode[0]) {
        case 'r': flags = O_RDONLY; break;
        case 'w': flags = O_WRONLY | O_CREAT | O_TRUNC; break;
        case 'a': flags = O_WRONLY | O_CREAT | O_APPEND; break;
        default: errno = EINVAL; return -1;
    }
    for (const char *p = mode + 1; *p != '\0'; ++p) {
        if (*p == '+') flags = (flags & ~O_ACCMODE) | O_RDWR;
        if (*p == 'x') flags |= O_EXCL;
    }
    return flags;
}

}  // namespace

bool OthersMayWrite(const struct stat &folder) noexcept {
    if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0) return true;
    return folder.st_uid != geteuid() && folder.st_uid != 0 && (folder.st_mode & S_IWUSR) != 0;
}

int OpenChecked(const char *nativePath, int flags, mode_t createMode) noexcept {
    char folder[PATH_MAX];
    const char *name = nullptr;
    if (nativePath == nullptr || !SplitFolder(nativePath, folder, &name)) return -1;
    if (*name == '\0') return os::Open(nativePath, flags | O_CLOEXEC, createMode);
    if ((flags & O_TRUNC) == 0) {
        const int fd = OpenPlainFile(nativePath, flags, createMode);
        if (fd != kAskFolder) return fd;
    }
    int folderFd = os::Open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return -1;
    int fd = OpenInFolder(folderFd, name, flags, createMode);
    int saved = errno;
    os::Close(folderFd);
    errno = saved;
    return fd;
}

int OpenFolderChecked(const char *nativePath) noexcept {
    char folder[PATH_MAX];
    const char *name = nullptr;
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (nativePath == nullptr || !SplitFolder(nativePath, folder, &name)) return -1;
    if (*name == '\0') return os::Open(nativePath, flags);
    int parentFd = os::Open(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) return -1;
    struct stat parent;
    int fd = -1;
    if (os::StatFd(parentFd, &parent) == 0)
        fd = os::OpenAt(parentFd, name, flags | (OthersMayWrite(parent) ? O_NOFOLLOW : 0));
    int saved = errno;
    os::Close(parentFd);
    errno = saved;
    return fd;
}

FILE *OpenStream(const char *path, const char *mode, mode_t createMode) noexcept {
    if (path == nullptr || mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    const int flags = FlagsOfMode(mode);
    if (flags < 0) return nullptr;
    char native[os::kNativeSize];
    if (!os::ToNative(path, native)) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    const int fd = OpenChecked(native, flags, createMode);
    if (fd < 0) return nullptr;
    const char streamMode[3] = {mode[0], (flags & O_ACCMODE) == O_RDWR ? '+' : '\0', '\0'};
    FILE *stream = os::StreamOf(fd, streamMode);
    if (stream == nullptr) CloseKeepingErrno(fd, errno);
    return stream;
}

}  // namespace cmnw::companion
