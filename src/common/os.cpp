// The system's own functions behind the seam of os.h.
#include "common/os.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

namespace cmnw::os {

// Lambdas where the system's declaration is variadic or differs in form.
constinit Calls g_osCalls = {
    .open = [](const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    .openat = [](int folderFd, const char *name, int flags,
                 mode_t mode) { return ::openat(folderFd, name, flags, mode); },
    .read = [](int fd, void *buffer, size_t size) { return ::read(fd, buffer, size); },
    .pread = [](int fd, void *buffer, size_t size,
                off_t offset) { return ::pread(fd, buffer, size, offset); },
    .write = [](int fd, const void *bytes, size_t size) { return ::write(fd, bytes, size); },
    .fsync = ::fsync,
    .close = ::close,
    .ftruncate = ::ftruncate,
    .lseek = ::lseek,
    .fcntlFlags = [](int fd, int command, int flags) { return ::fcntl(fd, command, flags); },
    .fcntlLock = [](int fd, int command, struct flock *lock) { return ::fcntl(fd, command, lock); },
    .flock = ::flock,
    .fstat = [](int fd, struct stat *st) { return ::fstat(fd, st); },
    .fstatat = [](int folderFd, const char *name, struct stat *st,
                  int flags) { return ::fstatat(folderFd, name, st, flags); },
    .stat = [](const char *path, struct stat *st) { return ::stat(path, st); },
    .lstat = [](const char *path, struct stat *st) { return ::lstat(path, st); },
    .access = ::access,
    .fchmod = ::fchmod,
    .rename = ::rename,
    .unlink = ::unlink,
    .unlinkat = ::unlinkat,
    .mkdir = ::mkdir,
    .rmdir = ::rmdir,
    .mkostemp = ::mkostemp,
    .getcwd = [](char *buffer, size_t size) { return ::getcwd(buffer, size); },
    .opendir = ::opendir,
    .fdopendir = ::fdopendir,
    .readdir = ::readdir,
    .closedir = ::closedir,
    .fdopen = ::fdopen,
    .shmOpen = ::shm_open,
    .shmUnlink = ::shm_unlink,
    .mmap = ::mmap,
    .munmap = ::munmap,
    .dlopen = ::dlopen,
    .dlclose = ::dlclose,
    .dlsym = ::dlsym,
    .dlerror = ::dlerror,
};

namespace {

bool IsDriveLetter(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

struct flock ByteRange(short type, off_t start, off_t length) noexcept {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = start;
    range.l_len = length;
    return range;
}

}  // namespace

size_t NativePath(const char *path, char *out, size_t outSize) noexcept {
    if (path == nullptr) {
        if (out != nullptr && outSize > 0) out[0] = '\0';
        return 0;
    }
    const char *src = IsDriveLetter(path[0]) && path[1] == ':' ? path + 2 : path;
    const size_t length = std::strlen(src);
    if (out == nullptr || outSize == 0) return length;
    const size_t n = length < outSize - 1 ? length : outSize - 1;
    for (size_t i = 0; i < n; ++i) out[i] = src[i] == '\\' ? '/' : src[i];
    out[n] = '\0';
    return length;
}

bool LockBytes(int fd, short type, off_t start, off_t length) noexcept {
    struct flock range = ByteRange(type, start, length);
    return Uninterrupted([&] { return g_osCalls.fcntlLock(fd, F_OFD_SETLK, &range); }) == 0;
}

bool BytesLockedByOther(int fd, short type, off_t start, off_t length) noexcept {
    struct flock range = ByteRange(type, start, length);
    return Uninterrupted([&] { return g_osCalls.fcntlLock(fd, F_OFD_GETLK, &range); }) == 0 &&
           range.l_type != F_UNLCK;
}

}  // namespace cmnw::os
