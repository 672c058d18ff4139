// Single-byte code page references through the C library's iconv, for the
// whole-table tests of the character family.
#pragma once

#include <iconv.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cmnw::test {

// Decodes one byte of the named single-byte code page to a code point; empty
// when the code page leaves the byte undefined or iconv lacks the code page.
inline std::optional<uint32_t> DecodeByte(const char *codePage, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-32LE", codePage);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[8] = {};
    char *inPtr = in;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || outLeft != 4) return std::nullopt;
    return uint32_t{out[0]} | uint32_t{out[1]} << 8 | uint32_t{out[2]} << 16 |
           uint32_t{out[3]} << 24;
}

// The whole code page as code points, -1 where undefined.
inline std::array<int32_t, 256> DecodeCodePage(const char *codePage) {
    std::array<int32_t, 256> map{};
    for (unsigned b = 0; b < 256; ++b) {
        auto cp = DecodeByte(codePage, static_cast<unsigned char>(b));
        map[b] = cp ? static_cast<int32_t>(*cp) : -1;
    }
    return map;
}

// Converts bytes between two encodings with iconv; empty when iconv
// rejects the input.
inline std::optional<std::string> Convert(const char *from, const char *to,
                                          const std::string &bytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 4 + 16, '\0');
    char *inPtr = const_cast<char *>(bytes.data());
    char *outPtr = out.data();
    size_t inLeft = bytes.size(), outLeft = out.size();
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace cmnw::test
