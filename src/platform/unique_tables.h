// The byte scrambler's built-in key.
#pragma once

namespace cmnw::unique {

// 256 plain ASCII characters: bytes 0..127 are the XOR table, bytes 128..254
// the addition table; the last byte is not used.
extern const char kScramblerKey[257];

}  // namespace cmnw::unique
