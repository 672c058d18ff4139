// Case-insensitive comparison of NUL-terminated byte strings under the
// built-in class table.
#pragma once

#include <cstddef>
#include <cstdint>

// For code that runs while the library is being relocated, before any
// sanitizer runtime is ready: left uninstrumented.
#define CMNW_BEFORE_SANITIZERS \
    __attribute__((no_sanitize("address", "thread", "undefined"), no_instrument_function))

namespace cmnw::chars {

using FoldCompareFn = int32_t (*)(const unsigned char *, const unsigned char *) noexcept;
using StricmpFn = int32_t (*)(const char *, const char *) noexcept;

// The case-insensitive compare for this processor: the widest block compare
// while the built-in class table is in force and neither string is null,
// else StricmpByTable. Cheap enough to run once while the library loads.
CMNW_BEFORE_SANITIZERS StricmpFn PickStricmp() noexcept;

// The byte-by-byte walk through the class table in force, nulls read as
// empty strings.
int32_t StricmpByTable(const char *a, const char *b) noexcept;

// The widest block this processor compares at once: 64, 32 or 16 bytes, or 1
// where there is no block compare.
CMNW_BEFORE_SANITIZERS size_t WidestFoldBlock() noexcept;

// The difference of the lower-case entries of the first pair that differs
// after folding, or 0 when both strings end together; what the byte-by-byte
// walk returns while the built-in table is in force. Blocks are width bytes
// (1, 16, 32 or 64), which must not exceed WidestFoldBlock(). Never reads
// into a page past the one holding either terminator.
int32_t CompareFoldedBuiltInBy(size_t width, const unsigned char *a,
                               const unsigned char *b) noexcept;

}  // namespace cmnw::chars
