// Case-insensitive comparison under the built-in class table, many bytes at a
// time.
//
// Under the built-in table two different bytes fold to the same lower-case
// entry only as a letter pair that differs in bit 0x20 (A-Z, 0xC0-0xDE but
// 0xD7, and their lower-case forms) or as one of 0x8A/0x9A, 0x8C/0x9C,
// 0x9F/0xFF. A block is passed over when every byte pair is equal or such a
// 0x20 letter pair and no byte of the first string is NUL; anything else is
// settled byte by byte through the table, so the result is always the
// difference of the lower-case entries of the deciding pair.
//
// Loads are unaligned but never cross into the page after the one holding the
// next unread byte, so a string that ends just before an unmapped page is
// safe. Such a load reads bytes after the terminator, which the address
// sanitizer would report; the bytes read there never decide the result.
#include "chars/fold_compare.h"

#include <cstddef>
#include <cstdint>

#include "chars/ctype_tables.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace cmnw::chars {
namespace {

constexpr uintptr_t kPageSize = 4096;  // the smallest page of the targets

// Settles the pair at a and b through the lower-case block: true with the
// result when it decides, false when both fold alike and neither is NUL.
inline bool SettlePair(const unsigned char *a, const unsigned char *b, int32_t &result) noexcept {
    const uint16_t *lower = kDefaultCTypeTable.data() + kLowerBlock;
    int32_t x = lower[*a];
    int32_t y = lower[*b];
    if (x != y || x == 0) {
        result = x - y;
        return true;
    }
    return false;
}

template <size_t kWidth>
inline bool NearPageEnd(const unsigned char *p) noexcept {
    return (reinterpret_cast<uintptr_t>(p) & (kPageSize - 1)) > kPageSize - kWidth;
}

#if defined(__x86_64__)

// Mask of the byte pairs that need the table: not equal and not a 0x20 letter
// pair, or NUL in the first string.
__attribute__((no_sanitize("address"))) inline uint32_t NeedsTable16(
    const unsigned char *a, const unsigned char *b) noexcept {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b));
    const __m128i bit5 = _mm_set1_epi8(0x20);
    const __m128i la = _mm_or_si128(va, bit5);
    const __m128i sameFold = _mm_cmpeq_epi8(la, _mm_or_si128(vb, bit5));
    // la in 0x61-0x7A, or in 0xE0-0xFE but not 0xF7.
    const __m128i ascii = _mm_cmplt_epi8(_mm_add_epi8(la, _mm_set1_epi8(0x1F)),
                                         _mm_set1_epi8(static_cast<char>(0x80 + 26)));
    const __m128i latin =
        _mm_andnot_si128(_mm_cmpeq_epi8(la, _mm_set1_epi8(static_cast<char>(0xF7))),
                         _mm_cmplt_epi8(_mm_add_epi8(la, _mm_set1_epi8(static_cast<char>(0xA0))),
                                        _mm_set1_epi8(static_cast<char>(0x80 + 31))));
    const __m128i letter = _mm_or_si128(ascii, latin);
    const __m128i ok = _mm_or_si128(_mm_cmpeq_epi8(va, vb), _mm_and_si128(sameFold, letter));
    const __m128i nul = _mm_cmpeq_epi8(va, _mm_setzero_si128());
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(ok, _mm_set1_epi8(-1)))) |
           static_cast<unsigned>(_mm_movemask_epi8(nul));
}

__attribute__((target("avx2"), no_sanitize("address"))) inline uint32_t NeedsTable32(
    const unsigned char *a, const unsigned char *b) noexcept {
    const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(a));
    const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(b));
    const __m256i bit5 = _mm256_set1_epi8(0x20);
    const __m256i la = _mm256_or_si256(va, bit5);
    const __m256i sameFold = _mm256_cmpeq_epi8(la, _mm256_or_si256(vb, bit5));
    const __m256i ascii = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(0x80 + 26)),
                                            _mm256_add_epi8(la, _mm256_set1_epi8(0x1F)));
    const __m256i latin = _mm256_andnot_si256(
        _mm256_cmpeq_epi8(la, _mm256_set1_epi8(static_cast<char>(0xF7))),
        _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(0x80 + 31)),
                          _mm256_add_epi8(la, _mm256_set1_epi8(static_cast<char>(0xA0)))));
    const __m256i letter = _mm256_or_si256(ascii, latin);
    const __m256i ok =
        _mm256_or_si256(_mm256_cmpeq_epi8(va, vb), _mm256_and_si256(sameFold, letter));
    const __m256i bad = _mm256_or_si256(_mm256_xor_si256(ok, _mm256_set1_epi8(-1)),
                                        _mm256_cmpeq_epi8(va, _mm256_setzero_si256()));
    return static_cast<uint32_t>(_mm256_movemask_epi8(bad));
}

using BlockCheck = uint32_t (*)(const unsigned char *, const unsigned char *) noexcept;

template <size_t kWidth, BlockCheck kNeedsTable>
[[gnu::always_inline]] inline int32_t CompareBlocks(const unsigned char *a,
                                                    const unsigned char *b) noexcept {
    int32_t result = 0;
    for (;;) {
        if (NearPageEnd<kWidth>(a) || NearPageEnd<kWidth>(b)) {
            if (SettlePair(a, b, result)) return result;
            ++a, ++b;
            continue;
        }
        uint32_t mask = kNeedsTable(a, b);
        if (mask == 0) {
            a += kWidth, b += kWidth;
            continue;
        }
        unsigned i = static_cast<unsigned>(__builtin_ctz(mask));
        if (SettlePair(a + i, b + i, result)) return result;
        a += i + 1, b += i + 1;
    }
}

__attribute__((target("avx2"))) int32_t CompareAvx2(const unsigned char *a,
                                                    const unsigned char *b) noexcept {
    return CompareBlocks<32, NeedsTable32>(a, b);
}

int32_t CompareSse2(const unsigned char *a, const unsigned char *b) noexcept {
    return CompareBlocks<16, NeedsTable16>(a, b);
}

#endif

}  // namespace

int32_t CompareFoldedBuiltIn(const unsigned char *a, const unsigned char *b) noexcept {
#if defined(__x86_64__)
    static const bool hasAvx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return hasAvx2 ? CompareAvx2(a, b) : CompareSse2(a, b);
#else
    int32_t result = 0;
    while (!SettlePair(a, b, result)) ++a, ++b;
    return result;
#endif
}

}  // namespace cmnw::chars
