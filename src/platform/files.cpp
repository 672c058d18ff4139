// Single-file wrappers: open, length, copy, exclusive access, names.
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/file.h"
#include "cmnw32/process.h"
#include "cmnw32/sys.h"
#include "common/os.h"
#include "common/text.h"
#include "companion/companion.h"

namespace cmnw::platform {
namespace {

constexpr size_t kCopyChunk = 16 * 1024;
constexpr size_t kMatchEntryMax = 255;

int64_t SecondsNow() noexcept {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec);
}

}  // namespace

int32_t CopyOpenFile(FILE *in, const char *destination) noexcept {
    struct stat st;
    const mode_t mode = os::StatFd(fileno(in), &st) == 0 ? (st.st_mode & 0666) : 0600;
    char native[os::kNativeSize];
    const bool ok = os::ToNative(destination, native) && native[0] != '\0' &&
                    companion::ReplaceFile(native, mode, false, [](int fd, void *context) {
                        FILE *source = static_cast<FILE *>(context);
                        char chunk[kCopyChunk];
                        for (;;) {
                            const size_t got = SYSfread(chunk, 1, sizeof chunk, source);
                            if (got == 0) return ferror(source) == 0;
                            if (!companion::WriteAll(fd, chunk, got)) return false;
                        }
                    }, in);
    SYSfclose(in);
    return ok ? 0 : 1;
}

int32_t CopyFile(const char *source, const char *destination) noexcept {
    FILE *in = SYSfopen(source, "rb");
    if (in == nullptr) return 1;
    return CopyOpenFile(in, destination);
}

}  // namespace cmnw::platform

extern "C" FILE *UTLfopen(const char *name, const char *mode, char *buffer, int32_t bufferMode,
                          size_t bufferSize) noexcept {
    if (name == nullptr || mode == nullptr) return nullptr;
    FILE *stream = SYSfopen(name, mode);
    if (stream != nullptr) setvbuf(stream, buffer, bufferMode, bufferSize);
    return stream;
}

extern "C" long UTLFilelength(int32_t fileDescriptor) noexcept {
    struct stat st;
    if (cmnw::os::StatFd(fileDescriptor, &st) != 0) return -1;
    return static_cast<long>(st.st_size);
}

extern "C" int32_t UTLGetComputerName(char *buffer, uint32_t *size) noexcept {
    if (buffer == nullptr || size == nullptr) return 0;
    char host[256];
    if (gethostname(host, sizeof host) != 0) return 0;
    host[sizeof host - 1] = '\0';
    uint32_t length = static_cast<uint32_t>(std::strlen(host));
    if (length + 1 > *size) {
        *size = length + 1;
        return 0;
    }
    std::memcpy(buffer, host, length + 1);
    *size = length;
    return 1;
}

extern "C" uint32_t UTLGetCurrentDirectory(uint32_t size, char *buffer) noexcept {
    char cwd[cmnw::os::kNativeSize];
    if (cmnw::os::CurrentFolder(cwd, sizeof cwd) == nullptr) return 0;
    uint32_t length = static_cast<uint32_t>(std::strlen(cwd));
    if (buffer == nullptr || length + 1 > size) return length + 1;
    std::memcpy(buffer, cwd, length + 1);
    return length;
}

extern "C" int32_t UTLMkDir(const char *directory) noexcept {
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(directory, native)) return -1;
    return cmnw::os::MakeFolder(native, 0777) == 0 ? 0 : -1;
}

extern "C" int32_t UTLCopyFile(const char *source, const char *destination) noexcept {
    if (source == nullptr || destination == nullptr) return 1;
    return cmnw::platform::CopyFile(source, destination);
}

extern "C" int32_t UTLFileAccess(const char *name, int32_t seconds) noexcept {
    if (name == nullptr) return 1;
    if (seconds < 0) seconds = 0;
    const int64_t start = cmnw::platform::SecondsNow();
    for (;;) {
        FILE *stream = SYSfsopen(name, "r+", SYS_SH_DENYRW);
        if (stream != nullptr) {
            SYSfclose(stream);
            return 0;
        }
        if (cmnw::platform::SecondsNow() - start >= seconds) return 1;
        UTLSleep(100);
    }
}

extern "C" int32_t UTLMakeValidFileName(char *name, int32_t length) noexcept {
    if (name == nullptr) return 0;
    int32_t result = 0;
    for (int32_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 32 || std::strchr("<>:\"/?|*", c) != nullptr) {
            name[i] = '_';
            result = 65535;
        }
    }
    return result;
}

extern "C" int32_t UTLMatchString(const char *text, const char *list, int32_t ignoreCase) noexcept {
    if (text == nullptr || list == nullptr) return 0;
    char entry[cmnw::platform::kMatchEntryMax + 1];
    const char *p = list;
    for (;;) {
        size_t length = std::strcspn(p, ";");
        cmnw::CopyBoundedN(entry, sizeof entry, p, length);
        if (entry[0] == '\0') return 0;
        bool equal = ignoreCase != 0 ? UTLstricmp(text, entry) == 0 : std::strcmp(text, entry) == 0;
        if (equal) return 1;
        p += length;
        if (*p == ';') ++p;
    }
}
