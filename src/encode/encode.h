// The encode family's internal header, and its front door: CRC-32 and the
// library's text form of binary data, for use inside the library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::encode {

// The reflected CRC-32 update step over data[0, length) from crc, with no
// inversion at either end.
uint32_t UpdateCrc32(uint32_t crc, const void *data, size_t length) noexcept;

// UpdateCrc32 over the content of the file at path (the suite's path form),
// read in chunks; crc unchanged when the file cannot be opened.
uint32_t FileCrc32(const char *path, uint32_t crc) noexcept;

// Writes the 7-character base-32 name of crc and a NUL into out[0, 8).
void MakeCrcName(uint32_t crc, char *out) noexcept;

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
