// Internal UTF-8 and UTF-16 transforms behind the exported converters. Each
// reads only below its source end and writes only below its destination end,
// and advances the positions it is given to where it stopped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::chars {

// UTF-8 to UTF-16, lenient (see Utf8ToUtf16 in the public header), by the
// fastest path the processor offers.
void DecodeUtf8(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                uint16_t *dstEnd) noexcept;

// UTF-16 to UTF-8, one code unit at a time, keeping one destination byte free,
// by the fastest path the processor offers.
void EncodeUtf16(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                 uint8_t *dstEnd) noexcept;

// The portable decoder: as DecodeUtf8, but it returns once a character
// starting at or after limit (srcEnd at most) is reached, having decoded at
// least the characters that start before it unless either end stops it first.
void DecodeUtf8Portable(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                        uint16_t *dstEnd, const uint8_t *limit) noexcept;

// The portable encoder, as EncodeUtf16.
void EncodeUtf16Portable(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                         uint8_t *dstEnd) noexcept;

// True when the AVX-512 paths below may be called. They give exactly what the
// portable paths give, stopping at the same positions.
bool HaveUtfAvx512() noexcept;
void DecodeUtf8Avx512(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                      uint16_t *dstEnd) noexcept;
void EncodeUtf16Avx512(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                       uint8_t *dstEnd) noexcept;

// The UTF-8 form of c in out (4 bytes); 0 for c outside 0..0x10FFFF.
size_t EncodeCodePoint(int32_t c, uint8_t *out) noexcept;

// First unit (low half) and second unit or 0xFFFF (high half) of the UTF-8
// character at p, reading no byte at or past end; end must be above p.
uint32_t DecodeFirstChar(const uint8_t *p, const uint8_t *end) noexcept;

}  // namespace cmnw::chars
