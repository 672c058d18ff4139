// The exported form of the one mapping from the suite's path texts to this
// system's paths (os.h).
#include "cmnw32/sys.h"
#include "common/os.h"

extern "C" size_t SYSNativePath(const char *path, char *out, size_t outSize) noexcept {
    return cmnw::os::NativePath(path, out, outSize);
}
