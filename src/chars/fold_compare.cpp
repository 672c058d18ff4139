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
// Loads are unaligned but never reach into the page after the one holding
// the next unread byte, so a string that ends just before an unmapped page is
// safe. Such a load reads bytes after the terminator, which the address
// sanitizer would report; the bytes read there never decide the result.
#include "chars/fold_compare.h"

#include <array>
#include <atomic>
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

#if defined(__x86_64__)

// Each block type compares kWidth bytes of both strings and returns the mask
// of the pairs that need the table: not folding alike, or NUL in the first
// string (a superset is fine; the table settles every marked pair).

// 16 and 32 bytes: equal, or a letter pair that differs in bit 0x20 only.
struct Sse2Blocks {
    static constexpr size_t kWidth = 16;
    __attribute__((no_sanitize("address"))) uint64_t Check(const unsigned char *a,
                                                           const unsigned char *b) const noexcept {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b));
        const __m128i bit5 = _mm_set1_epi8(0x20);
        const __m128i la = _mm_or_si128(va, bit5);
        const __m128i sameFold = _mm_cmpeq_epi8(la, _mm_or_si128(vb, bit5));
        // la in 0x61-0x7A, or in 0xE0-0xFE but not 0xF7.
        const __m128i ascii = _mm_cmplt_epi8(_mm_add_epi8(la, _mm_set1_epi8(0x1F)),
                                             _mm_set1_epi8(static_cast<char>(0x80 + 26)));
        const __m128i latin = _mm_andnot_si128(
            _mm_cmpeq_epi8(la, _mm_set1_epi8(static_cast<char>(0xF7))),
            _mm_cmplt_epi8(_mm_add_epi8(la, _mm_set1_epi8(static_cast<char>(0xA0))),
                           _mm_set1_epi8(static_cast<char>(0x80 + 31))));
        const __m128i letter = _mm_or_si128(ascii, latin);
        const __m128i ok = _mm_or_si128(_mm_cmpeq_epi8(va, vb), _mm_and_si128(sameFold, letter));
        const __m128i bad = _mm_or_si128(_mm_xor_si128(ok, _mm_set1_epi8(-1)),
                                         _mm_cmpeq_epi8(va, _mm_setzero_si128()));
        return static_cast<uint32_t>(_mm_movemask_epi8(bad));
    }
};

#define CMNW_TARGET_AVX2 target("avx2")

struct Avx2Blocks {
    static constexpr size_t kWidth = 32;
    __attribute__((CMNW_TARGET_AVX2, no_sanitize("address"))) uint64_t Check(
        const unsigned char *a, const unsigned char *b) const noexcept {
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
};

// The built-in lower-case block as bytes, for the table-lookup fold of the
// 64-byte blocks: identity but A-Z, 0xC0-0xDE (not 0xD7), 0x8A, 0x8C, 0x9F.
alignas(64) constexpr std::array<unsigned char, 256> kFoldBytes = [] {
    std::array<unsigned char, 256> fold{};
    for (unsigned c = 0; c < 256; ++c) {
        bool letter = (c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        fold[c] = static_cast<unsigned char>(letter ? c + 0x20 : c);
    }
    fold[0x8A] = 0x9A;
    fold[0x8C] = 0x9C;
    fold[0x9F] = 0xFF;
    return fold;
}();

#define CMNW_TARGET_AVX512 target("avx512f,avx512bw,avx512vbmi")

// 64 bytes folded exactly through the byte table, in four quarters of 64
// read straight from memory.
struct Avx512Blocks {
    static constexpr size_t kWidth = 64;

    __attribute__((CMNW_TARGET_AVX512)) static __m512i Quarter(size_t i) noexcept {
        return _mm512_load_si512(kFoldBytes.data() + 64 * i);
    }

    __attribute__((CMNW_TARGET_AVX512)) static __m512i Fold(__m512i v) noexcept {
        const __m512i low = _mm512_permutex2var_epi8(Quarter(0), v, Quarter(1));
        const __m512i high = _mm512_permutex2var_epi8(Quarter(2), v, Quarter(3));
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(v), low, high);
    }

    __attribute__((CMNW_TARGET_AVX512)) uint64_t CheckVectors(__m512i va,
                                                              __m512i vb) const noexcept {
        const uint64_t nul = _mm512_testn_epi8_mask(va, va);
        if (_mm512_movepi8_mask(_mm512_or_si512(va, vb)) == 0) {
            // Below 0x80 only the first half of the table is needed.
            return _mm512_cmpneq_epi8_mask(_mm512_permutex2var_epi8(Quarter(0), va, Quarter(1)),
                                           _mm512_permutex2var_epi8(Quarter(0), vb, Quarter(1))) |
                   nul;
        }
        return _mm512_cmpneq_epi8_mask(Fold(va), Fold(vb)) | nul;
    }

    __attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) uint64_t Check(
        const unsigned char *a, const unsigned char *b) const noexcept {
        return CheckVectors(_mm512_loadu_si512(a), _mm512_loadu_si512(b));
    }

    // The first n (below 64) bytes only: masked loads read nothing past them,
    // though they may read past the terminator, within the page.
    __attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) uint64_t CheckFirst(const unsigned char *a,
                                                            const unsigned char *b,
                                                            size_t n) const noexcept {
        const __mmask64 valid = (uint64_t{1} << n) - 1;
        return CheckVectors(_mm512_maskz_loadu_epi8(valid, a), _mm512_maskz_loadu_epi8(valid, b)) &
               valid;
    }
};

// Walks both strings a block at a time while a whole block of each lies in
// the page of its next byte, and over the last bytes of a page with a masked
// block where there are masked loads, else a byte at a time.
template <typename Blocks>
[[gnu::always_inline]] inline int32_t CompareBlocks(const Blocks &blocks, const unsigned char *a,
                                                    const unsigned char *b) noexcept {
    constexpr size_t kWidth = Blocks::kWidth;
    int32_t result = 0;
    for (;;) {
        const uintptr_t offsetA = reinterpret_cast<uintptr_t>(a) & (kPageSize - 1);
        const uintptr_t offsetB = reinterpret_cast<uintptr_t>(b) & (kPageSize - 1);
        size_t room = kPageSize - (offsetA > offsetB ? offsetA : offsetB);
        for (; room >= kWidth; room -= kWidth, a += kWidth, b += kWidth) {
            const uint64_t mask = blocks.Check(a, b);
            if (mask == 0) continue;
            const unsigned i = static_cast<unsigned>(__builtin_ctzll(mask));
            if (SettlePair(a + i, b + i, result)) return result;
            // A pair outside the block test that folds alike: go on after it.
            a += i + 1, b += i + 1;
            room = 0;
            break;
        }
        if constexpr (requires { blocks.CheckFirst(a, b, room); }) {
            if (room == 0) continue;
            const uint64_t mask = blocks.CheckFirst(a, b, room);
            if (mask == 0) {
                a += room, b += room;
                continue;
            }
            const unsigned i = static_cast<unsigned>(__builtin_ctzll(mask));
            if (SettlePair(a + i, b + i, result)) return result;
            a += i + 1, b += i + 1;
        } else {
            for (; room > 0; --room, ++a, ++b) {
                if (SettlePair(a, b, result)) return result;
            }
        }
    }
}

__attribute__((CMNW_TARGET_AVX512)) int32_t CompareAvx512(const unsigned char *a,
                                                          const unsigned char *b) noexcept {
    return CompareBlocks(Avx512Blocks{}, a, b);
}

__attribute__((CMNW_TARGET_AVX2)) int32_t CompareAvx2(const unsigned char *a,
                                                      const unsigned char *b) noexcept {
    return CompareBlocks(Avx2Blocks{}, a, b);
}

int32_t CompareSse2(const unsigned char *a, const unsigned char *b) noexcept {
    return CompareBlocks(Sse2Blocks{}, a, b);
}

#endif

}  // namespace

size_t WidestFoldBlock() noexcept {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) return 64;
    return __builtin_cpu_supports("avx2") ? 32 : 16;
#else
    return 1;
#endif
}

int32_t CompareFoldedBuiltInBy(size_t width, const unsigned char *a,
                               const unsigned char *b) noexcept {
#if defined(__x86_64__)
    if (width == 64) return CompareAvx512(a, b);
    if (width == 32) return CompareAvx2(a, b);
    if (width == 16) return CompareSse2(a, b);
#endif
    int32_t result = 0;
    while (!SettlePair(a, b, result)) ++a, ++b;
    return result;
}

namespace {

using CompareFn = int32_t (*)(const unsigned char *, const unsigned char *) noexcept;

int32_t CompareBytes(const unsigned char *a, const unsigned char *b) noexcept {
    return CompareFoldedBuiltInBy(1, a, b);
}

// The first call picks the widest compare and keeps it for the later ones.
int32_t PickAndCompare(const unsigned char *a, const unsigned char *b) noexcept;
constinit std::atomic<CompareFn> g_compare{PickAndCompare};

int32_t PickAndCompare(const unsigned char *a, const unsigned char *b) noexcept {
    CompareFn chosen = CompareBytes;
#if defined(__x86_64__)
    switch (WidestFoldBlock()) {
        case 64:
            chosen = CompareAvx512;
            break;
        case 32:
            chosen = CompareAvx2;
            break;
        default:
            chosen = CompareSse2;
            break;
    }
#endif
    g_compare.store(chosen, std::memory_order_relaxed);
    return chosen(a, b);
}

}  // namespace

int32_t CompareFoldedBuiltInWide(const unsigned char *a, const unsigned char *b) noexcept {
    return g_compare.load(std::memory_order_relaxed)(a, b);
}

}  // namespace cmnw::chars
