// Constant lookup tables of the text form and Base64 codecs.
#pragma once

#include <array>
#include <cstdint>

namespace cmnw::encode {

// Marks a byte that is not a Base64 data character in kBase64Decode*.
inline constexpr uint32_t kBase64Skip = 0x01000000u;

// The text form's 64 characters, value 0 to 63 in order.
extern const char kTextAlphabet[65];
// Value of each byte as a text form character; bytes outside the alphabet are 0.
extern const std::array<uint8_t, 256> kTextDecode;

// Standard Base64 alphabet with the pad "=" as entry 64.
extern const char kBase64Alphabet[66];
// Two Base64 characters for each 12-bit value, first character in the low byte.
extern const std::array<uint16_t, 4096> kBase64Pair;
// The 6-bit value of each byte at each position of a 4-character group,
// already shifted into place within 24 bits (18, 12, 6, 0); kBase64Skip for
// bytes that are not data characters.
extern const std::array<std::array<uint32_t, 256>, 4> kBase64Decode;

}  // namespace cmnw::encode
