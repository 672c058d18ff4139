// CRC-32 for use inside the library.
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

}  // namespace cmnw::encode
