// INI files on disk: reading, atomic writing, the loaded-files list.
#include "companion/cfg_store.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "common/boundary.h"
#include "common/os.h"
#include "common/text.h"
#include "companion/companion.h"
#include "companion/mem_list.h"

namespace cmnw::companion {
namespace {

// Larger files are refused rather than read into memory.
constexpr size_t kMaxIniBytes = size_t{256} << 20;

constinit MEMListRec g_loadedFiles{.staticStorage = true};

bool ReadWholeFile(const char *path, std::string &text) {
    FILE *file = SYSfopen(path, "rb");
    if (file == nullptr) return false;
    char chunk[65536];
    bool ok = true;
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, file);
        if (n > 0) {
            if (text.size() + n > kMaxIniBytes) {
                errno = EFBIG;
                ok = false;
                break;
            }
            text.append(chunk, n);
        }
        if (n < sizeof chunk) {
            if (std::ferror(file)) ok = false;
            break;
        }
    }
    std::fclose(file);
    return ok;
}

// Records path in the loaded-files list: a name seen before has its flag
// updated, a new one is appended.
void RecordLoad(const char *path, bool loaded) {
    CFGFileEntry entry = {};
    CopyBounded(entry.fileName, sizeof entry.fileName, path);
    entry.loaded = loaded ? 1 : 0;
    for (MEMITEM item = MEMFirstItem(&g_loadedFiles); item != nullptr; item = MEMNextItem(item)) {
        auto *known = static_cast<CFGFileEntry *>(MEMItemData(item));
        if (std::strcmp(known->fileName, entry.fileName) == 0) {
            known->loaded = entry.loaded;
            return;
        }
    }
    MEMAppendItem(&g_loadedFiles, &entry, sizeof entry);
}

bool WriteAll(int fd, const std::string &text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = os::Write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // no progress: treated as a full disk rather than spun on
            errno = ENOSPC;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// fsync(2), tried again when a signal interrupts it.
bool SyncRetrying(int fd) {
    while (os::Sync(fd) != 0)
        if (errno != EINTR) return false;
    return true;
}

// Makes a rename inside the folder holding native durable: the folder itself
// is synced. False with errno on failure.
bool SyncFolderOf(const std::string &native) {
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : native.substr(0, slash);
    int fd;
    do fd = os::Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    const bool ok = SyncRetrying(fd);
    const int saved = errno;
    os::Close(fd);
    errno = saved;
    return ok;
}

// Creates a new temporary file beside native under a name nobody can
// foresee, readable and writable by the owner only; its name goes to temp.
// -1 with errno on failure.
int CreateTempBeside(const std::string &native, std::string &temp) {
    temp = native + ".XXXXXX";
    return os::MakeTemp(temp.data(), O_CLOEXEC);
}

// The permissions a replaced file hands on: those of a regular file owned
// by the effective user at that name; none for a link or another's file,
// whose mode says nothing about who may read this account's configuration.
bool InheritedMode(const std::string &native, mode_t *mode) {
    struct stat old;
    if (os::StatLink(native.c_str(), &old) != 0 || !S_ISREG(old.st_mode) || old.st_uid != geteuid()) return false;
    *mode = old.st_mode & 07777;
    return true;
}

}  // namespace

MEMListRec *LoadedFileList() noexcept { return &g_loadedFiles; }

CFGConfig *LoadIniFile(const char *path) noexcept {
    return UnlessOutOfMemory(nullptr, [&]() -> CFGConfig * {
        std::string text;
        bool read = ReadWholeFile(path, text);
        CFGConfig *config = read ? NewConfig() : nullptr;
        if (config != nullptr) {
            try {
                ParseIniText(*config, text);
            } catch (...) {
                FreeConfig(config);
                config = nullptr;
            }
        }
        RecordLoad(path, config != nullptr);
        return config;
    });
}

bool SaveIniFile(const CFGConfig &config, const char *path) noexcept {
    return UnlessOutOfMemory(false, [&] {
        char nativeText[os::kNativeSize];
        const bool fits = os::ToNative(path, nativeText);
        if (!fits || nativeText[0] == '\0') {
            errno = fits || path == nullptr ? ENOENT : ENAMETOOLONG;
            return false;
        }
        const std::string native = nativeText;
        std::string text = FormatIniText(config);
        std::string temp;
        int fd = CreateTempBeside(native, temp);
        if (fd < 0) return false;
        // A replaced file keeps its permissions; a new one is the owner's only.
        mode_t mode = 0;
        bool ok = !InheritedMode(native, &mode) || os::ChangeMode(fd, mode) == 0;
        ok = ok && WriteAll(fd, text) && SyncRetrying(fd);
        int saved = errno;
        // Linux releases the descriptor even when close reports EINTR, so
        // close is never tried again; after a successful fsync an EINTR from
        // close loses nothing.
        if (os::Close(fd) != 0 && ok && errno != EINTR) {
            ok = false;
            saved = errno;
        }
        if (ok && os::Rename(temp.c_str(), native.c_str()) != 0) {
            ok = false;
            saved = errno;
        }
        if (!ok) {
            os::Unlink(temp.c_str());
            errno = saved;
            return false;
        }
        // The new name reaches the disk only with its folder.
        return SyncFolderOf(native);
    }, ENOMEM);
}

}  // namespace cmnw::companion
