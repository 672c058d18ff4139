// AVX-512 UTF transforms. The decoder turns 64-byte windows of well-formed
// one- to three-byte sequences into UTF-16 at once: lead bytes are found by
// class masks, their positions compressed into an index vector, and the
// bytes of each character gathered with byte permutes. Anything the lenient
// decoder reads differently from strict UTF-8, and every four-byte
// character, is left to the portable decoder one stretch at a time, so the
// two always agree unit for unit and stop at the same place. The encoder
// builds the one to three bytes of each unit in a 32-bit lane and packs the
// lanes with a byte compress.
#include "chars/utf.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12 takes the deliberately undefined vectors inside its own AVX-512
// intrinsics for uninitialised ones once they are inlined here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace cmnw::chars {

#if defined(__x86_64__)

#define CMNW_AVX512 \
    __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))

bool HaveUtfAvx512() noexcept {
    static const bool have = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
               __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
    }();
    return have;
}

namespace {

enum class Window { kDecoded, kFourByte, kIrregular, kNoRoom };

// Byte i of the result is the byte of v at position at[i] + shift, modulo 64.
CMNW_AVX512 inline __m512i Shifted(__m512i at, int shift, __m512i v) {
    return _mm512_permutexvar_epi8(_mm512_add_epi8(at, _mm512_set1_epi8(static_cast<char>(shift))),
                                   v);
}

// Units of up to 32 characters of v that start at the byte positions in at;
// two and three mark the characters of those lengths.
CMNW_AVX512 inline __m512i UnitsOf(__m512i v, __m256i at, __mmask32 two, __mmask32 three) {
    const __m512i first = _mm512_cvtepu8_epi16(at);
    const __m512i one = _mm512_set1_epi16(1);
    // Each word gathers a character's first byte (low half) and second byte
    // (high half), then its third byte.
    const __m512i pair = _mm512_permutexvar_epi8(
        _mm512_or_si512(first, _mm512_slli_epi16(_mm512_add_epi16(first, one), 8)), v);
    const __m512i third =
        _mm512_permutexvar_epi8(_mm512_add_epi16(first, _mm512_add_epi16(one, one)), v);
    const __m512i six = _mm512_set1_epi16(0x3F);
    const __m512i lead = _mm512_and_si512(pair, _mm512_set1_epi16(0xFF));
    const __m512i low1 = _mm512_and_si512(_mm512_srli_epi16(pair, 8), six);
    const __m512i low2 = _mm512_and_si512(third, six);
    const __m512i u2 = _mm512_or_si512(
        _mm512_slli_epi16(_mm512_and_si512(pair, _mm512_set1_epi16(0x1F)), 6), low1);
    // The 16-bit shift keeps the lead's low four bits only.
    const __m512i u3 = _mm512_or_si512(_mm512_slli_epi16(pair, 12),
                                       _mm512_or_si512(_mm512_slli_epi16(low1, 6), low2));
    return _mm512_mask_mov_epi16(_mm512_mask_mov_epi16(lead, two, u2), three, u3);
}

// Decodes the characters of the window at src when that gives what the
// portable decoder gives: all of them one to three bytes long, well formed,
// inside the source and with room for their units.
CMNW_AVX512 Window DecodeWindow(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                                uint16_t *dstEnd) {
    while (srcEnd - src >= 64 && dstEnd - dst >= 64) {  // runs of ASCII
        const __m512i v = _mm512_loadu_si512(src);
        if (_mm512_movepi8_mask(v) != 0) break;
        _mm512_storeu_si512(dst, _mm512_cvtepu8_epi16(_mm512_castsi512_si256(v)));
        _mm512_storeu_si512(dst + 32, _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(v, 1)));
        src += 64;
        dst += 64;
    }
    const size_t rest = static_cast<size_t>(srcEnd - src);
    if (rest == 0) return Window::kDecoded;
    const size_t room = static_cast<size_t>(dstEnd - dst);
    // Bytes past the source end are never read; they load as zeros.
    const __mmask64 readable = rest >= 64 ? ~0ULL : (1ULL << rest) - 1;
    const __m512i v = _mm512_maskz_loadu_epi8(readable, src);
    const __mmask64 high = _mm512_movepi8_mask(v);
    if (high == 0) {
        const size_t n = rest >= 64 ? 64 : rest;
        if (room < n) return Window::kNoRoom;
        const __mmask64 units = n == 64 ? ~0ULL : (1ULL << n) - 1;
        _mm512_mask_storeu_epi16(dst, static_cast<__mmask32>(units),
                                 _mm512_cvtepu8_epi16(_mm512_castsi512_si256(v)));
        _mm512_mask_storeu_epi16(dst + 32, static_cast<__mmask32>(units >> 32),
                                 _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(v, 1)));
        src += n;
        dst += n;
        return Window::kDecoded;
    }
    // Continuation bytes 80-BF are the signed bytes below -64.
    const __mmask64 cont = _mm512_cmplt_epi8_mask(v, _mm512_set1_epi8(-64));
    const __mmask64 two = _mm512_cmpge_epu8_mask(v, _mm512_set1_epi8(static_cast<char>(0xC0)));
    const __mmask64 three = _mm512_cmpge_epu8_mask(v, _mm512_set1_epi8(static_cast<char>(0xE0)));
    const __mmask64 four = _mm512_cmpge_epu8_mask(v, _mm512_set1_epi8(static_cast<char>(0xF0)));

    // The window ends at its last lead byte (the zero at the source end, if
    // that is inside), or before its first four-byte lead.
    uint64_t leads = ~cont;
    if (rest < 64) leads &= (2ULL << rest) - 1;
    const uint64_t later = leads & ~1ULL;
    if (later == 0) return Window::kIrregular;
    unsigned end = 63 - static_cast<unsigned>(__builtin_clzll(later));
    const uint64_t fourBefore = four & ((1ULL << end) - 1);
    if (fourBefore != 0) {
        end = static_cast<unsigned>(__builtin_ctzll(fourBefore));
        if (end == 0) return Window::kFourByte;
    }
    const uint64_t before = (1ULL << end) - 1;

    // Each lead must be followed by exactly its continuation bytes, up to and
    // including the position of the lead that ends the window.
    const uint64_t expected = (two << 1) | (three << 2);
    if (((expected ^ cont) & ((2ULL << end) - 1)) != 0) return Window::kIrregular;

    // Overlong forms (C0, C1, E0 80-9F) and surrogates (ED A0-BF).
    const __m512i iota = _mm512_set_epi8(
        63, 62, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 48, 47, 46, 45, 44, 43, 42, 41,
        40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18,
        17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m512i next = Shifted(iota, 1, v);
    const __m512i a0 = _mm512_set1_epi8(static_cast<char>(0xA0));
    __mmask64 bad =
        _mm512_cmpeq_epi8_mask(_mm512_and_si512(v, _mm512_set1_epi8(static_cast<char>(0xFE))),
                               _mm512_set1_epi8(static_cast<char>(0xC0)));
    bad |= _mm512_mask_cmplt_epu8_mask(
        _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(static_cast<char>(0xE0))), next, a0);
    bad |= _mm512_mask_cmpge_epu8_mask(
        _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(static_cast<char>(0xED))), next, a0);
    if ((bad & before) != 0) return Window::kIrregular;

    const uint64_t starts = leads & before;
    const unsigned n = static_cast<unsigned>(__builtin_popcountll(starts));
    if (room < n) return Window::kNoRoom;
    const __m512i at = _mm512_maskz_compress_epi8(starts, iota);
    const __m512i b0 = _mm512_permutexvar_epi8(at, v);
    const __mmask64 charTwo = _mm512_cmpge_epu8_mask(b0, _mm512_set1_epi8(static_cast<char>(0xC0)));
    const __mmask64 charThree =
        _mm512_cmpge_epu8_mask(b0, _mm512_set1_epi8(static_cast<char>(0xE0)));
    const uint64_t stored = n == 64 ? ~0ULL : (1ULL << n) - 1;
    _mm512_mask_storeu_epi16(dst, static_cast<__mmask32>(stored),
                             UnitsOf(v, _mm512_castsi512_si256(at), static_cast<__mmask32>(charTwo),
                                     static_cast<__mmask32>(charThree)));
    if (n > 32) {
        _mm512_mask_storeu_epi16(
            dst + 32, static_cast<__mmask32>(stored >> 32),
            UnitsOf(v, _mm512_extracti64x4_epi64(at, 1), static_cast<__mmask32>(charTwo >> 32),
                    static_cast<__mmask32>(charThree >> 32)));
    }
    src += end;
    dst += n;
    return Window::kDecoded;
}

// Encodes up to 16 units (valid marks them) held in 32-bit lanes; returns
// the number of bytes written.
CMNW_AVX512 inline unsigned EncodeLanes(__m512i u, __mmask16 valid, __mmask16 two, __mmask16 three,
                                        uint8_t *dst) {
    const __m512i low = _mm512_and_si512(u, _mm512_set1_epi32(0x3F));
    const __m512i mid = _mm512_and_si512(_mm512_srli_epi32(u, 6), _mm512_set1_epi32(0x3F));
    const __m512i t2 =
        _mm512_or_si512(_mm512_or_si512(_mm512_srli_epi32(u, 6), _mm512_slli_epi32(low, 8)),
                        _mm512_set1_epi32(0x80C0));
    const __m512i t3 =
        _mm512_or_si512(_mm512_or_si512(_mm512_srli_epi32(u, 12), _mm512_slli_epi32(mid, 8)),
                        _mm512_or_si512(_mm512_slli_epi32(low, 16), _mm512_set1_epi32(0x8080E0)));
    const __m512i lanes = _mm512_mask_mov_epi32(_mm512_mask_mov_epi32(u, two, t2), three, t3);
    const uint64_t bytes = _pdep_u64(valid, 0x1111111111111111ULL) |
                           _pdep_u64(two, 0x2222222222222222ULL) |
                           _pdep_u64(three, 0x4444444444444444ULL);
    const unsigned n = static_cast<unsigned>(__builtin_popcountll(bytes));
    _mm512_mask_storeu_epi8(dst, (1ULL << n) - 1, _mm512_maskz_compress_epi8(bytes, lanes));
    return n;
}

}  // namespace

CMNW_AVX512 void DecodeUtf8Avx512(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                                  uint16_t *dstEnd) noexcept {
    while (src < srcEnd && dst < dstEnd) {
        const uint8_t *limit;
        switch (DecodeWindow(src, srcEnd, dst, dstEnd)) {
            case Window::kDecoded:
                continue;
            case Window::kFourByte:
                limit = src + 1;  // one character
                break;
            case Window::kIrregular:
                limit = srcEnd - src > 64 ? src + 64 : srcEnd;
                break;
            case Window::kNoRoom:
            default:
                limit = srcEnd;
                break;
        }
        const uint8_t *before = src;
        DecodeUtf8Portable(src, srcEnd, dst, dstEnd, limit);
        if (src == before) break;  // a surrogate pair with one unit of room
    }
}

CMNW_AVX512 void EncodeUtf16Avx512(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                                   uint8_t *dstEnd) noexcept {
    while (src < srcEnd) {
        const size_t rest = static_cast<size_t>(srcEnd - src);
        const size_t room = static_cast<size_t>(dstEnd - dst);
        const unsigned n = rest >= 32 ? 32 : static_cast<unsigned>(rest);
        const __mmask32 valid = n == 32 ? ~0U : (1U << n) - 1;
        const __m512i u = _mm512_maskz_loadu_epi16(valid, src);
        const __mmask32 two = _mm512_cmpge_epu16_mask(u, _mm512_set1_epi16(0x80));
        const __mmask32 three = _mm512_cmpge_epu16_mask(u, _mm512_set1_epi16(0x800));
        // One byte stays free after the last unit.
        const size_t total = n + static_cast<size_t>(__builtin_popcount(two)) +
                             static_cast<size_t>(__builtin_popcount(three));
        if (room <= total) break;
        if (two == 0) {
            _mm256_mask_storeu_epi8(dst, valid, _mm512_cvtepi16_epi8(u));
        } else {
            uint8_t *out = dst;
            out += EncodeLanes(_mm512_cvtepu16_epi32(_mm512_castsi512_si256(u)),
                               static_cast<__mmask16>(valid), static_cast<__mmask16>(two),
                               static_cast<__mmask16>(three), out);
            if (n > 16) {
                EncodeLanes(_mm512_cvtepu16_epi32(_mm512_extracti64x4_epi64(u, 1)),
                            static_cast<__mmask16>(valid >> 16), static_cast<__mmask16>(two >> 16),
                            static_cast<__mmask16>(three >> 16), out);
            }
        }
        src += n;
        dst += total;
    }
    EncodeUtf16Portable(src, srcEnd, dst, dstEnd);
}

#else

bool HaveUtfAvx512() noexcept {
    return false;
}

void DecodeUtf8Avx512(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                      uint16_t *dstEnd) noexcept {
    DecodeUtf8Portable(src, srcEnd, dst, dstEnd, srcEnd);
}

void EncodeUtf16Avx512(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                       uint8_t *dstEnd) noexcept {
    EncodeUtf16Portable(src, srcEnd, dst, dstEnd);
}

#endif

}  // namespace cmnw::chars
