// Code page 1252, the single-byte character set of the library's texts: ISO
// 8859-1 except at 0x80-0x9F. Shared by the ANSI conversions and the version
// resource reader.
#pragma once

#include <cstdint>

namespace cmnw {

// The UTF-16 units of bytes 0x80-0x9F. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the units of the same
// value.
inline constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

// The byte of a character (a code point) in code page 1252, or '?' when the
// code page lacks it.
constexpr uint8_t Cp1252ByteOf(uint32_t codePoint) noexcept {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<uint8_t>(codePoint);
    for (unsigned i = 0; i < 32; ++i)
        if (kCp1252High[i] == codePoint) return static_cast<uint8_t>(0x80 + i);
    return '?';
}

}  // namespace cmnw
