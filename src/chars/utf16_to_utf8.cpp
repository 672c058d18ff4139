// UTF-16 to UTF-8, one code unit at a time, with an 8-unit ASCII fast path.
#include "chars/utf.h"
#include "cmnw32/unicode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cmnw::chars {
namespace {

// Narrows runs of ASCII units 8 at a time while the destination keeps at
// least one byte free after them.
void NarrowAsciiBlocks(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                       uint8_t *dstEnd) noexcept {
#if defined(__SSE2__)
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (srcEnd - src >= 8 && dstEnd - dst > 8) {
        __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
        __m128i high = _mm_cmpeq_epi16(_mm_and_si128(units, nonAscii), zero);
        if (_mm_movemask_epi8(high) != 0xFFFF) break;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(dst), _mm_packus_epi16(units, units));
        src += 8;
        dst += 8;
    }
#else
    (void)src, (void)srcEnd, (void)dst, (void)dstEnd;
#endif
}

}  // namespace

size_t EncodeCodePoint(int32_t c, uint8_t *out) noexcept {
    if (c < 0 || c >= 0x110000) return 0;
    auto u = static_cast<uint32_t>(c);
    if (u < 0x80) {
        out[0] = static_cast<uint8_t>(u);
        return 1;
    }
    if (u < 0x800) {
        out[0] = static_cast<uint8_t>(0xC0 | u >> 6);
        out[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        return 2;
    }
    if (u < 0x10000) {
        out[0] = static_cast<uint8_t>(0xE0 | u >> 12);
        out[1] = static_cast<uint8_t>(0x80 | (u >> 6 & 0x3F));
        out[2] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        return 3;
    }
    out[0] = static_cast<uint8_t>(0xF0 | u >> 18);
    out[1] = static_cast<uint8_t>(0x80 | (u >> 12 & 0x3F));
    out[2] = static_cast<uint8_t>(0x80 | (u >> 6 & 0x3F));
    out[3] = static_cast<uint8_t>(0x80 | (u & 0x3F));
    return 4;
}

void EncodeUtf16(const uint16_t *&srcRef, const uint16_t *srcEnd, uint8_t *&dstRef,
                 uint8_t *dstEnd) noexcept {
    const uint16_t *src = srcRef;
    uint8_t *dst = dstRef;
    while (src < srcEnd && dst < dstEnd) {
        NarrowAsciiBlocks(src, srcEnd, dst, dstEnd);
        if (src == srcEnd) break;
        uint8_t bytes[4];
        size_t n = EncodeCodePoint(*src, bytes);
        if (static_cast<size_t>(dstEnd - dst) <= n) break;  // keep one byte free
        for (size_t i = 0; i < n; ++i) dst[i] = bytes[i];
        dst += n;
        ++src;
    }
    srcRef = src;
    dstRef = dst;
}

}  // namespace cmnw::chars

extern "C" int32_t Utf16CharToUtf8(int32_t c, char *out) noexcept {
    if (out == nullptr) return 0;
    return static_cast<int32_t>(cmnw::chars::EncodeCodePoint(c, reinterpret_cast<uint8_t *>(out)));
}

extern "C" void Utf16ToUtf8(const uint16_t **src, const uint16_t *srcEnd, char **dst,
                            char *dstEnd) noexcept {
    if (src == nullptr || *src == nullptr || srcEnd == nullptr || dst == nullptr ||
        *dst == nullptr || dstEnd == nullptr) {
        return;
    }
    auto *to = reinterpret_cast<uint8_t *>(*dst);
    cmnw::chars::EncodeUtf16(*src, srcEnd, to, reinterpret_cast<uint8_t *>(dstEnd));
    *dst = reinterpret_cast<char *>(to);
}
