// The platform family's internal header: universal names of paths on
// network mounts, file type detection by content, and unique strings and
// the byte scrambler.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::platform {

// As UTLGetUniversalName for absolutePath (native form), with the mount
// table given as the text of /proc/self/mounts.
uint32_t UniversalNameFromMounts(const char *mountsText, const char *absolutePath, uint32_t infoLevel,
                                 void *buffer, uint32_t *bufferSize) noexcept;

}  // namespace cmnw::platform

namespace cmnw::filetype {

// The tests look at no byte past this offset.
inline constexpr size_t kHeadBytes = 1024;

// The type number for a file of fileLength bytes whose first
// min(fileLength, kHeadBytes) bytes are head; 0 when no test recognises it.
int32_t TypeFromContent(const uint8_t *head, size_t headLength, uint64_t fileLength) noexcept;

// The type number of the file at path (the suite's path form); -1 when it
// cannot be opened or read.
int32_t TypeOfFile(const char *path) noexcept;

}  // namespace cmnw::filetype

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
