// Case-insensitive comparison of NUL-terminated byte strings under the
// built-in class table.
#pragma once

#include <cstdint>

namespace cmnw::chars {

// The difference of the lower-case entries of the first pair that differs
// after folding, or 0 when both strings end together; what the byte-by-byte
// walk returns while the built-in table is in force.
int32_t CompareFoldedBuiltIn(const unsigned char *a, const unsigned char *b) noexcept;

}  // namespace cmnw::chars
