// Content signature tests of file type detection.
#pragma once

#include <cstddef>
#include <cstdint>

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
