// AVX2 Base64 blocks: 6-bit indices are split out with multiplies and turned
// into characters (or back) with nibble-indexed byte shuffles.
#include "encode/base64_simd.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace cmnw::encode {

#if defined(__x86_64__)

bool HaveBase64Avx2() noexcept {
    static const bool have = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return have;
}

__attribute__((target("avx2"))) size_t EncodeBase64Avx2(const unsigned char *in, size_t n,
                                                        unsigned char *out) noexcept {
    const __m256i spread = _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10, 1,
                                            0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
    const __m256i offsets = _mm256_setr_epi8(
        'a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
        '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0, 'a' - 26, '0' - 52, '0' - 52, '0' - 52,
        '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63,
        'A', 0, 0);
    size_t i = 0;
    for (; i + 28 <= n; i += 24, out += 32) {
        __m256i v = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i))),
            _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i + 12)), 1);
        // Each 32-bit lane now holds bytes b1 b0 b2 b1 of one 3-byte group.
        v = _mm256_shuffle_epi8(v, spread);
        const __m256i t0 = _mm256_and_si256(v, _mm256_set1_epi32(0x0fc0fc00));
        const __m256i t1 = _mm256_mulhi_epu16(t0, _mm256_set1_epi32(0x04000040));
        const __m256i t2 = _mm256_and_si256(v, _mm256_set1_epi32(0x003f03f0));
        const __m256i t3 = _mm256_mullo_epi16(t2, _mm256_set1_epi32(0x01000010));
        const __m256i index = _mm256_or_si256(t1, t3);
        // Range of each index: 0..25 -> 13, 26..51 -> 0, 52..61 -> 1..10, 62 -> 11, 63 -> 12.
        __m256i range = _mm256_subs_epu8(index, _mm256_set1_epi8(51));
        const __m256i upper = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), index);
        range = _mm256_or_si256(range, _mm256_and_si256(upper, _mm256_set1_epi8(13)));
        const __m256i chars = _mm256_add_epi8(_mm256_shuffle_epi8(offsets, range), index);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), chars);
    }
    return i;
}

__attribute__((target("avx2"))) size_t DecodeBase64Avx2(const unsigned char *in, size_t n,
                                                        unsigned char *out) noexcept {
    // A byte is a data character unless the class bits of its low and high
    // nibbles overlap.
    const __m256i lowClass = _mm256_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                              0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A, 0x15, 0x11,
                                              0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x13,
                                              0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
    const __m256i highClass = _mm256_setr_epi8(
        0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
        0x10, 0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
        0x10, 0x10);
    const __m256i shift = _mm256_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0,
                                           0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i mask2F = _mm256_set1_epi8(0x2F);
    const __m256i pack = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,
                                          2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    size_t i = 0;
    for (; i + 32 <= n; i += 32, out += 24) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in + i));
        const __m256i hiNibbles = _mm256_and_si256(_mm256_srli_epi32(v, 4), mask2F);
        const __m256i loNibbles = _mm256_and_si256(v, mask2F);
        const __m256i bad = _mm256_and_si256(_mm256_shuffle_epi8(lowClass, loNibbles),
                                             _mm256_shuffle_epi8(highClass, hiNibbles));
        if (!_mm256_testz_si256(bad, bad)) break;
        const __m256i isSlash = _mm256_cmpeq_epi8(v, mask2F);
        v = _mm256_add_epi8(v, _mm256_shuffle_epi8(shift, _mm256_add_epi8(isSlash, hiNibbles)));
        // Four 6-bit values per lane -> one 24-bit value, then bytes in order.
        const __m256i pairs = _mm256_maddubs_epi16(v, _mm256_set1_epi32(0x01400140));
        const __m256i words = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
        const __m256i bytes =
            _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(words, pack), lanes);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + 16),
                         _mm256_extracti128_si256(bytes, 1));
    }
    return i;
}

#else

bool HaveBase64Avx2() noexcept { return false; }
size_t EncodeBase64Avx2(const unsigned char *, size_t, unsigned char *) noexcept { return 0; }
size_t DecodeBase64Avx2(const unsigned char *, size_t, unsigned char *) noexcept { return 0; }

#endif

}  // namespace cmnw::encode
