// Directory wrappers: clearing, removing, creating and copying directories.
// Clearing and copying walk the folder through its descriptor, so a link
// among its files is handled as a link and never followed.
#include <cstdio>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/file.h"
#include "cmnw32/trace.h"
#include "common/os.h"
#include "common/path.h"
#include "common/text.h"
#include "companion/companion.h"

namespace cmnw::platform {

int32_t CopyOpenFile(FILE *in, const char *destination) noexcept;

namespace {

inline bool IsSeparator(char c) noexcept { return c == '\\' || c == '/'; }

// directory joined with name (the suite's join: separators become "\").
void JoinDirectory(char *out, const char *directory, const char *name) noexcept {
    char dir[kDirSize];
    CopyBounded(dir, sizeof dir, directory);
    MakePathBounded(out, CMNW_MAX_PATH, nullptr, dir, name, nullptr);
}

bool IsKept(const char *name, char **keepList, int32_t keepCount) noexcept {
    if (keepList == nullptr || keepCount < 1 || keepList[0] == nullptr) return false;
    for (int32_t i = 0; i < keepCount; ++i) {
        if (keepList[i] != nullptr && UTLstricmp(keepList[i], name) == 0) return true;
    }
    return false;
}

// Calls visit(folderFd, name, isLink) for each entry of directory that is
// not a directory (a link to one counts as one), with the name as a search
// lists it (at most 257 bytes, trimmed), until visit returns false. Returns
// the number of entries visited, -1 when the folder cannot be opened.
template <class Visit>
int ForEachFile(const char *directory, Visit visit) noexcept {
    char native[os::kNativeSize];
    const int fd = os::ToNative(directory, native) ? companion::OpenFolderChecked(native) : -1;
    DIR *dir = fd >= 0 ? os::OpenFolderListFd(fd) : nullptr;
    if (dir == nullptr) {
        if (fd >= 0) os::Close(fd);
        return -1;
    }
    int visited = 0;
    char name[CMNW_MAX_PATH];
    while (const dirent *entry = os::NextEntry(dir)) {
        struct stat st;
        if (os::StatAt(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
        const bool isLink = S_ISLNK(st.st_mode);
        if (isLink && os::StatAt(fd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode)) continue;
        CopyBounded(name, sizeof name, entry->d_name);
        TrimInPlace(name);
        ++visited;
        if (!visit(fd, name, isLink)) break;
    }
    os::CloseFolderList(dir);
    return visited;
}

bool MakeDirectory(const char *path) noexcept {
    char native[os::kNativeSize];
    return os::ToNative(path, native) && os::MakeFolder(native, 0777) == 0;
}

}  // namespace

int32_t ClearDir(const char *directory, char **keepList, int32_t keepCount, MEMLIST errors) noexcept {
    int32_t result = 0;
    ForEachFile(directory, [&](int folderFd, const char *name, bool) noexcept {
        if (IsKept(name, keepList, keepCount) || os::UnlinkAt(folderFd, name) == 0) return true;
        char path[CMNW_MAX_PATH];
        JoinDirectory(path, directory, name);
        if (errors == nullptr) {
            UTLLogTrace("Could not remove file %s", path);
            result = 1;
            return false;
        }
        MEMAppendItem(errors, path, std::strlen(path));
        return true;
    });
    return result;
}

int32_t CreatePath(const char *path) noexcept {
    if (path == nullptr || *path == '\0' || os::PathExists(path)) return 0;
    char drive[kDriveSize], dir[kDirSize], fname[kNameSize], ext[kExtSize];
    UTLSplitPath(path, drive, dir, fname, ext);
    char rest[CMNW_MAX_PATH * 2];
    MakePathBounded(rest, sizeof rest, nullptr, dir, fname, ext);
    char prefix[CMNW_MAX_PATH * 2];
    size_t used = CopyBounded(prefix, sizeof prefix, drive);
    const char *p = rest;
    int separators = 0;
    while (separators < 2 && IsSeparator(*p)) {
        if (used + 1 < sizeof prefix) prefix[used++] = *p;
        ++p;
        ++separators;
    }
    prefix[used] = '\0';
    if (separators == 2) {  // a network path: its server is not created
        size_t length = std::strcspn(p, "\\/");
        CopyBoundedN(prefix + used, sizeof prefix - used, p, length);
        used = AppendBounded(prefix, sizeof prefix, "\\");
        p += length;
    }
    while (*p != '\0') {
        while (IsSeparator(*p)) ++p;
        size_t length = std::strcspn(p, "\\/");
        if (length == 0) break;
        CopyBoundedN(prefix + used, sizeof prefix - used, p, length);
        p += length;
        if (!os::PathExists(prefix)) {
            MakeDirectory(prefix);
            if (!os::PathExists(prefix)) return 1;
        }
        used = AppendBounded(prefix, sizeof prefix, "\\");
    }
    return 0;
}

int32_t CopyDir(const char *source, const char *destination) noexcept {
    if (!os::PathExists(destination)) MakeDirectory(destination);
    const int copied = ForEachFile(source, [&](int folderFd, const char *name, bool isLink) noexcept {
        char from[CMNW_MAX_PATH], to[CMNW_MAX_PATH];
        JoinDirectory(from, source, name);
        JoinDirectory(to, destination, name);
        FILE *in = nullptr;
        if (!isLink) {
            const int fd = os::OpenAt(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            struct stat st;
            if (fd >= 0 && os::StatFd(fd, &st) == 0 && S_ISREG(st.st_mode)) in = os::StreamOf(fd, "rb");
            if (in == nullptr && fd >= 0) os::Close(fd);
        }
        if (in == nullptr || CopyOpenFile(in, to) != 0) UTLLogTrace("failed to copy src=(%s) dest=(%s)", from, to);
        return true;
    });
    if (copied <= 0) {
        char pattern[CMNW_MAX_PATH];
        JoinDirectory(pattern, source, "*");
        UTLLogTrace("failed to find directories (%s)", pattern);
        return 1;
    }
    return 0;
}

}  // namespace cmnw::platform

extern "C" int32_t UTLClearDir(const char *directory, char **keepList, int32_t keepCount, MEMLIST errors) noexcept {
    if (directory == nullptr) return 0;
    return cmnw::platform::ClearDir(directory, keepList, keepCount, errors);
}

extern "C" int32_t UTLRemoveDir(const char *directory) noexcept {
    if (directory == nullptr || *directory == '\0') return -1;
    cmnw::platform::ClearDir(directory, nullptr, 0, nullptr);
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(directory, native)) return -1;
    return cmnw::os::RemoveFolder(native) == 0 ? 0 : -1;
}

extern "C" int32_t UTLCreatePath(const char *path) noexcept { return cmnw::platform::CreatePath(path); }

extern "C" int32_t UTLCopyDir(const char *source, const char *destination) noexcept {
    if (source == nullptr || destination == nullptr) return 1;
    return cmnw::platform::CopyDir(source, destination);
}
