// UTF-8 to UTF-16: the lenient decoder with a 16-byte ASCII fast path.
#include <cstring>

#include "chars/unicode_tables.h"
#include "chars/utf.h"
#include "cmnw32/unicode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cmnw::chars {
namespace {

// Widens runs of ASCII 16 bytes at a time while both buffers have room.
void WidenAsciiBlocks(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                      uint16_t *dstEnd) noexcept {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    while (srcEnd - src >= 16 && dstEnd - dst >= 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
        if (_mm_movemask_epi8(bytes) != 0) break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + 8), _mm_unpackhi_epi8(bytes, zero));
        src += 16;
        dst += 16;
    }
#else
    while (srcEnd - src >= 8 && dstEnd - dst >= 8) {
        uint64_t word;
        std::memcpy(&word, src, 8);
        if ((word & 0x8080808080808080ULL) != 0) break;
        for (int i = 0; i < 8; ++i) dst[i] = src[i];
        src += 8;
        dst += 8;
    }
#endif
}

// Decodes characters one by one up to and including the next ASCII byte.
// Returns false when the next character's units do not fit.
bool DecodeCharacters(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                      uint16_t *dstEnd) noexcept {
    while (src < srcEnd && dst < dstEnd) {
        unsigned lead = src[0];
        if (lead < 0x80) {
            *dst++ = static_cast<uint16_t>(lead);
            ++src;
            return true;
        }
        ptrdiff_t length = kUtf8SequenceLength[lead];
        if (length > srcEnd - src) length = 1;  // cut short by the end: pass through
        if (length == 2) {
            *dst++ = static_cast<uint16_t>((lead & 0x1F) << 6 | (src[1] & 0x3F));
        } else if (length == 3) {
            *dst++ = static_cast<uint16_t>((lead & 0x0F) << 12 | (src[1] & 0x3F) << 6 |
                                           (src[2] & 0x3F));
        } else if (length == 4) {
            if (dstEnd - dst < 2) return false;
            uint32_t value = ((lead & 0x07) << 18 | (src[1] & 0x3F) << 12 | (src[2] & 0x3F) << 6 |
                              (src[3] & 0x3F)) -
                             0x10000;
            dst[0] = static_cast<uint16_t>(0xD800 | (value >> 10));
            dst[1] = static_cast<uint16_t>(0xDC00 | (value & 0x3FF));
            dst += 2;
        } else {
            *dst++ = static_cast<uint16_t>(lead);
        }
        src += length;
    }
    return true;
}

}  // namespace

void DecodeUtf8(const uint8_t *&srcRef, const uint8_t *srcEnd, uint16_t *&dstRef,
                uint16_t *dstEnd) noexcept {
    const uint8_t *src = srcRef;
    uint16_t *dst = dstRef;
    while (src < srcEnd && dst < dstEnd) {
        WidenAsciiBlocks(src, srcEnd, dst, dstEnd);
        if (!DecodeCharacters(src, srcEnd, dst, dstEnd)) break;
    }
    srcRef = src;
    dstRef = dst;
}

uint32_t DecodeFirstChar(const uint8_t *p, const uint8_t *end) noexcept {
    uint16_t units[2] = {0xFFFF, 0xFFFF};
    uint16_t *dst = units;
    DecodeUtf8(p, end, dst, units + 2);
    return uint32_t{units[0]} | uint32_t{units[1]} << 16;
}

}  // namespace cmnw::chars

extern "C" int32_t Utf8CharLen(const char *p) noexcept {
    if (p == nullptr) return 0;
    return cmnw::chars::kUtf8SequenceLength[static_cast<unsigned char>(*p)];
}

extern "C" void Utf8ToUtf16(const char **src, const char *srcEnd, uint16_t **dst,
                            uint16_t *dstEnd) noexcept {
    if (src == nullptr || *src == nullptr || srcEnd == nullptr || dst == nullptr ||
        *dst == nullptr || dstEnd == nullptr) {
        return;
    }
    auto *from = reinterpret_cast<const uint8_t *>(*src);
    cmnw::chars::DecodeUtf8(from, reinterpret_cast<const uint8_t *>(srcEnd), *dst, dstEnd);
    *src = reinterpret_cast<const char *>(from);
}

extern "C" int32_t Utf8ToUtf16Char(const char *p) noexcept {
    if (p == nullptr) return -1;
    // Up to four bytes, but none after a NUL; the NUL itself decodes as 0.
    size_t length = 1;
    while (length < 4 && p[length - 1] != '\0') ++length;
    auto *bytes = reinterpret_cast<const uint8_t *>(p);
    return static_cast<int32_t>(cmnw::chars::DecodeFirstChar(bytes, bytes + length));
}
