// The library's text form of binary data, for use inside the library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::encode {

// Length of the text form of n bytes (terminator not counted).
constexpr uint64_t TextFormLength(uint64_t n) noexcept { return 4 * ((n + 2) / 3) + 1; }

// Writes the text form of data[0, n) and a NUL into out, which must hold
// TextFormLength(n) + 1 bytes; returns the text length.
size_t BinaryToText(const uint8_t *data, size_t n, char *out) noexcept;

// Number of bytes the text form text[0, length) decodes to; 0 when invalid.
size_t TextToBinarySize(const char *text, size_t length) noexcept;

// Decodes text[0, length) into out (TextToBinarySize bytes); returns that size.
size_t TextToBinary(const char *text, size_t length, uint8_t *out) noexcept;

}  // namespace cmnw::encode
