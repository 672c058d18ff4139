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
        std::string text = FormatIniText(config);
        return ReplaceFile(nativeText, 0600, true, [](int fd, void *context) {
            const auto &whole = *static_cast<const std::string *>(context);
            return WriteAll(fd, whole.data(), whole.size());
        }, &text);
    }, ENOMEM);
}

}  // namespace cmnw::companion
