// The text form: a pad-count character, then 4 characters of a file-name safe
// 64-character alphabet per group of 3 bytes.
#include "encode/encode.h"

#include <cstdint>
#include <limits>

#include "cmnw32/encode.h"
#include "encode/encode_tables.h"

namespace cmnw::encode {
namespace {

inline void PutGroup(uint32_t v, char *out) noexcept {
    out[0] = kTextAlphabet[(v >> 18) & 63];
    out[1] = kTextAlphabet[(v >> 12) & 63];
    out[2] = kTextAlphabet[(v >> 6) & 63];
    out[3] = kTextAlphabet[v & 63];
}

inline uint32_t GetGroup(const unsigned char *in) noexcept {
    return static_cast<uint32_t>(kTextDecode[in[0]]) << 18 |
           static_cast<uint32_t>(kTextDecode[in[1]]) << 12 |
           static_cast<uint32_t>(kTextDecode[in[2]]) << 6 | kTextDecode[in[3]];
}

}  // namespace

size_t BinaryToText(const uint8_t *data, size_t n, char *out) noexcept {
    const size_t pad = (3 - n % 3) % 3;
    char *p = out;
    *p++ = kTextAlphabet[pad];
    size_t i = 0;
    for (; i + 3 <= n; i += 3, p += 4) {
        PutGroup(static_cast<uint32_t>(data[i]) << 16 | data[i + 1] << 8 | data[i + 2], p);
    }
    if (pad != 0) {
        uint32_t v = static_cast<uint32_t>(data[i]) << 16;
        if (pad == 1) v |= static_cast<uint32_t>(data[i + 1]) << 8;
        PutGroup(v, p);
        p += 4;
    }
    *p = '\0';
    return static_cast<size_t>(p - out);
}

size_t TextToBinarySize(const char *text, size_t length) noexcept {
    if (text == nullptr || length == 0 || length % 4 != 1) return 0;
    const size_t pad = kTextDecode[static_cast<unsigned char>(text[0])];
    if (pad >= 3 || length - 1 <= pad) return 0;
    return (length - 1) / 4 * 3 - pad;
}

size_t TextToBinary(const char *text, size_t length, uint8_t *out) noexcept {
    const size_t size = TextToBinarySize(text, length);
    if (size == 0) return 0;
    const auto *in = reinterpret_cast<const unsigned char *>(text) + 1;
    size_t written = 0;
    for (; written + 3 <= size; written += 3, in += 4) {
        const uint32_t v = GetGroup(in);
        out[written] = static_cast<uint8_t>(v >> 16);
        out[written + 1] = static_cast<uint8_t>(v >> 8);
        out[written + 2] = static_cast<uint8_t>(v);
    }
    if (written < size) {
        const uint32_t v = GetGroup(in);
        out[written++] = static_cast<uint8_t>(v >> 16);
        if (written < size) out[written++] = static_cast<uint8_t>(v >> 8);
    }
    return written;
}

}  // namespace cmnw::encode

using namespace cmnw::encode;

extern "C" uint32_t UTLBinary2TextSize(uint32_t length) noexcept {
    const uint64_t size = TextFormLength(length);
    return size > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                       : static_cast<uint32_t>(size);
}

extern "C" uint32_t UTLBinary2Text(const void *data, uint32_t length, char *output,
                                   uint32_t outputSize) noexcept {
    if (output == nullptr || (data == nullptr && length != 0)) return 0;
    if (static_cast<uint64_t>(outputSize) < TextFormLength(length) + 1) return 0;
    return static_cast<uint32_t>(BinaryToText(static_cast<const uint8_t *>(data), length, output));
}

extern "C" uint32_t UTLText2BinarySize(const char *text, uint32_t length) noexcept {
    return static_cast<uint32_t>(TextToBinarySize(text, length));
}

extern "C" uint32_t UTLText2Binary(const char *text, uint32_t length, void *output,
                                   uint32_t outputSize) noexcept {
    if (output == nullptr) return 0;
    const size_t size = TextToBinarySize(text, length);
    if (size == 0 || size > outputSize) return 0;
    return static_cast<uint32_t>(TextToBinary(text, length, static_cast<uint8_t *>(output)));
}
