// Formats and texts for the text timestamp converters: the input splits at
// the first NUL into a format and a text. The text is read under the format,
// the result written back under it into buffers of every small size, and
// nothing may be written past the size given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <strings.h>

#include "cmnw32/locale.h"
#include "cmnw32/time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    const size_t cut = input.find('\0');
    const std::string format = cut == std::string::npos ? input : input.substr(0, cut);
    std::string text = cut == std::string::npos ? std::string() : input.substr(cut + 1);
    text = text.c_str();

    std::tm tm;
    std::memset(&tm, 0x55, sizeof tm);
    FMTGetTMTime(text.c_str(), format.c_str(), &tm);

    const std::string before = UTLGetLocale();
    char out[300];
    for (int outSize : {0, 1, 7, 64, 256}) {
        std::memset(out, 0x7F, sizeof out);
        const int count = FMTGetStrTime(out, outSize, format.c_str(), &tm);
        if (count < 0) std::abort();
        if (out[outSize] != 0x7F) std::abort();
        if (outSize > 0 && std::memchr(out, '\0', static_cast<size_t>(outSize)) == nullptr)
            std::abort();
    }
    // An in-format locale switch never outlives the call. Locale names are
    // matched without regard to case, so only the case may differ.
    if (strcasecmp(before.c_str(), UTLGetLocale()) != 0) std::abort();
    return 0;
}
