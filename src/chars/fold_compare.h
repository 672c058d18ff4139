// Case-insensitive comparison of NUL-terminated byte strings under the
// built-in class table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::chars {

// The difference of the lower-case entries of the first pair that differs
// after folding, or 0 when both strings end together; what the byte-by-byte
// walk returns while the built-in table is in force.
int32_t CompareFoldedBuiltIn(const unsigned char *a, const unsigned char *b) noexcept;

// The widest block this processor compares at once: 64, 32 or 16 bytes, or 1
// where there is no block compare.
size_t WidestFoldBlock() noexcept;

// CompareFoldedBuiltIn with blocks of width bytes (1, 16, 32 or 64), which
// must not exceed WidestFoldBlock().
int32_t CompareFoldedBuiltInBy(size_t width, const unsigned char *a,
                               const unsigned char *b) noexcept;

}  // namespace cmnw::chars
