// CRC-32 (reflected, polynomial 0x04C11DB7) without the customary inversion
// at either end, and names made from CRC values.
#include <libdeflate.h>

#include <cstdint>

#include "cmnw32/encode.h"
#include "encode/encode.h"

namespace cmnw::encode {

uint32_t UpdateCrc32(uint32_t crc, const void *data, size_t length) noexcept {
    // libdeflate inverts its seed on entry and its result on exit; inverting
    // both around the call leaves the bare update step.
    return ~libdeflate_crc32(~crc, data, length);
}

void MakeCrcName(uint32_t crc, char *out) noexcept {
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
    uint32_t v = __builtin_bswap32(crc);
    for (int pos = 6; pos >= 1; --pos, v >>= 5) out[pos] = kDigits[v & 31];
    out[0] = kDigits[v & 3];
    out[7] = '\0';
}

}  // namespace cmnw::encode

extern "C" uint32_t UTLCalculateBlockCRC32(uint32_t length, uint32_t crc,
                                           const void *data) noexcept {
    if (data == nullptr) return crc;
    return cmnw::encode::UpdateCrc32(crc, data, length);
}

extern "C" int32_t UTLMakeCRCName(char *output, uint32_t crc) noexcept {
    if (output == nullptr) return 0xFFFF;
    cmnw::encode::MakeCrcName(crc, output);
    return 0;
}
