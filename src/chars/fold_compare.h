// Case-insensitive comparison of NUL-terminated byte strings under the
// built-in class table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "chars/ctype_tables.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace cmnw::chars {

// CompareFoldedBuiltIn without the inline head: the widest block compare
// this processor has, picked on the first call.
int32_t CompareFoldedBuiltInWide(const unsigned char *a, const unsigned char *b) noexcept;

#if defined(__x86_64__)
// The pairs among the first 16 that need the table: those not equal once A-Z
// are folded, and a NUL in the first string. Bytes from 0x80 fold alike only
// when equal here, so a different pair of them is marked for the table.
__attribute__((no_sanitize("address"))) inline uint32_t AsciiHeadMask(
    const unsigned char *a, const unsigned char *b) noexcept {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b));
    // 'A'-'Z' move to the 26 lowest signed bytes.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
    const __m128i top = _mm_set1_epi8(static_cast<char>(0x80 + 26));
    const __m128i bit5 = _mm_set1_epi8(0x20);
    const __m128i fa =
        _mm_or_si128(va, _mm_and_si128(_mm_cmplt_epi8(_mm_add_epi8(va, shift), top), bit5));
    const __m128i fb =
        _mm_or_si128(vb, _mm_and_si128(_mm_cmplt_epi8(_mm_add_epi8(vb, shift), top), bit5));
    const __m128i ok = _mm_andnot_si128(_mm_cmpeq_epi8(va, _mm_setzero_si128()),
                                        _mm_cmpeq_epi8(fa, fb));
    return static_cast<uint32_t>(_mm_movemask_epi8(ok)) ^ 0xFFFFu;
}
#endif

// The difference of the lower-case entries of the first pair that differs
// after folding, or 0 when both strings end together; what the byte-by-byte
// walk returns while the built-in table is in force. The first 16 bytes are
// checked inline when neither load can reach the next page.
inline int32_t CompareFoldedBuiltIn(const unsigned char *a, const unsigned char *b) noexcept {
#if defined(__x86_64__)
    constexpr uintptr_t kLastHead = 4096 - 16;
    if ((reinterpret_cast<uintptr_t>(a) & 4095) <= kLastHead &&
        (reinterpret_cast<uintptr_t>(b) & 4095) <= kLastHead) {
        const uint32_t mask = AsciiHeadMask(a, b);
        if (mask == 0) return CompareFoldedBuiltInWide(a + 16, b + 16);
        const unsigned i = static_cast<unsigned>(__builtin_ctz(mask));
        if (a[i] == b[i]) return 0;  // a marked equal pair is the terminator
        const uint16_t *lower = kDefaultCTypeTable.data() + kLowerBlock;
        const int32_t x = lower[a[i]];
        const int32_t y = lower[b[i]];
        if (x != y || x == 0) return x - y;
        return CompareFoldedBuiltInWide(a + i + 1, b + i + 1);
    }
#endif
    return CompareFoldedBuiltInWide(a, b);
}

// The widest block this processor compares at once: 64, 32 or 16 bytes, or 1
// where there is no block compare.
size_t WidestFoldBlock() noexcept;

// CompareFoldedBuiltIn with blocks of width bytes (1, 16, 32 or 64), which
// must not exceed WidestFoldBlock().
int32_t CompareFoldedBuiltInBy(size_t width, const unsigned char *a,
                               const unsigned char *b) noexcept;

}  // namespace cmnw::chars
