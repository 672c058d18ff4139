// Standard Base64: a padded encoder and a decoder that skips every byte that
// is not a data character.
#include <cstdint>
#include <cstring>

#include "cmnw32/encode.h"
#include "encode/base64_simd.h"
#include "encode/encode_tables.h"

namespace cmnw::encode {
namespace {

inline void PutPair(uint32_t v12, unsigned char *out) noexcept {
    const uint16_t pair = kBase64Pair[v12];
    out[0] = static_cast<unsigned char>(pair);
    out[1] = static_cast<unsigned char>(pair >> 8);
}

inline uint32_t Load24(const unsigned char *in) noexcept {
    return static_cast<uint32_t>(in[0]) << 16 | static_cast<uint32_t>(in[1]) << 8 | in[2];
}

inline void Store24(uint32_t v, unsigned char *out) noexcept {
    out[0] = static_cast<unsigned char>(v >> 16);
    out[1] = static_cast<unsigned char>(v >> 8);
    out[2] = static_cast<unsigned char>(v);
}

size_t EncodeBase64(const unsigned char *in, size_t n, unsigned char *out) noexcept {
    unsigned char *p = out;
    size_t i = 0;
    if (n >= 28 && HaveBase64Avx2()) {
        i = EncodeBase64Avx2(in, n, out);
        p += i / 3 * 4;
    }
    // Four groups per round; the 64-bit load reads only bytes inside the input.
    for (; i + 16 <= n; i += 12, p += 16) {
        uint64_t w;
        std::memcpy(&w, in + i, 8);
        w = __builtin_bswap64(w);
        const uint32_t a = static_cast<uint32_t>(w >> 40);
        const uint32_t b = static_cast<uint32_t>(w >> 16) & 0xFFFFFF;
        std::memcpy(&w, in + i + 6, 8);
        w = __builtin_bswap64(w);
        const uint32_t c = static_cast<uint32_t>(w >> 40);
        const uint32_t d = static_cast<uint32_t>(w >> 16) & 0xFFFFFF;
        PutPair(a >> 12, p);
        PutPair(a & 0xFFF, p + 2);
        PutPair(b >> 12, p + 4);
        PutPair(b & 0xFFF, p + 6);
        PutPair(c >> 12, p + 8);
        PutPair(c & 0xFFF, p + 10);
        PutPair(d >> 12, p + 12);
        PutPair(d & 0xFFF, p + 14);
    }
    for (; i + 3 <= n; i += 3, p += 4) {
        const uint32_t v = Load24(in + i);
        PutPair(v >> 12, p);
        PutPair(v & 0xFFF, p + 2);
    }
    const size_t rest = n - i;
    if (rest != 0) {
        uint32_t v = static_cast<uint32_t>(in[i]) << 16;
        if (rest == 2) v |= static_cast<uint32_t>(in[i + 1]) << 8;
        PutPair(v >> 12, p);
        p[2] = rest == 2 ? static_cast<unsigned char>(kBase64Alphabet[(v >> 6) & 63]) : '=';
        p[3] = '=';
        p += 4;
    }
    return static_cast<size_t>(p - out);
}

size_t DecodeBase64(const unsigned char *in, size_t n, unsigned char *out) noexcept {
    const auto &d0 = kBase64Decode[0];
    const auto &d1 = kBase64Decode[1];
    const auto &d2 = kBase64Decode[2];
    const auto &d3 = kBase64Decode[3];
    unsigned char *p = out;
    size_t i = 0;
    uint32_t acc = 0;  // pending bits, right-aligned
    int bits = 0;
    const bool avx2 = n >= 32 && HaveBase64Avx2();
    while (i < n) {
        if (bits == 0) {
            if (avx2 && n - i >= 32) {
                const size_t used = DecodeBase64Avx2(in + i, n - i, p);
                i += used;
                p += used / 4 * 3;
            }
            // Whole groups of data characters, the common case.
            while (i + 8 <= n) {
                const uint32_t v = d0[in[i]] | d1[in[i + 1]] | d2[in[i + 2]] | d3[in[i + 3]];
                const uint32_t w =
                    d0[in[i + 4]] | d1[in[i + 5]] | d2[in[i + 6]] | d3[in[i + 7]];
                if ((v | w) & kBase64Skip) break;
                Store24(v, p);
                Store24(w, p + 3);
                i += 8;
                p += 6;
            }
            if (i + 4 <= n) {
                const uint32_t v = d0[in[i]] | d1[in[i + 1]] | d2[in[i + 2]] | d3[in[i + 3]];
                if (!(v & kBase64Skip)) {
                    Store24(v, p);
                    i += 4;
                    p += 3;
                    continue;
                }
            }
            if (i >= n) break;
        }
        // One character at a time until the group is whole again.
        const uint32_t v = d3[in[i++]];
        if (v & kBase64Skip) continue;
        acc = (acc << 6) | v;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            *p++ = static_cast<unsigned char>(acc >> bits);
            acc &= (1u << bits) - 1;
        }
    }
    return static_cast<size_t>(p - out);
}

}  // namespace
}  // namespace cmnw::encode

extern "C" uint32_t UTLEncodeBase64(const void *data, uint32_t length, char *output) noexcept {
    if (data == nullptr || output == nullptr) return 0;
    return static_cast<uint32_t>(cmnw::encode::EncodeBase64(
        static_cast<const unsigned char *>(data), length, reinterpret_cast<unsigned char *>(output)));
}

extern "C" uint32_t UTLDecodeBase64(const char *text, uint32_t length, void *output) noexcept {
    if (text == nullptr || output == nullptr) return 0;
    return static_cast<uint32_t>(cmnw::encode::DecodeBase64(
        reinterpret_cast<const unsigned char *>(text), length, static_cast<unsigned char *>(output)));
}
