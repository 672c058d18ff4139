// Bounded text helpers shared by every family. Each one writes at most the
// size it is given, always terminates a non-empty destination, and reads no
// byte past a source's terminator or the stated source limit.
#pragma once

#include <bit>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace cmnw {

// Copies src into dst (dstSize bytes, terminated); a null src copies "".
// Returns the number of characters stored. Does nothing when dstSize is 0.
size_t CopyBounded(char *dst, size_t dstSize, const char *src) noexcept;

// As CopyBounded, but reads at most srcMax bytes of src (src need not be
// terminated within them).
size_t CopyBoundedN(char *dst, size_t dstSize, const char *src, size_t srcMax) noexcept;

// Copies src into dst (dstSize bytes) and clears every byte after the copied
// terminator; a src too long is cut to dstSize - 1 characters. A null src
// copies "". Returns true when the whole of src fitted, false when it was cut
// or dstSize is 0 (nothing written then).
bool CopyPadded(char *dst, size_t dstSize, const char *src) noexcept;

// Appends src to the text already in dst, within dstSize; returns the new
// length of dst.
size_t AppendBounded(char *dst, size_t dstSize, const char *src) noexcept;

// snprintf that never reports more than it stored: returns the length of the
// text in dst (0 with dstSize 0 or on a formatting error, dst then "").
size_t FormatBounded(char *dst, size_t dstSize, const char *format, ...) noexcept
    __attribute__((format(printf, 3, 4)));
size_t FormatBoundedV(char *dst, size_t dstSize, const char *format, va_list args) noexcept
    __attribute__((format(printf, 3, 0)));

// Removes leading and trailing white space (blank, tab, CR, LF, VT, FF) in
// place; returns text. A null text is returned as is; a text without such
// white space is not written to (it may be read-only).
char *TrimInPlace(char *text) noexcept;
// Removes trailing white space only; returns text.
char *TrimRightInPlace(char *text) noexcept;

// Copies src, with its terminator, over dst unless dst already holds that
// text: a caller's text that is already in its final form is not written to
// (it may be read-only). dst must hold strlen(src) + 1 bytes. Returns true
// when dst was written.
bool ReplaceIfChanged(char *dst, const char *src) noexcept;
// The same for a src of known length (strlen(src) == srcLength).
bool ReplaceLongIfChanged(char *dst, const char *src, size_t srcLength) noexcept;
inline bool ReplaceIfChanged(char *dst, const char *src, size_t srcLength) noexcept {
    // Dates and times are 8 to 16 bytes with the terminator: two overlapping
    // words compare and copy them without a call.
    const size_t n = srcLength + 1;
    if (n - 8 > 8) return ReplaceLongIfChanged(dst, src, srcLength);
    uint64_t d0, d1, s0, s1;
    std::memcpy(&d0, dst, 8);
    std::memcpy(&d1, dst + n - 8, 8);
    std::memcpy(&s0, src, 8);
    std::memcpy(&s1, src + n - 8, 8);
    if (((d0 ^ s0) | (d1 ^ s1)) == 0) return false;
    std::memcpy(dst, &s0, 8);
    std::memcpy(dst + n - 8, &s1, 8);
    return true;
}

// Stores value into slot only when it differs (see ReplaceIfChanged).
template <typename Unit>
inline void StoreIfChanged(Unit &slot, std::type_identity_t<Unit> value) noexcept {
    if (slot != value) slot = value;
}

// The length of text, looking at no more than max bytes.
inline size_t LengthBounded(const char *text, size_t max) noexcept {
    if (text == nullptr) return 0;
    size_t n = 0;
    while (n < max && text[n] != '\0') ++n;
    return n;
}

// The length of a text kept NUL-terminated in an array of N bytes (N from 8
// to 24), found a word at a time without reading outside the array; N when
// the array holds no NUL.
template <size_t N>
inline size_t LengthInArray(const char (&text)[N]) noexcept {
    static_assert(N >= 8 && N <= 24);
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    // Bit 7 of each byte that is NUL; bits above the first NUL may be wrong,
    // the lowest one is exact (byte order: little-endian words).
    auto firstZero = [](const char *p) noexcept -> unsigned {
        uint64_t w;
        std::memcpy(&w, p, 8);
        if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
        const uint64_t z = (w - kOnes) & ~w & (0x80 * kOnes);
        return z != 0 ? static_cast<unsigned>(__builtin_ctzll(z)) / 8 : 8;
    };
    if (const unsigned i = firstZero(text); i < 8) return i;
    if constexpr (N > 16) {
        if (const unsigned i = firstZero(text + 8); i < 8) return 8 + i;
    }
    if constexpr (N > 8) {
        if (const unsigned i = firstZero(text + N - 8); i < 8) return N - 8 + i;
    }
    return N;
}

// True for the white space TrimInPlace removes.
inline bool IsBlankChar(unsigned char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace cmnw
