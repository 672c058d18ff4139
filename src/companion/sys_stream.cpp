// C stream wrappers: every path goes through the native-path mapping and the
// checked open, and a null stream fails the way the C function reports an
// error.
#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "cmnw32/sys.h"
#include "common/os.h"
#include "companion/companion.h"

namespace {

bool ModeUsable(const char *mode) {
    return mode != nullptr && (mode[0] == 'r' || mode[0] == 'w' || mode[0] == 'a');
}

}  // namespace

// Files the caller creates this way get the mode fopen would give them.
extern "C" FILE *SYSfopen(const char *path, const char *mode) noexcept {
    if (path == nullptr || !ModeUsable(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    return cmnw::companion::OpenStream(path, mode, 0666);
}

extern "C" FILE *SYSfsopen(const char *path, const char *mode, int shareFlag) noexcept {
    if (path == nullptr || !ModeUsable(mode)) {
        errno = EINVAL;
        return nullptr;
    }
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(path, native)) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    return cmnw::companion::OpenShared(native, mode, shareFlag);
}

extern "C" size_t SYSfread(void *buffer, size_t size, size_t count, FILE *stream) noexcept {
    if (stream == nullptr || buffer == nullptr) return 0;
    return std::fread(buffer, size, count, stream);
}

extern "C" size_t SYSfwrite(const void *buffer, size_t size, size_t count, FILE *stream) noexcept {
    if (stream == nullptr || buffer == nullptr) return 0;
    return std::fwrite(buffer, size, count, stream);
}

extern "C" int SYSfseek(FILE *stream, long offset, int origin) noexcept {
    if (stream == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return std::fseek(stream, offset, origin);
}

extern "C" long SYSftell(FILE *stream) noexcept {
    if (stream == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return std::ftell(stream);
}

extern "C" void SYSrewind(FILE *stream) noexcept {
    if (stream != nullptr) std::rewind(stream);
}

extern "C" int SYSfflush(FILE *stream) noexcept {
    if (stream == nullptr) return EOF;
    return std::fflush(stream);
}

extern "C" int SYSfclose(FILE *stream) noexcept {
    if (stream == nullptr) return EOF;
    return std::fclose(stream);
}

extern "C" int SYSvfprintf(FILE *stream, const char *format, va_list args) noexcept {
    if (stream == nullptr || format == nullptr) return -1;
    return std::vfprintf(stream, format, args);
}

extern "C" int SYSfprintf(FILE *stream, const char *format, ...) noexcept {
    va_list args;
    va_start(args, format);
    int n = SYSvfprintf(stream, format, args);
    va_end(args);
    return n;
}

extern "C" int SYSErrno(void) noexcept { return errno; }

namespace {

// The console print of both streams: the text, then a flush, so that it
// shows at once even when the stream is a pipe.
int PrintFlushed(FILE *stream, const char *format, va_list args) noexcept {
    int n = std::vfprintf(stream, format, args);
    std::fflush(stream);
    return n;
}

}  // namespace

extern "C" int SYSPrintf(const char *format, ...) noexcept {
    if (format == nullptr) return -1;
    va_list args;
    va_start(args, format);
    int n = PrintFlushed(stdout, format, args);
    va_end(args);
    return n;
}

extern "C" int SYSErrPrintf(const char *format, ...) noexcept {
    if (format == nullptr) return -1;
    va_list args;
    va_start(args, format);
    int n = PrintFlushed(stderr, format, args);
    va_end(args);
    return n;
}
