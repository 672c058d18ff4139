// The built-in class table: class flags, upper- and lower-case maps and
// collation weights of code page 1252.
#pragma once

#include <array>
#include <cstdint>

namespace cmnw::chars {

inline constexpr int kCTypeEntries = 1024;
inline constexpr int kUpperBlock = 256;
inline constexpr int kLowerBlock = 512;
inline constexpr int kCollateBlock = 768;

extern const std::array<uint16_t, kCTypeEntries> kDefaultCTypeTable;

}  // namespace cmnw::chars
