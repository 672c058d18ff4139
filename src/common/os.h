// The library's one seam to the operating system. Every file, descriptor,
// lock, shared-memory and module call of the library goes through the
// functions below, and the suite's path texts reach the system only through
// NativePath; scripts/check-layout.sh fails the build's checks when a file
// under src/ outside this header and os.cpp calls the system directly.
//
// Each call goes through one entry of the table g_osCalls, set at load to
// the system's own function, so a test build can point any entry elsewhere
// in one place (to fail the Nth call with an errno, or to write short). The
// functions keep the system's contract: -1 (or null) with errno on failure,
// except that a call a signal can interrupt (open, read, write, fsync,
// ftruncate, flock, the byte locks, temporary and shared-memory opens) is
// made again when it fails with EINTR, so no caller sees EINTR from them.
// Close is never made again: Linux releases the descriptor even then.
//
// Threads: g_osCalls is written only before any thread uses the library (a
// test build's switch); the calls themselves are as thread-safe as the
// system's.
#pragma once

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

namespace cmnw::os {

struct Calls {
    int (*open)(const char *path, int flags, mode_t mode);
    int (*openat)(int folderFd, const char *name, int flags, mode_t mode);
    ssize_t (*read)(int fd, void *buffer, size_t size);
    ssize_t (*pread)(int fd, void *buffer, size_t size, off_t offset);
    ssize_t (*write)(int fd, const void *bytes, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*ftruncate)(int fd, off_t length);
    off_t (*lseek)(int fd, off_t offset, int whence);
    int (*fcntlFlags)(int fd, int command, int flags);  // F_GETFL, F_SETFL
    int (*fcntlLock)(int fd, int command, struct flock *lock);
    int (*flock)(int fd, int operation);
    int (*fstat)(int fd, struct stat *st);
    int (*fstatat)(int folderFd, const char *name, struct stat *st, int flags);
    int (*stat)(const char *path, struct stat *st);
    int (*lstat)(const char *path, struct stat *st);
    int (*access)(const char *path, int mode);
    int (*fchmod)(int fd, mode_t mode);
    int (*rename)(const char *from, const char *to);
    int (*unlink)(const char *path);
    int (*unlinkat)(int folderFd, const char *name, int flags);
    int (*mkdir)(const char *path, mode_t mode);
    int (*rmdir)(const char *path);
    int (*mkostemp)(char *pattern, int flags);
    char *(*getcwd)(char *buffer, size_t size);
    DIR *(*opendir)(const char *path);
    DIR *(*fdopendir)(int fd);
    struct dirent *(*readdir)(DIR *dir);
    int (*closedir)(DIR *dir);
    FILE *(*fdopen)(int fd, const char *mode);
    int (*shmOpen)(const char *name, int flags, mode_t mode);
    int (*shmUnlink)(const char *name);
    void *(*mmap)(void *address, size_t length, int protection, int flags, int fd, off_t offset);
    int (*munmap)(void *address, size_t length);
    void *(*dlopen)(const char *path, int flags);
    int (*dlclose)(void *module);
    void *(*dlsym)(void *module, const char *name);
    char *(*dlerror)();
};

extern Calls g_osCalls;

// Makes call again while a signal interrupts it (-1 with EINTR).
template <typename Call>
inline auto Uninterrupted(Call call) noexcept {
    auto result = call();
    while (result == -1 && errno == EINTR) result = call();
    return result;
}

inline int Open(const char *path, int flags, mode_t mode = 0) noexcept {
    return Uninterrupted([&] { return g_osCalls.open(path, flags, mode); });
}
inline int OpenAt(int folderFd, const char *name, int flags, mode_t mode = 0) noexcept {
    return Uninterrupted([&] { return g_osCalls.openat(folderFd, name, flags, mode); });
}
inline ssize_t Read(int fd, void *buffer, size_t size) noexcept {
    return Uninterrupted([&] { return g_osCalls.read(fd, buffer, size); });
}
inline ssize_t ReadAt(int fd, void *buffer, size_t size, off_t offset) noexcept {
    return Uninterrupted([&] { return g_osCalls.pread(fd, buffer, size, offset); });
}
inline ssize_t Write(int fd, const void *bytes, size_t size) noexcept {
    return Uninterrupted([&] { return g_osCalls.write(fd, bytes, size); });
}
inline int Sync(int fd) noexcept {
    return Uninterrupted([&] { return g_osCalls.fsync(fd); });
}
inline int Close(int fd) noexcept {
    return g_osCalls.close(fd);
}
inline int Truncate(int fd, off_t length) noexcept {
    return Uninterrupted([&] { return g_osCalls.ftruncate(fd, length); });
}
inline off_t Seek(int fd, off_t offset, int whence) noexcept {
    return g_osCalls.lseek(fd, offset, whence);
}
inline int GetFlags(int fd) noexcept {
    return g_osCalls.fcntlFlags(fd, F_GETFL, 0);
}
inline int SetFlags(int fd, int flags) noexcept {
    return g_osCalls.fcntlFlags(fd, F_SETFL, flags);
}
inline int Flock(int fd, int operation) noexcept {
    return Uninterrupted([&] { return g_osCalls.flock(fd, operation); });
}
inline int StatFd(int fd, struct stat *st) noexcept {
    return g_osCalls.fstat(fd, st);
}
inline int StatAt(int folderFd, const char *name, struct stat *st, int flags) noexcept {
    return g_osCalls.fstatat(folderFd, name, st, flags);
}
inline int Stat(const char *path, struct stat *st) noexcept {
    return g_osCalls.stat(path, st);
}
inline int StatLink(const char *path, struct stat *st) noexcept {
    return g_osCalls.lstat(path, st);
}
inline int Access(const char *path, int mode) noexcept {
    return g_osCalls.access(path, mode);
}
inline int ChangeMode(int fd, mode_t mode) noexcept {
    return g_osCalls.fchmod(fd, mode);
}
inline int Rename(const char *from, const char *to) noexcept {
    return g_osCalls.rename(from, to);
}
inline int Unlink(const char *path) noexcept {
    return g_osCalls.unlink(path);
}
inline int UnlinkAt(int folderFd, const char *name) noexcept {
    return g_osCalls.unlinkat(folderFd, name, 0);
}
inline int MakeFolder(const char *path, mode_t mode) noexcept {
    return g_osCalls.mkdir(path, mode);
}
inline int RemoveFolder(const char *path) noexcept {
    return g_osCalls.rmdir(path);
}
// A new file from pattern ("...XXXXXX", replaced by the name made), owner
// read and write only; the descriptor, or -1 with errno.
inline int MakeTemp(char *pattern, int flags) noexcept {
    return Uninterrupted([&] { return g_osCalls.mkostemp(pattern, flags); });
}
inline char *CurrentFolder(char *buffer, size_t size) noexcept {
    return g_osCalls.getcwd(buffer, size);
}
inline DIR *OpenFolderList(const char *path) noexcept {
    return g_osCalls.opendir(path);
}
inline DIR *OpenFolderListFd(int fd) noexcept {
    return g_osCalls.fdopendir(fd);
}
inline struct dirent *NextEntry(DIR *dir) noexcept {
    return g_osCalls.readdir(dir);
}
inline int CloseFolderList(DIR *dir) noexcept {
    return g_osCalls.closedir(dir);
}
inline FILE *StreamOf(int fd, const char *mode) noexcept {
    return g_osCalls.fdopen(fd, mode);
}
inline int SharedOpen(const char *name, int flags, mode_t mode) noexcept {
    return Uninterrupted([&] { return g_osCalls.shmOpen(name, flags, mode); });
}
inline int SharedUnlink(const char *name) noexcept {
    return g_osCalls.shmUnlink(name);
}
// A shared read-write mapping of the first length bytes of fd;
// MAP_FAILED with errno on failure.
inline void *MapShared(int fd, size_t length) noexcept {
    return g_osCalls.mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
}
inline int Unmap(void *address, size_t length) noexcept {
    return g_osCalls.munmap(address, length);
}
inline void *LoadModule(const char *nativePath, int flags) noexcept {
    return g_osCalls.dlopen(nativePath, flags);
}
inline int FreeModule(void *module) noexcept {
    return g_osCalls.dlclose(module);
}
inline void *ModuleSymbol(void *module, const char *name) noexcept {
    return g_osCalls.dlsym(module, name);
}
inline const char *ModuleError() noexcept {
    return g_osCalls.dlerror();
}

// The one mapping from the suite's path texts to this system's paths: a
// leading drive "X:" is dropped and backslashes become slashes. Writes at
// most outSize bytes, terminated (nothing when out is null or outSize 0);
// returns the length of the whole native form, so a result >= outSize means
// it was cut. A null path gives "" and 0.
size_t NativePath(const char *path, char *out, size_t outSize) noexcept;

// Room for the native form of any path the library hands to the system.
inline constexpr size_t kNativeSize = 4096;

// The native form of path in out; false when path is null or its native
// form does not fit.
inline bool ToNative(const char *path, char (&out)[kNativeSize]) noexcept {
    return path != nullptr && NativePath(path, out, kNativeSize) < kNativeSize;
}

// True when something exists under the suite path.
inline bool PathExists(const char *path) noexcept {
    char native[kNativeSize];
    struct stat st;
    return ToNative(path, native) && native[0] != '\0' && Stat(native, &st) == 0;
}

// The one advisory byte lock of the library: an open-file-description lock
// (it belongs to the open, not the process, so two opens in one process
// conflict like two processes) of type F_RDLCK, F_WRLCK or F_UNLCK on
// length bytes from start, taken or given back without waiting. False with
// errno (EAGAIN or EACCES when another open holds a conflicting lock).
bool LockBytes(int fd, short type, off_t start, off_t length) noexcept;

// True when another open holds a lock on those bytes that conflicts with a
// lock of type; false also when the question cannot be asked.
bool BytesLockedByOther(int fd, short type, off_t start, off_t length) noexcept;

}  // namespace cmnw::os
