// UTF-16 to UTF-8, one code unit at a time: the portable encoder, with an
// 8-unit ASCII fast path, and the choice of the vector path.
#include "chars/utf.h"
#include "cmnw32/unicode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cmnw::chars {
namespace {

// Narrows 8 ASCII units when the next 8 are all ASCII and the destination
// keeps a byte free after them; returns whether it did.
inline bool NarrowAsciiBlock(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                             uint8_t *dstEnd) noexcept {
#if defined(__SSE2__)
    if (srcEnd - src < 8 || dstEnd - dst <= 8) return false;
    __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(units, nonAscii), _mm_setzero_si128());
    if (_mm_movemask_epi8(ascii) != 0xFFFF) return false;
    _mm_storel_epi64(reinterpret_cast<__m128i *>(dst), _mm_packus_epi16(units, units));
    src += 8;
    dst += 8;
    return true;
#else
    (void)src, (void)srcEnd, (void)dst, (void)dstEnd;
    return false;
#endif
}

// Encodes one unit that is known to fit.
inline void EncodeUnit(unsigned u, uint8_t *&dst) noexcept {
    if (u < 0x80) {
        *dst++ = static_cast<uint8_t>(u);
    } else if (u < 0x800) {
        dst[0] = static_cast<uint8_t>(0xC0 | u >> 6);
        dst[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        dst += 2;
    } else {
        dst[0] = static_cast<uint8_t>(0xE0 | u >> 12);
        dst[1] = static_cast<uint8_t>(0x80 | (u >> 6 & 0x3F));
        dst[2] = static_cast<uint8_t>(0x80 | (u & 0x3F));
        dst += 3;
    }
}

inline size_t EncodedLength(unsigned u) noexcept {
    return u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
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

void EncodeUtf16(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                 uint8_t *dstEnd) noexcept {
    if (srcEnd - src >= 16 && HaveUtfAvx512()) {
        EncodeUtf16Avx512(src, srcEnd, dst, dstEnd);
    } else {
        EncodeUtf16Portable(src, srcEnd, dst, dstEnd);
    }
}

void EncodeUtf16Portable(const uint16_t *&srcRef, const uint16_t *srcEnd, uint8_t *&dstRef,
                         uint8_t *dstEnd) noexcept {
    const uint16_t *src = srcRef;
    uint8_t *dst = dstRef;
    // While the room left exceeds three bytes per unit, every unit fits with
    // a byte to spare, so the room is checked once per stretch.
    for (;;) {
        ptrdiff_t sure = (dstEnd - dst - 1) / 3;
        if (sure > srcEnd - src) sure = srcEnd - src;
        if (sure < 16) break;
        const uint16_t *stop = src + sure;
        while (src < stop) {
            unsigned u = *src;
            if (u < 0x80) {
                if (stop - src < 8 || src[1] >= 0x80 ||
                    !NarrowAsciiBlock(src, srcEnd, dst, dstEnd)) {
                    *dst++ = static_cast<uint8_t>(u);
                    ++src;
                }
            } else if (u < 0x800) {
                dst[0] = static_cast<uint8_t>(0xC0 | u >> 6);
                dst[1] = static_cast<uint8_t>(0x80 | (u & 0x3F));
                dst += 2;
                ++src;
            } else {
                EncodeUnit(u, dst);
                ++src;
            }
        }
    }
    while (src < srcEnd) {
        unsigned u = *src;
        if (dstEnd - dst <= static_cast<ptrdiff_t>(EncodedLength(u))) break;  // keep one byte free
        EncodeUnit(u, dst);
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
