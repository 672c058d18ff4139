// Text form decoding of arbitrary text into an exactly sized buffer, and the
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
    const uint32_t need = UTLText2BinarySize(text.data(), n);
    if (need > size) abort();
    std::vector<unsigned char> decoded(need);
    if (need != 0) {
        if (UTLText2Binary(text.data(), n, decoded.data(), need) != need) abort();
        if (UTLText2Binary(text.data(), n, decoded.data(), need - 1) != 0) abort();
    }

    std::vector<char> encoded(UTLBinary2TextSize(n) + 1);
    const auto room = static_cast<uint32_t>(encoded.size());
    if (UTLBinary2Text(data, n, encoded.data(), room - 1) != 0) abort();
    const uint32_t chars = UTLBinary2Text(data, n, encoded.data(), room);
    if (chars + 1 != room || encoded[chars] != '\0') abort();
    std::vector<unsigned char> back(size);
    if (size != 0) {
        if (UTLText2Binary(encoded.data(), chars, back.data(), n) != n) abort();
        if (std::memcmp(back.data(), data, size) != 0) abort();
    }
    return 0;
}
