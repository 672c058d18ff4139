// The built-in character set: the code pages and named characters used when
// no code page file can be read.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::codepage {

struct BuiltInCodePage {
    int32_t id;
    char shortName[3];
};

// One character: identifier, glyph name (the alias is empty in every row) and
// its byte in each built-in code page, in the order of kBuiltInCodePages.
struct BuiltInChar {
    char identifier[9];
    char name[21];
    uint8_t bytes[3];
};

inline constexpr size_t kBuiltInCodePageCount = 3;
inline constexpr size_t kBuiltInCharCount = 742;

extern const BuiltInCodePage kBuiltInCodePages[kBuiltInCodePageCount];
extern const BuiltInChar kBuiltInChars[kBuiltInCharCount];

}  // namespace cmnw::codepage
