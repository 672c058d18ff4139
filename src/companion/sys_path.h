// The native form of the suite's path texts, for code inside the library.
#pragma once

#include <string>

namespace cmnw::companion {

// The native form of path (see SYSNativePath); "" for a null path. Throws
// only std::bad_alloc.
std::string NativePath(const char *path);

// Opens path (already native) with a C mode text ("r", "w+", "ab", ...)
// and the sharing mode of SYSfsopen; null with errno set on failure.
FILE *OpenShared(const char *nativePath, const char *mode, int shareFlag) noexcept;

}  // namespace cmnw::companion
