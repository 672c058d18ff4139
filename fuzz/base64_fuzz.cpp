// Base64 decoding of arbitrary text into an exactly sized buffer, and the
// round trip of arbitrary data.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cmnw32/encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > (1u << 20)) return 0;
    const auto n = static_cast<uint32_t>(size);
    std::vector<char> text(data, data + size);
    // The decoder's bound: at most 3/4 of the text length.
    std::vector<unsigned char> decoded(size * 3 / 4);
    const uint32_t got = UTLDecodeBase64(text.data(), n, decoded.data());
    if (got > decoded.size()) abort();

    std::vector<char> encoded((size + 2) / 3 * 4);
    const uint32_t chars = UTLEncodeBase64(data, n, encoded.data());
    if (chars != encoded.size()) abort();
    std::vector<unsigned char> back(size);
    if (UTLDecodeBase64(encoded.data(), chars, back.data()) != n) abort();
    if (size != 0 && std::memcmp(back.data(), data, size) != 0) abort();
    return 0;
}
