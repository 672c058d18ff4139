// The bar code type table and the symbol pattern tables it points to.
#pragma once

#include <cstddef>

#include "cmnw32/barcode.h"

namespace cmnw::barcode {

static_assert(sizeof(UTLBarType) == 6 + 4 * sizeof(void *),
              "bar type records are packed: 22 bytes with 4-byte pointers, 38 on LP64");

inline constexpr size_t kBarTypeCount = 28;
inline constexpr size_t kCode39Count = 59;    // 0x20 .. 0x5A
inline constexpr size_t kCodabarCount = 49;   // 0x24 .. 0x54
inline constexpr size_t kTwoOfFiveCount = 12; // digits, start, stop
inline constexpr size_t kMsiCount = 12;       // digits, start, stop
inline constexpr size_t kCode128Count = 107;  // symbol values 0 .. 106
inline constexpr size_t kCode93Count = 47;    // symbol values 0 .. 46

// kBarTypeCount records in table order, then the record with letter 0.
extern const UTLBarType kBarTypes[kBarTypeCount + 1];

extern const char *const kCode39Patterns[kCode39Count];
extern const char *const kCodabarPatterns[kCodabarCount];
extern const char *const kTwoOfFivePatterns[kTwoOfFiveCount];
extern const char *const kMsiPatterns[kMsiCount];
extern const char *const kCode128Patterns[kCode128Count];
extern const char *const kCode93Patterns[kCode93Count];

}  // namespace cmnw::barcode
