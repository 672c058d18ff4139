// The hand-over of the suite's path texts to the system, shared by the file
// and directory wrappers.
#pragma once

#include <sys/stat.h>

#include <cstddef>

#include "cmnw32/sys.h"

namespace cmnw::platform {

// Room for the native form of any path the wrappers build.
inline constexpr size_t kNativeSize = 4096;

// The native form of path in out (kNativeSize bytes); false when it does not
// fit or path is null.
inline bool ToNative(const char *path, char (&out)[kNativeSize]) noexcept {
    if (path == nullptr) return false;
    return SYSNativePath(path, out, kNativeSize) < kNativeSize;
}

// True when something exists under the suite path.
inline bool PathExists(const char *path) noexcept {
    char native[kNativeSize];
    struct stat st;
    return ToNative(path, native) && native[0] != '\0' && stat(native, &st) == 0;
}

}  // namespace cmnw::platform
