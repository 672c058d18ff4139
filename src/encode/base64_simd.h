// Vector paths of the Base64 codec, used where the processor has them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::encode {

// True when the AVX2 paths below may be called.
bool HaveBase64Avx2() noexcept;

// Encodes whole 24-byte blocks of in[0, n) while 28 bytes remain readable;
// writes 32 characters per block. Returns the number of input bytes consumed.
size_t EncodeBase64Avx2(const unsigned char *in, size_t n, unsigned char *out) noexcept;

// Decodes 32-character blocks of in[0, n) that hold only data characters,
// 24 bytes each, stopping before the first block that does not. Returns the
// number of characters consumed (the output holds 3/4 of that).
size_t DecodeBase64Avx2(const unsigned char *in, size_t n, unsigned char *out) noexcept;

}  // namespace cmnw::encode
