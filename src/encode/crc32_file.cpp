// CRC-32 over the content of a file.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "cmnw32/encode.h"
#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "encode/encode.h"

namespace cmnw::encode {
namespace {

constexpr size_t kChunk = size_t{1} << 20;

// The file's length as found when it was opened (seek to end, tell); -1 when
// the stream cannot tell.
long StreamLength(FILE *file) noexcept {
    if (SYSfseek(file, 0, SEEK_END) != 0) return -1;
    const long length = SYSftell(file);
    SYSrewind(file);
    return length;
}

}  // namespace

// Reads the file in chunks of at most 1 MiB rather than whole, and stops at
// the length it had when opened or at the first short read. errno is 0 when
// that length was read whole, else the reason it was not.
uint32_t FileCrc32(const char *path, uint32_t crc) noexcept {
    FILE *file = SYSfopen(path, "rb");
    if (file == nullptr) return crc;
    const long length = StreamLength(file);
    if (length <= 0) {
        const int error = length < 0 ? (errno != 0 ? errno : EIO) : 0;
        SYSfclose(file);
        errno = error;
        return crc;
    }
    auto remaining = static_cast<uint64_t>(length);
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(remaining, kChunk));
    void *buffer = MEMAlloc(chunk);
    if (buffer == nullptr) {
        SYSfclose(file);
        errno = ENOMEM;
        return crc;
    }
    int error = 0;
    while (remaining > 0) {
        const size_t want = static_cast<size_t>(std::min<uint64_t>(remaining, chunk));
        errno = 0;
        const size_t got = SYSfread(buffer, 1, want, file);
        crc = UpdateCrc32(crc, buffer, got);
        if (got < want) {
            error = errno != 0 ? errno : EIO;  // an error, or the file shrank
            break;
        }
        remaining -= got;
    }
    MEMFree(buffer);
    SYSfclose(file);
    errno = error;
    return crc;
}

}  // namespace cmnw::encode

extern "C" uint32_t UTLCaclulateFileCRC32(const char *path, uint32_t crc) noexcept {
    if (path == nullptr || *path == '\0') {
        errno = path == nullptr ? EINVAL : ENOENT;
        return crc;
    }
    return cmnw::encode::FileCrc32(path, crc);
}
