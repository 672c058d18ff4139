// UTF-8 to UTF-16: the lenient decoder, portable with a 16-byte ASCII fast
// path, and the choice of the vector path.
#include <cstring>

#include "chars/unicode_tables.h"
#include "chars/utf.h"
#include "cmnw32/unicode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cmnw::chars {
namespace {

// Widens 16 ASCII bytes when the next 16 are all ASCII and both buffers have
// room for them; returns whether it did.
inline bool WidenAsciiBlock(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                            uint16_t *dstEnd) noexcept {
    if (srcEnd - src < 16 || dstEnd - dst < 16) return false;
#if defined(__SSE2__)
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src));
    if (_mm_movemask_epi8(bytes) != 0) return false;
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + 8), _mm_unpackhi_epi8(bytes, zero));
#else
    uint64_t words[2];
    std::memcpy(words, src, 16);
    if (((words[0] | words[1]) & 0x8080808080808080ULL) != 0) return false;
    for (int i = 0; i < 16; ++i) dst[i] = src[i];
#endif
    src += 16;
    dst += 16;
    return true;
}

// Decodes one sequence of the given length (1 to 4) whose bytes all lie
// before the source end, into one unit or a surrogate pair (room checked by
// the caller).
inline void DecodeSequence(const uint8_t *&src, ptrdiff_t length, uint16_t *&dst) noexcept {
    unsigned lead = src[0];
    if (length == 2) {
        *dst++ = static_cast<uint16_t>((lead & 0x1F) << 6 | (src[1] & 0x3F));
    } else if (length == 3) {
        *dst++ =
            static_cast<uint16_t>((lead & 0x0F) << 12 | (src[1] & 0x3F) << 6 | (src[2] & 0x3F));
    } else if (length == 4) {
        uint32_t value =
            ((lead & 0x07) << 18 | (src[1] & 0x3F) << 12 | (src[2] & 0x3F) << 6 | (src[3] & 0x3F)) -
            0x10000;
        dst[0] = static_cast<uint16_t>(0xD800 | (value >> 10));
        dst[1] = static_cast<uint16_t>(0xDC00 | (value & 0x3FF));
        dst += 2;
    } else {
        *dst++ = static_cast<uint16_t>(lead);
    }
    src += length;
}

}  // namespace

void DecodeUtf8Portable(const uint8_t *&srcRef, const uint8_t *srcEnd, uint16_t *&dstRef,
                        uint16_t *dstEnd, const uint8_t *limit) noexcept {
    const uint8_t *src = srcRef;
    uint16_t *dst = dstRef;
    // While four source bytes and two units of room remain, no character can
    // be cut short by either end.
    while (src < limit && srcEnd - src >= 4 && dstEnd - dst >= 2) {
        unsigned lead = src[0];
        if (lead < 0x80) {
            if (!WidenAsciiBlock(src, srcEnd, dst, dstEnd)) {
                *dst++ = static_cast<uint16_t>(lead);
                ++src;
            }
        } else if (lead >= 0xC0 && lead < 0xE0) {
            *dst++ = static_cast<uint16_t>((lead & 0x1F) << 6 | (src[1] & 0x3F));
            src += 2;
        } else {
            DecodeSequence(src, kUtf8SequenceLength[lead], dst);
        }
    }
    while (src < limit && dst < dstEnd) {
        ptrdiff_t length = kUtf8SequenceLength[src[0]];
        if (length > srcEnd - src) length = 1;       // cut short by the end: pass through
        if (length == 4 && dstEnd - dst < 2) break;  // the pair does not fit
        DecodeSequence(src, length, dst);
    }
    srcRef = src;
    dstRef = dst;
}

void DecodeUtf8(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                uint16_t *dstEnd) noexcept {
    if (srcEnd - src >= 32 && HaveUtfAvx512()) {
        DecodeUtf8Avx512(src, srcEnd, dst, dstEnd);
    } else {
        DecodeUtf8Portable(src, srcEnd, dst, dstEnd, srcEnd);
    }
}

uint32_t DecodeFirstChar(const uint8_t *p, const uint8_t *end) noexcept {
    uint16_t units[2] = {0xFFFF, 0xFFFF};
    uint16_t *dst = units;
    DecodeUtf8Portable(p, end, dst, units + 2, end);
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
