// Code page 1252 ("ANSI") to and from UTF-8 and UTF-16.
#include <cstring>

#include "chars/unicode_tables.h"
#include "chars/utf.h"
#include "cmnw32/unicode.h"
#include "common/text.h"

namespace cmnw::chars {
namespace {

constexpr uint32_t kReadAsCodePage1252 = 1;

uint32_t WidenAnsi(const uint8_t *&srcRef, const uint8_t *srcEnd, uint8_t *&dstRef, uint8_t *dstEnd,
                   uint32_t flags) noexcept {
    const uint8_t *src = srcRef;
    uint8_t *dst = dstRef;
    uint8_t *start = dst;
    while (src < srcEnd && dst < dstEnd) {
        // ASCII runs are copied as they stand.
        const uint8_t *run = src;
        size_t room = static_cast<size_t>(dstEnd - dst);
        const uint8_t *runEnd = srcEnd - src > static_cast<ptrdiff_t>(room) ? src + room : srcEnd;
        while (run < runEnd && *run < 0x80) ++run;
        std::memcpy(dst, src, static_cast<size_t>(run - src));
        dst += run - src;
        src = run;
        if (src == srcEnd || dst == dstEnd) break;

        unsigned byte = *src;
        int32_t codePoint = static_cast<int32_t>(byte);
        if ((flags & kReadAsCodePage1252) != 0 && byte <= 0x9F) codePoint = kAnsiToUtf16[byte];
        uint8_t bytes[4];
        size_t n = EncodeCodePoint(codePoint, bytes);
        if (static_cast<size_t>(dstEnd - dst) < n) break;  // does not fit
        std::memcpy(dst, bytes, n);
        dst += n;
        ++src;
    }
    srcRef = src;
    dstRef = dst;
    return static_cast<uint32_t>(dst - start);
}

// The code page 1252 byte of a unit from 0x100 up, restricted to the units
// whose UTF-8 form has the given length; '?' when there is none.
uint8_t AnsiByteOfUnit(uint32_t unit, int utf8Length) noexcept {
    for (unsigned b = 0x80; b <= 0x9F; ++b) {
        uint16_t mapped = kAnsiToUtf16[b];
        if (mapped == unit && mapped >= 0x100 && (mapped >= 0x800) == (utf8Length == 3)) {
            return static_cast<uint8_t>(b);
        }
    }
    return '?';
}

bool HasTopBit(uint8_t byte) noexcept {
    return (byte & 0x80) != 0;
}

// In place; the write position never passes the read position.
int32_t NarrowUtf8InPlace(uint8_t *s, size_t len) noexcept {
    size_t read = 0;
    size_t write = 0;
    while (read < len) {
        uint8_t lead = s[read];
        size_t left = len - read;
        if (lead >= 0xF0 && lead <= 0xF4 && left >= 4 && HasTopBit(s[read + 1]) &&
            HasTopBit(s[read + 2]) && HasTopBit(s[read + 3])) {
            StoreIfChanged(s[write++], '?');  // no code page 1252 character beyond the BMP
            read += 4;
        } else if (lead >= 0xE0 && left >= 3 && HasTopBit(s[read + 1]) && HasTopBit(s[read + 2])) {
            uint32_t unit = DecodeFirstChar(s + read, s + read + (left < 4 ? left : 4)) & 0xFFFF;
            StoreIfChanged(s[write++], AnsiByteOfUnit(unit, 3));
            read += 3;
        } else if (lead >= 0xC0 && left >= 2 && HasTopBit(s[read + 1])) {
            // A lead of a longer sequence cut short here gives no character.
            uint8_t second = s[read + 1];
            int32_t length = kUtf8SequenceLength[lead];
            uint32_t unit = length == 2 ? (lead & 0x1Fu) << 6 | (second & 0x3Fu) : lead;
            uint8_t narrow = '?';
            if (length <= 2) {
                narrow = unit < 0x100 ? static_cast<uint8_t>((lead & 3) << 6 | (second & 0x3F))
                                      : AnsiByteOfUnit(unit, 2);
            }
            StoreIfChanged(s[write++], narrow);
            read += 2;
        } else {
            StoreIfChanged(s[write++], lead);
            ++read;
        }
    }
    return static_cast<int32_t>(write);
}

}  // namespace
}  // namespace cmnw::chars

extern "C" uint32_t AnsiToUtf8Ex(const char **src, const char *srcEnd, char **dst, char *dstEnd,
                                 uint32_t flags) noexcept {
    if (src == nullptr || *src == nullptr || srcEnd == nullptr || dst == nullptr ||
        *dst == nullptr || dstEnd == nullptr) {
        return 0;
    }
    auto *from = reinterpret_cast<const uint8_t *>(*src);
    auto *to = reinterpret_cast<uint8_t *>(*dst);
    uint32_t written = cmnw::chars::WidenAnsi(from, reinterpret_cast<const uint8_t *>(srcEnd), to,
                                              reinterpret_cast<uint8_t *>(dstEnd), flags);
    *src = reinterpret_cast<const char *>(from);
    *dst = reinterpret_cast<char *>(to);
    return written;
}

extern "C" uint32_t AnsiToUtf8(const char **src, const char *srcEnd, char **dst,
                               char *dstEnd) noexcept {
    return AnsiToUtf8Ex(src, srcEnd, dst, dstEnd, 0);
}

extern "C" int32_t UTLUtf8ToAnsi(char *s, int32_t len) noexcept {
    if (s == nullptr || len <= 0) return 0;
    return cmnw::chars::NarrowUtf8InPlace(reinterpret_cast<uint8_t *>(s), static_cast<size_t>(len));
}

extern "C" uint16_t *UTLuastrcpy(uint16_t *dst, const char *src) noexcept {
    if (dst == nullptr || src == nullptr) return nullptr;
    size_t i = 0;
    for (; src[i] != '\0'; ++i)
        dst[i] = cmnw::chars::kAnsiToUtf16[static_cast<unsigned char>(src[i])];
    dst[i] = 0;
    return dst;
}
