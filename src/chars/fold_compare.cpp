// Case-insensitive comparison under the built-in class table, many bytes at a
// time.
//
// Under the built-in table two different bytes fold to the same lower-case
// entry only as a letter pair that differs in bit 0x20 (A-Z, 0xC0-0xDE but
// 0xD7, and their lower-case forms) or as one of 0x8A/0x9A, 0x8C/0x9C,
// 0x9F/0xFF. A block is passed over when every byte pair is equal or such a
// 0x20 letter pair and no byte of the first string is NUL; anything else is
// settled byte by byte through the table, so the result is always the
// difference of the lower-case entries of the deciding pair. A block test may
// mark more pairs than that (the ASCII-only tests mark every different pair
// of bytes from 0x80); a marked pair that folds alike is stepped over.
//
// With 64-byte registers the walk is: 16 bytes, 64 bytes, then 128 bytes a
// step through a 128-entry lookup, refolded exactly only for a block that
// holds bytes from 0x80. UTLstricmp is bound to this walk when the library
// loads, so a call reaches it without an indirect jump.
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

#include "chars/ctype_state.h"
#include "chars/ctype_tables.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace cmnw::chars {
namespace {

constexpr uintptr_t kPageSize = 4096;  // the smallest page of the targets

// The bytes from a and from b that lie in their pages, whichever is less.
inline size_t RoomInPages(const unsigned char *a, const unsigned char *b) noexcept {
    const uintptr_t offsetA = reinterpret_cast<uintptr_t>(a) & (kPageSize - 1);
    const uintptr_t offsetB = reinterpret_cast<uintptr_t>(b) & (kPageSize - 1);
    return kPageSize - (offsetA > offsetB ? offsetA : offsetB);
}

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

#define CMNW_TARGET_AVX512 target("avx512f,avx512bw,avx512vl,avx512vbmi")

// 64 bytes folded exactly through the byte table, in four quarters of 64
// read straight from memory.
struct Avx512Blocks {
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
        for (; room > 0; --room, ++a, ++b) {
            if (SettlePair(a, b, result)) return result;
        }
    }
}

// The first 128 entries of the lower-case block as bytes, but NUL, which
// maps to 0x80 for the first string and to 0x81 for the second: a pair of
// ASCII bytes looked up in these differs exactly when the pair needs the
// table.
constexpr std::array<unsigned char, 128> AsciiFold(unsigned char nul) {
    std::array<unsigned char, 128> fold{};
    for (unsigned c = 0; c < 128; ++c) fold[c] = kFoldBytes[c];
    fold[0] = nul;
    return fold;
}
alignas(64) constexpr std::array<unsigned char, 128> kAsciiFoldA = AsciiFold(0x80);
alignas(64) constexpr std::array<unsigned char, 128> kAsciiFoldB = AsciiFold(0x81);

// 128 bytes per step while both strings have them in their pages: a step
// of ASCII bytes that all fold alike costs two lookups and one compare per
// 64 bytes. Bytes from 0x80 send their block to the exact fold; near a page
// end the blocks are masked loads cut at the end of the page.
struct Avx512Walk {
    __m512i foldA0, foldA1, foldB0, foldB1;

    __attribute__((CMNW_TARGET_AVX512)) Avx512Walk() noexcept
        : foldA0(_mm512_load_si512(kAsciiFoldA.data())),
          foldA1(_mm512_load_si512(kAsciiFoldA.data() + 64)),
          foldB0(_mm512_load_si512(kAsciiFoldB.data())),
          foldB1(_mm512_load_si512(kAsciiFoldB.data() + 64)) {}

    // Pairs whose ASCII folds differ, NUL included; meaningless where a byte
    // is 0x80 or above.
    __attribute__((CMNW_TARGET_AVX512)) uint64_t AsciiMismatch(__m512i va,
                                                               __m512i vb) const noexcept {
        return _mm512_cmpneq_epi8_mask(_mm512_permutex2var_epi8(foldA0, va, foldA1),
                                       _mm512_permutex2var_epi8(foldB0, vb, foldB1));
    }

    // The first pair of the block that needs the table, or 64 when none.
    __attribute__((CMNW_TARGET_AVX512)) unsigned FirstToSettle(__m512i va, __m512i vb,
                                                               uint64_t mismatch) const noexcept {
        const uint64_t high = _mm512_movepi8_mask(_mm512_or_si512(va, vb));
        const uint64_t marked = mismatch | high;
        if (marked == 0) return 64;
        const unsigned i = static_cast<unsigned>(__builtin_ctzll(marked));
        if (((high >> i) & 1) == 0) return i;
        const uint64_t exact = Avx512Blocks{}.CheckVectors(va, vb);
        return exact == 0 ? 64 : static_cast<unsigned>(__builtin_ctzll(exact));
    }
};

// 16 bytes with only A-Z folded and a NUL in the first string marked: the
// whole work for most words, and on 128-bit
// registers they leave no upper register state to clear on return. Marks a
// superset of the pairs that need the table.
__attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) inline uint32_t HeadMask16(
    const unsigned char *a, const unsigned char *b) noexcept {
    const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a));
    const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b));
    // 'A'-'Z' move to the 26 lowest signed bytes.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
    const __m128i top = _mm_set1_epi8(static_cast<char>(0x80 + 26));
    const __m128i bit5 = _mm_set1_epi8(0x20);
    const __m128i fa =
        _mm_or_si128(va, _mm_and_si128(_mm_cmpgt_epi8(top, _mm_add_epi8(va, shift)), bit5));
    const __m128i fb =
        _mm_or_si128(vb, _mm_and_si128(_mm_cmpgt_epi8(top, _mm_add_epi8(vb, shift)), bit5));
    const __m128i ok = _mm_min_epu8(va, _mm_cmpeq_epi8(fa, fb));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(ok, _mm_setzero_si128())));
}

// The same for 64 bytes.
__attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) inline uint64_t HeadMask64(
    const unsigned char *a, const unsigned char *b) noexcept {
    const __m512i va = _mm512_loadu_si512(a);
    const __m512i vb = _mm512_loadu_si512(b);
    const __m512i first = _mm512_set1_epi8('A');
    const __m512i letters = _mm512_set1_epi8(26);
    const __m512i bit5 = _mm512_set1_epi8(0x20);
    const __m512i fa = _mm512_mask_add_epi8(
        va, _mm512_cmplt_epu8_mask(_mm512_sub_epi8(va, first), letters), va, bit5);
    const __m512i fb = _mm512_mask_add_epi8(
        vb, _mm512_cmplt_epu8_mask(_mm512_sub_epi8(vb, first), letters), vb, bit5);
    return ~_mm512_mask_test_epi8_mask(_mm512_cmpeq_epi8_mask(fa, fb), va, va);
}

__attribute__((CMNW_TARGET_AVX512, no_sanitize("address"), always_inline)) inline int32_t
CompareAvx512(const unsigned char *a, const unsigned char *b) noexcept {
    int32_t result = 0;
    // The first test is exact for most pairs of addresses and a shade cheaper.
    if (((reinterpret_cast<uintptr_t>(a) | reinterpret_cast<uintptr_t>(b)) & (kPageSize - 1)) <=
            kPageSize - 80 ||
        RoomInPages(a, b) >= 80) [[likely]] {
        // Laid out for words that end in their first 16 bytes.
        const uint32_t head = HeadMask16(a, b);
        if (__builtin_expect(head != 0, 1)) {
            const unsigned i = static_cast<unsigned>(__builtin_ctz(head));
            const uint16_t *lower = kDefaultCTypeTable.data() + kLowerBlock;
            const int32_t x = lower[a[i]];
            const int32_t y = lower[b[i]];
            if (__builtin_expect(x != y || x == 0, 1)) return x - y;
            a += i + 1, b += i + 1;
        } else {
            const uint64_t mask = HeadMask64(a + 16, b + 16);
            if (mask == 0) {
                a += 80, b += 80;
            } else {
                const unsigned i = 16 + static_cast<unsigned>(__builtin_ctzll(mask));
                if (SettlePair(a + i, b + i, result)) return result;
                a += i + 1, b += i + 1;
            }
        }
    }
    const Avx512Walk walk;
    for (;;) {
        const size_t room = RoomInPages(a, b);
        unsigned i;
        if (room >= 128) {
            const __m512i va0 = _mm512_loadu_si512(a);
            const __m512i vb0 = _mm512_loadu_si512(b);
            const __m512i va1 = _mm512_loadu_si512(a + 64);
            const __m512i vb1 = _mm512_loadu_si512(b + 64);
            const uint64_t mismatch0 = walk.AsciiMismatch(va0, vb0);
            const uint64_t mismatch1 = walk.AsciiMismatch(va1, vb1);
            const __m512i high =
                _mm512_or_si512(_mm512_ternarylogic_epi32(va0, vb0, va1, 0xFE), vb1);
            if ((mismatch0 | mismatch1 | _mm512_movepi8_mask(high)) == 0) {
                a += 128, b += 128;
                continue;
            }
            i = walk.FirstToSettle(va0, vb0, mismatch0);
            if (i == 64) i = 64 + walk.FirstToSettle(va1, vb1, mismatch1);
            if (i == 128) {
                a += 128, b += 128;
                continue;
            }
        } else {
            const size_t n = room < 64 ? room : 64;
            const __mmask64 valid = n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
            const uint64_t exact = Avx512Blocks{}.CheckVectors(_mm512_maskz_loadu_epi8(valid, a),
                                                               _mm512_maskz_loadu_epi8(valid, b)) &
                                   valid;
            if (exact == 0) {
                a += n, b += n;
                continue;
            }
            i = static_cast<unsigned>(__builtin_ctzll(exact));
        }
        if (SettlePair(a + i, b + i, result)) return result;
        a += i + 1, b += i + 1;
    }
}

__attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) int32_t CompareFoldedAvx512(
    const unsigned char *a, const unsigned char *b) noexcept {
    return CompareAvx512(a, b);
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

CMNW_BEFORE_SANITIZERS size_t WidestFoldBlock() noexcept {
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512vbmi"))
        return 64;
    return __builtin_cpu_supports("avx2") ? 32 : 16;
#else
    return 1;
#endif
}

int32_t CompareFoldedBuiltInBy(size_t width, const unsigned char *a,
                               const unsigned char *b) noexcept {
#if defined(__x86_64__)
    if (width == 64) return CompareFoldedAvx512(a, b);
    if (width == 32) return CompareAvx2(a, b);
    if (width == 16) return CompareSse2(a, b);
#endif
    int32_t result = 0;
    while (!SettlePair(a, b, result)) ++a, ++b;
    return result;
}

namespace {

int32_t CompareBytes(const unsigned char *a, const unsigned char *b) noexcept {
    return CompareFoldedBuiltInBy(1, a, b);
}

// The widest block compare, picked on the first call.
int32_t PickAndCompare(const unsigned char *a, const unsigned char *b) noexcept;
constinit std::atomic<FoldCompareFn> g_compare{PickAndCompare};

int32_t PickAndCompare(const unsigned char *a, const unsigned char *b) noexcept {
    FoldCompareFn chosen = CompareBytes;
#if defined(__x86_64__)
    switch (WidestFoldBlock()) {
        case 64:
            chosen = CompareFoldedAvx512;
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

// One test, without branches of its own, that neither string is null and
// the built-in class table is in force.
bool BuiltInTableFor(const char *a, const char *b) noexcept {
    return (CTypeTableInForce() == kDefaultCTypeTable.data()) & (a != nullptr) & (b != nullptr);
}

int32_t StricmpAnyWidth(const char *a, const char *b) noexcept {
    if (!BuiltInTableFor(a, b)) [[unlikely]]
        return StricmpByTable(a, b);
    return g_compare.load(std::memory_order_relaxed)(reinterpret_cast<const unsigned char *>(a),
                                                    reinterpret_cast<const unsigned char *>(b));
}

#if defined(__x86_64__)
__attribute__((CMNW_TARGET_AVX512, no_sanitize("address"))) int32_t StricmpAvx512(
    const char *a, const char *b) noexcept {
    if (!BuiltInTableFor(a, b)) [[unlikely]]
        return StricmpByTable(a, b);
    return CompareAvx512(reinterpret_cast<const unsigned char *>(a),
                         reinterpret_cast<const unsigned char *>(b));
}
#endif

}  // namespace

CMNW_BEFORE_SANITIZERS StricmpFn PickStricmp() noexcept {
#if defined(__x86_64__)
    if (WidestFoldBlock() == 64) return StricmpAvx512;
#endif
    return StricmpAnyWidth;
}

}  // namespace cmnw::chars
