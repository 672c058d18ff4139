// UTF-8 to code page 1252 in place, and code page 1252 to UTF-8 and UTF-16
// through tiny and odd-sized destinations, on arbitrary bytes. The first
// byte picks the piece size (0 to 7 bytes) and the flags.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0 || size > 4096) return 0;
    const size_t piece = data[0] % 8;
    const uint32_t flags = (data[0] >> 3) & 1;
    const std::vector<char> text(data + 1, data + size);

    std::vector<char> narrow(text);  // exact size: any overread is caught
    int32_t length = UTLUtf8ToAnsi(narrow.data(), static_cast<int32_t>(narrow.size()));
    if (length < 0 || static_cast<size_t>(length) > narrow.size()) abort();
    if (!text.empty() && length == 0) abort();

    const char *begin = text.data();
    const char *end = begin + text.size();
    std::string whole(text.size() * 3 + 1, '\0');
    const char *src = begin;
    char *dst = whole.data();
    uint32_t written = AnsiToUtf8Ex(&src, end, &dst, whole.data() + whole.size(), flags);
    if (src != end || written != static_cast<size_t>(dst - whole.data())) abort();
    whole.resize(written);

    std::string pieces;
    src = begin;
    while (src != end) {
        std::vector<char> chunk(piece);
        char *out = chunk.data();
        const char *before = src;
        uint32_t n = AnsiToUtf8Ex(&src, end, &out, chunk.data() + piece, flags);
        if (n != static_cast<size_t>(out - chunk.data()) || n > piece) abort();
        pieces.append(chunk.data(), out);
        if (src == before) {
            if (piece >= 3) abort();  // three bytes take any character
            break;
        }
    }
    if (src == end && pieces != whole) abort();

    // Widening stops at the first NUL.
    std::vector<char> terminated(text);
    terminated.push_back('\0');
    std::vector<uint16_t> wide(terminated.size());
    if (UTLuastrcpy(wide.data(), terminated.data()) != wide.data()) abort();
    return 0;
}
