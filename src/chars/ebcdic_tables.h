// Built-in EBCDIC/ASCII translation tables, each indexed by the source byte.
#pragma once

#include <array>
#include <cstdint>

namespace cmnw::chars {

using ByteTable = std::array<uint8_t, 256>;

extern const ByteTable kEbcdicToAscii;       // code page 037 to ISO 8859-1
extern const ByteTable kAsciiToEbcdic;       // its inverse (MVS)
extern const ByteTable kOs400AsciiToEbcdic;  // PC text to code page 037 (OS/400)

}  // namespace cmnw::chars
