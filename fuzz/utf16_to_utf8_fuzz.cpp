// UTF-16 to UTF-8 on arbitrary code units, whole and in pieces through tiny
// and odd-sized destinations, and the vector encoder against the portable
// one. The first byte picks the piece size (0 to 15 bytes) and a partial
// destination size; the rest, in pairs of bytes, is the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "chars/utf.h"
#include "cmnw32/unicode.h"

namespace {

// The vector encoder gives the portable encoder's bytes and stops where it
// does, with room for everything and with room for only part.
void CompareWithPortable(const uint16_t *begin, const uint16_t *end, size_t partRoom) {
    if (!cmnw::chars::HaveUtfAvx512()) return;
    for (size_t room : {static_cast<size_t>(end - begin) * 3 + 1, partRoom}) {
        std::vector<uint8_t> fast(room), slow(room);
        const uint16_t *fastSrc = begin, *slowSrc = begin;
        uint8_t *fastDst = fast.data(), *slowDst = slow.data();
        cmnw::chars::EncodeUtf16Avx512(fastSrc, end, fastDst, fast.data() + room);
        cmnw::chars::EncodeUtf16Portable(slowSrc, end, slowDst, slow.data() + room);
        if (fastSrc != slowSrc || fastDst - fast.data() != slowDst - slow.data() ||
            !std::equal(fast.data(), fastDst, slow.data())) {
            abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0 || size > 8192) return 0;
    const size_t piece = data[0] % 16;
    std::vector<uint16_t> units((size - 1) / 2);
    if (!units.empty()) std::memcpy(units.data(), data + 1, units.size() * 2);
    const uint16_t *begin = units.data();
    const uint16_t *end = begin + units.size();
    CompareWithPortable(begin, end, data[0]);

    std::string whole(units.size() * 3 + 1, '\0');
    const uint16_t *src = begin;
    char *dst = whole.data();
    Utf16ToUtf8(&src, end, &dst, whole.data() + whole.size());
    if (src != end || dst >= whole.data() + whole.size()) abort();
    whole.resize(static_cast<size_t>(dst - whole.data()));

    std::string pieces;
    src = begin;
    while (src != end) {
        std::vector<char> chunk(piece);  // exact size: any overflow is caught
        char *out = chunk.data();
        const uint16_t *before = src;
        Utf16ToUtf8(&src, end, &out, chunk.data() + piece);
        if (src < before || src > end || out < chunk.data()) abort();
        // One byte always stays free.
        if (piece > 0 && out >= chunk.data() + piece) abort();
        pieces.append(chunk.data(), out);
        if (src == before) {
            if (piece >= 4) abort();  // four bytes take any unit
            break;
        }
    }
    if (src == end && pieces != whole) abort();

    for (const uint16_t *p = begin; p != end; ++p) {
        char bytes[4];
        int32_t n = Utf16CharToUtf8(*p, bytes);
        if (n < 1 || n > 3) abort();
    }
    return 0;
}
