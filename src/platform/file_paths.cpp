// Path-building wrappers: searching a path list, default extensions, and
// file names taken from the configuration.
#include <cstring>

#include "cmnw32/cfg.h"
#include "cmnw32/file.h"
#include "cmnw32/sys.h"
#include "common/path.h"
#include "common/text.h"

namespace cmnw::platform {
namespace {

constexpr size_t kIniValueSize = 258;
constexpr size_t kIniExtensionSize = 129;

bool CanOpenForReading(const char *path) noexcept {
    FILE *stream = SYSfopen(path, "r");
    if (stream == nullptr) return false;
    SYSfclose(stream);
    return true;
}

}  // namespace

// fileName is written only when the path found differs from it.
int32_t SearchPath(const char *pathList, char *fileName) noexcept {
    char name[CMNW_MAX_PATH];
    CopyBounded(name, sizeof name, fileName);
    char path[CMNW_MAX_PATH];
    if (std::strchr(pathList, ';') == nullptr) {
        char dir[kDirSize];
        CopyBounded(dir, sizeof dir, pathList);
        MakePathBounded(path, sizeof path, nullptr, dir, name, nullptr);
        ReplaceIfChanged(fileName, path);
        return 0;
    }
    char fname[kNameSize], ext[kExtSize];
    UTLSplitPath(name, nullptr, nullptr, fname, ext);
    // Each entry is split on its own: the split stops at the entry's ";".
    for (const char *entry = pathList;;) {
        char drive[kDriveSize], dir[kDirSize];
        UTLSplitPath(entry, drive, dir, nullptr, nullptr);
        MakePathBounded(path, sizeof path, drive, dir, fname, ext);
        const bool found = CanOpenForReading(path);
        const char *next = std::strchr(entry, ';');
        if (found || next == nullptr) {
            ReplaceIfChanged(fileName, path);
            return found ? 0 : 1;
        }
        entry = next + 1;
    }
}

int32_t FileFromINI(const char *section, const char *key, const char *directoryKey, const char *extensionKey,
                    char *out, int32_t outSize, const char *defaultFile) noexcept {
    if (out == nullptr || outSize <= 0) return 1;
    out[0] = '\0';
    if (section == nullptr || *section == '\0' || key == nullptr || *key == '\0') return 1;
    char value[kIniValueSize] = "";
    CFGGetString(section, key, value, sizeof value);
    if (value[0] == '\0' && defaultFile != nullptr) CopyBounded(value, sizeof value, defaultFile);

    char drive[kDriveSize], dir[kDirSize], fname[kNameSize], ext[kExtSize];
    UTLSplitPath(value, drive, dir, fname, ext);
    if (fname[0] == '\0') return 1;

    char directory[kIniValueSize];
    MakePathBounded(directory, sizeof directory, drive, dir, nullptr, nullptr);
    if (directory[0] == '\0' && directoryKey != nullptr) {
        CFGGetString(section, directoryKey, directory, sizeof directory);
    }
    if (ext[0] == '\0' && extensionKey != nullptr) {
        char configured[kIniExtensionSize] = "";
        CFGGetString(section, extensionKey, configured, sizeof configured);
        CopyBounded(ext, sizeof ext, configured);
    }
    char result[CMNW_MAX_PATH];
    MakePathBounded(result, sizeof result, nullptr, nullptr, fname, ext);
    if (std::strchr(directory, ';') != nullptr) {
        SearchPath(directory, result);
    } else {
        char name[CMNW_MAX_PATH];
        CopyBounded(name, sizeof name, result);
        char dirPart[kDirSize];
        CopyBounded(dirPart, sizeof dirPart, directory);
        MakePathBounded(result, sizeof result, nullptr, dirPart, name, nullptr);
    }
    size_t length = std::strlen(result);
    if (length > static_cast<size_t>(outSize)) return 1;
    std::memcpy(out, result, length + 1);
    return 0;
}

}  // namespace cmnw::platform

extern "C" int32_t UTLSearchPath(const char *pathList, char *fileName) noexcept {
    if (pathList == nullptr || fileName == nullptr) return 1;
    return cmnw::platform::SearchPath(pathList, fileName);
}

extern "C" int32_t UTLDefaultExtension(char *path, const char *defaultExtension) noexcept {
    using namespace cmnw;
    if (path == nullptr || defaultExtension == nullptr || *defaultExtension == '\0') return 0;
    char drive[kDriveSize], dir[kDirSize], fname[kNameSize], ext[kExtSize];
    UTLSplitPath(path, drive, dir, fname, ext);
    if (ext[0] != '\0') return 0;
    char extension[kExtSize];
    cmnw::CopyBounded(extension, sizeof extension, defaultExtension);
    MakePathBounded(path, CMNW_MAX_PATH, drive, dir, fname, extension);
    return 0;
}

extern "C" int32_t UTLFileFromINI(const char *section, const char *key, const char *directoryKey,
                                  const char *extensionKey, char *out, int32_t outSize,
                                  const char *defaultFile) noexcept {
    return cmnw::platform::FileFromINI(section, key, directoryKey, extensionKey, out, outSize, defaultFile);
}
