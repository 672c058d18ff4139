// Unique strings from random GUIDs: plain hexadecimal, hexadecimal with
// check digits, or scrambled into the text form.
#include "platform/platform.h"

#include <sys/random.h>

#include <cerrno>

#include <cstdio>
#include <cstring>

#include "cmnw32/unique.h"
#include "common/text.h"
#include "encode/encode.h"
#include "platform/unique_tables.h"

namespace cmnw::unique {
namespace {

constexpr size_t kGuidBytes = 16;
constexpr size_t kWork = 64;

inline void PutLittle32(uint32_t v, uint8_t *out) noexcept {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint32_t GetLittle(const uint8_t *in, int bytes) noexcept {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | in[i];
    return v;
}

}  // namespace

bool NewGuid(uint8_t guid[16]) noexcept {
    // A random (version 4) GUID straight from the kernel's random source.
    size_t got = 0;
    while (got < kGuidBytes) {
        const ssize_t n = getrandom(guid + got, kGuidBytes - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        got += static_cast<size_t>(n);
    }
    // In the in-memory layout the third field is little-endian: its high byte,
    // which carries the version, is byte 7.
    guid[7] = static_cast<uint8_t>((guid[7] & 0x0F) | 0x40);
    guid[8] = static_cast<uint8_t>((guid[8] & 0x3F) | 0x80);
    return true;
}

void GuidToHex(const uint8_t guid[16], char out[33]) noexcept {
    std::snprintf(out, 33, "%08X%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", GetLittle(guid, 4),
                  GetLittle(guid + 4, 2), GetLittle(guid + 6, 2), guid[8], guid[9], guid[10],
                  guid[11], guid[12], guid[13], guid[14], guid[15]);
}

void AddCheckDigits(const char hex[32], char out[41]) noexcept {
    static constexpr char kHex[] = "0123456789ABCDEF";
    uint8_t sum = 0;
    size_t n = 0;
    for (size_t i = 0; i < 32; ++i) {
        out[n++] = hex[i];
        sum = static_cast<uint8_t>(sum + static_cast<unsigned char>(hex[i]));
        if (i % 8 == 7) {
            const char high = kHex[sum >> 4];
            const char low = kHex[sum & 15];
            out[n++] = high;
            out[n++] = low;
            sum = static_cast<uint8_t>(sum + high + low);
        }
    }
    out[n] = '\0';
}

uint32_t ScrambleChecksum(const uint8_t *data, size_t n) noexcept {
    uint32_t sum = 0;
    size_t pos = 0;
    for (; pos + 4 <= n; pos += 4) {
        const uint32_t group = static_cast<uint32_t>(data[pos]) << 24 |
                               static_cast<uint32_t>(data[pos + 1]) << 16 |
                               static_cast<uint32_t>(data[pos + 2]) << 8 | data[pos + 3];
        sum ^= group ^ static_cast<uint32_t>(pos);
    }
    for (; pos < n; ++pos) sum ^= data[pos] ^ static_cast<uint32_t>(pos);
    return sum;
}

void Scramble(const uint8_t *data, size_t n, uint8_t *out) noexcept {
    const auto *xorTable = reinterpret_cast<const uint8_t *>(kScramblerKey);
    const auto *addTable = xorTable + 128;
    const uint32_t seed = ScrambleChecksum(data, n);
    std::memcpy(out, data, n);
    PutLittle32(seed, out + n);
    const uint32_t a = seed % 128;
    const uint32_t b = seed % 127;
    for (size_t i = 0; i < n + 4; ++i) {
        const auto added = static_cast<uint8_t>(out[i] + addTable[(b + i) % 127]);
        out[i] = static_cast<uint8_t>(added ^ xorTable[(a + i) % 128]);
    }
    PutLittle32(seed, out + n + 4);
}

void MakeUniqueString(char *output, uint32_t size) noexcept {
    uint8_t guid[kGuidBytes];
    if (!NewGuid(guid)) return;
    char hex[33];
    GuidToHex(guid, hex);
    if (size < 41) {
        std::memcpy(output, hex, sizeof hex);
        return;
    }
    if (size < 46) {
        AddCheckDigits(hex, output);
        return;
    }
    char text[kWork];
    const size_t textLength = encode::BinaryToText(guid, kGuidBytes, text);
    uint8_t scrambled[kWork];
    Scramble(reinterpret_cast<const uint8_t *>(text), textLength, scrambled);
    char result[kWork];
    encode::BinaryToText(scrambled, textLength + 8, result);
    std::memset(output, 0, size);
    CopyBounded(output, size, result);
}

}  // namespace cmnw::unique

extern "C" int32_t UTLGetUniqueString(char *output, uint32_t size) noexcept {
    if (output == nullptr || size < 33) return 0;
    cmnw::unique::MakeUniqueString(output, size);
    return 0;
}
