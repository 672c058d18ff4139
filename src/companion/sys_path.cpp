// The one mapping from the suite's path texts to this system's paths.
#include "companion/sys_path.h"

#include <cstring>

#include "cmnw32/sys.h"

namespace cmnw::companion {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Where the native text starts: past a leading drive "X:".
size_t NativeStart(const char *path) {
    return IsDriveLetter(path[0]) && path[1] == ':' ? 2 : 0;
}

}  // namespace

std::string NativePath(const char *path) {
    if (path == nullptr) return std::string();
    std::string out(path + NativeStart(path));
    for (char &c : out)
        if (c == '\\') c = '/';
    return out;
}

}  // namespace cmnw::companion

extern "C" size_t SYSNativePath(const char *path, char *out, size_t outSize) noexcept {
    if (path == nullptr) {
        if (out != nullptr && outSize > 0) out[0] = '\0';
        return 0;
    }
    const char *src = path + cmnw::companion::NativeStart(path);
    size_t length = std::strlen(src);
    if (out == nullptr || outSize == 0) return length;
    size_t n = length < outSize - 1 ? length : outSize - 1;
    for (size_t i = 0; i < n; ++i) out[i] = src[i] == '\\' ? '/' : src[i];
    out[n] = '\0';
    return length;
}
