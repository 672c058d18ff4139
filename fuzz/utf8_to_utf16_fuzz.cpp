// UTF-8 to UTF-16 on arbitrary bytes, whole and in pieces through tiny and
// odd-sized destinations, and the vector decoder against the portable one.
// The first byte picks the piece size (0 to 7 units) and a partial
// destination size; the rest is the text, held in an exact-size buffer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "chars/utf.h"
#include "cmnw32/unicode.h"

namespace {

// The vector decoder gives the portable decoder's units and stops where it
// does, with room for everything and with room for only part.
void CompareWithPortable(const uint8_t *begin, const uint8_t *end, size_t partRoom) {
    if (!cmnw::chars::HaveUtfAvx512()) return;
    for (size_t room : {static_cast<size_t>(end - begin), partRoom}) {
        std::vector<uint16_t> fast(room), slow(room);
        const uint8_t *fastSrc = begin, *slowSrc = begin;
        uint16_t *fastDst = fast.data(), *slowDst = slow.data();
        cmnw::chars::DecodeUtf8Avx512(fastSrc, end, fastDst, fast.data() + room);
        cmnw::chars::DecodeUtf8Portable(slowSrc, end, slowDst, slow.data() + room, end);
        if (fastSrc != slowSrc || fastDst - fast.data() != slowDst - slow.data() ||
            !std::equal(fast.data(), fastDst, slow.data())) {
            abort();
        }
    }
}

std::vector<uint16_t> Whole(const char *text, size_t size) {
    std::vector<uint16_t> out(size + 1);
    const char *src = text;
    uint16_t *dst = out.data();
    Utf8ToUtf16(&src, text + size, &dst, out.data() + out.size());
    if (src != text + size || dst > out.data() + out.size()) abort();
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0 || size > 4096) return 0;
    const size_t piece = data[0] % 8;
    std::vector<char> text(data + 1, data + size);
    const char *begin = text.data();
    const char *end = begin + text.size();
    const std::vector<uint16_t> whole = Whole(begin, text.size());
    CompareWithPortable(reinterpret_cast<const uint8_t *>(begin),
                        reinterpret_cast<const uint8_t *>(end), data[0]);

    std::vector<uint16_t> pieces;
    const char *src = begin;
    while (src != end) {
        std::vector<uint16_t> chunk(piece);  // exact size: any overflow is caught
        uint16_t *dst = chunk.data();
        const char *before = src;
        Utf8ToUtf16(&src, end, &dst, chunk.data() + piece);
        if (src < before || src > end || dst < chunk.data() || dst > chunk.data() + piece) abort();
        pieces.insert(pieces.end(), chunk.data(), dst);
        if (src == before) {
            // Only an empty destination, or one unit before a surrogate pair,
            // may stop without progress.
            if (piece >= 2) abort();
            break;
        }
    }
    if (src == end && pieces != whole) abort();

    // Every position as the start of a NUL-terminated character.
    std::vector<char> terminated(text);
    terminated.push_back('\0');
    for (size_t i = 0; i < text.size(); ++i) {
        int32_t units = Utf8ToUtf16Char(terminated.data() + i);
        int32_t length = Utf8CharLen(terminated.data() + i);
        if (length < 1 || length > 4) abort();
        (void)units;
    }
    return 0;
}
