// The C library's iconv as the reference for the character tests.
#pragma once

#include <iconv.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cmnw::test {

// bytes converted between two encodings; empty when iconv lacks one of them
// or rejects the input.
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

// The named single-byte code page as code points, -1 where undefined.
inline std::array<int32_t, 256> DecodeCodePage(const char *codePage) {
    std::array<int32_t, 256> map{};
    for (unsigned b = 0; b < 256; ++b) {
        const auto u = Convert(codePage, "UTF-32LE", std::string(1, static_cast<char>(b)));
        map[b] = u && u->size() == 4 ? static_cast<uint8_t>((*u)[0]) |
                                           static_cast<uint8_t>((*u)[1]) << 8 |
                                           static_cast<uint8_t>((*u)[2]) << 16
                                     : -1;
    }
    return map;
}

}  // namespace cmnw::test
