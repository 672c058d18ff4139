// Unique strings and the byte scrambler, for use inside the library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::unique {

// A new random GUID in its in-memory layout: a 32-bit and two 16-bit fields,
// each little-endian, then 8 single bytes. False when none can be had.
bool NewGuid(uint8_t guid[16]) noexcept;

// The 32 upper-case hexadecimal digits of a GUID (fields printed as numbers)
// and a NUL into out[0, 33).
void GuidToHex(const uint8_t guid[16], char out[33]) noexcept;

// The hexadecimal form with a 2-digit running check sum after every 8 digits
// (40 characters) and a NUL into out[0, 41).
void AddCheckDigits(const char hex[32], char out[41]) noexcept;

// Checksum of the scrambler: big-endian 4-byte groups, then single bytes,
// each XORed in together with its byte position.
uint32_t ScrambleChecksum(const uint8_t *data, size_t n) noexcept;

// Scrambles data[0, n) with the built-in key: appends the checksum, mixes
// every byte with the key from a checksum-derived offset, appends the
// checksum again as the seed. Writes n + 8 bytes into out.
void Scramble(const uint8_t *data, size_t n, uint8_t *out) noexcept;

// Writes the form of unique string that size selects into output.
void MakeUniqueString(char *output, uint32_t size) noexcept;

}  // namespace cmnw::unique
