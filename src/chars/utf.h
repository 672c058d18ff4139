// Internal UTF-8 and UTF-16 transforms behind the exported converters. Each
// reads only below its source end and writes only below its destination end,
// and advances the positions it is given to where it stopped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::chars {

// UTF-8 to UTF-16, lenient (see Utf8ToUtf16 in the public header).
void DecodeUtf8(const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                uint16_t *dstEnd) noexcept;

// UTF-16 to UTF-8, one code unit at a time, keeping one destination byte free.
void EncodeUtf16(const uint16_t *&src, const uint16_t *srcEnd, uint8_t *&dst,
                 uint8_t *dstEnd) noexcept;

// The UTF-8 form of c in out (4 bytes); 0 for c outside 0..0x10FFFF.
size_t EncodeCodePoint(int32_t c, uint8_t *out) noexcept;

// First unit (low half) and second unit or 0xFFFF (high half) of the UTF-8
// character at p, reading no byte at or past end; end must be above p.
uint32_t DecodeFirstChar(const uint8_t *p, const uint8_t *end) noexcept;

}  // namespace cmnw::chars
