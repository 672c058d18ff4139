// File type detection: reads the file's length and its first bytes, and
// hands them to the signature tests.
#include <algorithm>
#include <cstdio>

#include "cmnw32/filetype.h"
#include "cmnw32/sys.h"
#include "platform/platform.h"

namespace cmnw::filetype {

int32_t TypeOfFile(const char *path) noexcept {
    FILE *file = SYSfopen(path, "rb");
    if (file == nullptr) return -1;
    long length = -1;
    if (SYSfseek(file, 0, SEEK_END) == 0) length = SYSftell(file);
    SYSrewind(file);
    if (length < 0) {
        SYSfclose(file);
        return -1;
    }
    uint8_t head[kHeadBytes];
    const size_t want = static_cast<size_t>(std::min<long>(length, kHeadBytes));
    const size_t got = want == 0 ? 0 : SYSfread(head, 1, want, file);
    SYSfclose(file);
    if (got < want) return -1;
    return TypeFromContent(head, got, static_cast<uint64_t>(length));
}

}  // namespace cmnw::filetype

extern "C" int32_t UTLFileType(const char *name) noexcept {
    if (name == nullptr || *name == '\0') return -1;
    return cmnw::filetype::TypeOfFile(name);
}
