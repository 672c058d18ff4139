// Directory searches: a pattern's directory part is opened, its last
// component matched against each entry with the "*" and "?" wildcards.
#include <cerrno>
#include <cstring>
#include <new>

#include "cmnw32/file.h"
#include "common/os.h"
#include "common/text.h"

struct UTLFindRec {
    DIR *dir;
    char pattern[CMNW_MAX_PATH];       // the name part
    char patternNoExt[CMNW_MAX_PATH];  // "x*" for "x*.*": names without a dot match too
    bool matchAll;
};

namespace cmnw::platform {
namespace {

inline unsigned char FoldAscii(unsigned char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Wildcard match without regard to ASCII case; "*" backtracks to its last
// position only, which is enough for a linear-time match.
bool MatchName(const char *pattern, const char *name) noexcept {
    const char *star = nullptr;
    const char *resume = nullptr;
    while (*name != '\0') {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern != '\0' && FoldAscii(static_cast<unsigned char>(*pattern)) ==
                                                               FoldAscii(static_cast<unsigned char>(*name)))) {
            ++pattern;
            ++name;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

bool IsDirectoryEntry(DIR *dir, const dirent *entry) noexcept {
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
    struct stat st;
    if (os::StatAt(dirfd(dir), entry->d_name, &st, 0) != 0) return false;
    return S_ISDIR(st.st_mode);
}

// Fills the 258-byte name record: zeros, at most 257 bytes of the name,
// trimmed of white space.
void FillNameRecord(char *record, const char *name) noexcept {
    std::memset(record, 0, CMNW_MAX_PATH);
    CopyBounded(record, CMNW_MAX_PATH, name);
    TrimInPlace(record);
}

// The next matching file: 0, 2 at the end of the directory, 1 on an error.
int32_t NextFile(UTLFindRec *find, char *record) noexcept {
    for (;;) {
        errno = 0;
        const dirent *entry = os::NextEntry(find->dir);
        if (entry == nullptr) return errno == 0 ? 2 : 1;
        if (!find->matchAll && !MatchName(find->pattern, entry->d_name) &&
            (find->patternNoExt[0] == '\0' || !MatchName(find->patternNoExt, entry->d_name))) {
            continue;
        }
        if (IsDirectoryEntry(find->dir, entry)) continue;
        FillNameRecord(record, entry->d_name);
        return 0;
    }
}

UTLFindRec *OpenSearch(const char *pattern) noexcept {
    char native[os::kNativeSize];
    if (!os::ToNative(pattern, native)) return nullptr;
    char *slash = std::strrchr(native, '/');
    const char *namePart = slash != nullptr ? slash + 1 : native;
    const char *dirPart = ".";
    if (slash == native) {
        dirPart = "/";
    } else if (slash != nullptr) {
        *slash = '\0';
        dirPart = native;
    }
    auto *find = new (std::nothrow) UTLFindRec{};
    if (find == nullptr) return nullptr;
    CopyBounded(find->pattern, sizeof find->pattern, namePart);
    find->matchAll = std::strcmp(find->pattern, "*") == 0 || std::strcmp(find->pattern, "*.*") == 0;
    size_t length = std::strlen(find->pattern);
    if (length > 2 && std::strcmp(find->pattern + length - 2, ".*") == 0) {
        CopyBoundedN(find->patternNoExt, sizeof find->patternNoExt, find->pattern, length - 2);
    }
    find->dir = os::OpenFolderList(dirPart);
    if (find->dir == nullptr) {
        delete find;
        return nullptr;
    }
    return find;
}

void CloseSearch(UTLFindRec *find) noexcept {
    os::CloseFolderList(find->dir);
    delete find;
}

}  // namespace

UTLFindRec *FindFirst(const char *pattern, char *name) noexcept {
    if (pattern == nullptr || *pattern == '\0' || name == nullptr) return nullptr;
    UTLFindRec *find = OpenSearch(pattern);
    if (find == nullptr) return nullptr;
    if (NextFile(find, name) != 0) {
        CloseSearch(find);
        return nullptr;
    }
    return find;
}

}  // namespace cmnw::platform

extern "C" UTLHFIND UTLFindFirst(const char *pattern, uint32_t, char *name) noexcept {
    return cmnw::platform::FindFirst(pattern, name);
}

extern "C" int32_t UTLFindNext(UTLHFIND find, char *name) noexcept {
    if (find == nullptr || name == nullptr) return 1;
    return cmnw::platform::NextFile(find, name);
}

extern "C" int32_t UTLFindClose(UTLHFIND find) noexcept {
    if (find == nullptr) return 1;
    int rc = cmnw::os::CloseFolderList(find->dir);
    delete find;
    return rc == 0 ? 0 : 1;
}

extern "C" MEMLIST UTLFindAll(const char *pattern, uint32_t) noexcept {
    char record[CMNW_MAX_PATH];
    UTLHFIND find = cmnw::platform::FindFirst(pattern, record);
    if (find == nullptr) return nullptr;
    MEMLIST list = MEMCreateList();
    if (list != nullptr) {
        do {
            if (MEMAppendItem(list, record, sizeof record) == nullptr) {
                MEMDestroyList(list);  // no list that silently misses files
                list = nullptr;
                break;
            }
        } while (cmnw::platform::NextFile(find, record) == 0);
    }
    UTLFindClose(find);
    return list;
}
