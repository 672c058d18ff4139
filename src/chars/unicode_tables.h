// Constant tables of the Unicode transforms.
#pragma once

#include <array>
#include <cstdint>

namespace cmnw::chars {

// Length of the UTF-8 sequence a byte leads: 1, 2, 3 or 4.
extern const std::array<int32_t, 256> kUtf8SequenceLength;

// Code page 1252 to UTF-16; 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to
// themselves.
extern const std::array<uint16_t, 256> kAnsiToUtf16;

}  // namespace cmnw::chars
