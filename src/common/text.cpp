#include "common/text.h"

#include <cstdio>
#include <cstring>

namespace cmnw {

size_t CopyBoundedN(char *dst, size_t dstSize, const char *src, size_t srcMax) noexcept {
    if (dst == nullptr || dstSize == 0) return 0;
    size_t n = src == nullptr ? 0 : LengthBounded(src, srcMax < dstSize - 1 ? srcMax : dstSize - 1);
    if (n > 0) std::memmove(dst, src, n);
    dst[n] = '\0';
    return n;
}

size_t CopyBounded(char *dst, size_t dstSize, const char *src) noexcept {
    return CopyBoundedN(dst, dstSize, src, static_cast<size_t>(-1));
}

bool CopyPadded(char *dst, size_t dstSize, const char *src) noexcept {
    if (dst == nullptr || dstSize == 0) return false;
    size_t n = src == nullptr ? 0 : LengthBounded(src, dstSize);
    bool fits = n < dstSize;
    if (!fits) n = dstSize - 1;
    if (n > 0) std::memmove(dst, src, n);
    std::memset(dst + n, 0, dstSize - n);
    return fits;
}

size_t AppendBounded(char *dst, size_t dstSize, const char *src) noexcept {
    if (dst == nullptr || dstSize == 0) return 0;
    size_t used = LengthBounded(dst, dstSize - 1);
    return used + CopyBounded(dst + used, dstSize - used, src);
}

size_t FormatBoundedV(char *dst, size_t dstSize, const char *format, va_list args) noexcept {
    if (dst == nullptr || dstSize == 0) return 0;
    if (format == nullptr) {
        dst[0] = '\0';
        return 0;
    }
    int n = std::vsnprintf(dst, dstSize, format, args);
    if (n < 0) {
        dst[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) < dstSize ? static_cast<size_t>(n) : dstSize - 1;
}

size_t FormatBounded(char *dst, size_t dstSize, const char *format, ...) noexcept {
    va_list args;
    va_start(args, format);
    size_t n = FormatBoundedV(dst, dstSize, format, args);
    va_end(args);
    return n;
}

char *TrimRightInPlace(char *text) noexcept {
    if (text == nullptr) return text;
    size_t n = std::strlen(text);
    while (n > 0 && IsBlankChar(static_cast<unsigned char>(text[n - 1]))) --n;
    if (text[n] != '\0') text[n] = '\0';  // a text without blanks is not written to
    return text;
}

bool ReplaceIfChanged(char *dst, const char *src) noexcept {
    // One pass: equal leading bytes are left as they are, the rest copied.
    size_t i = 0;
    for (; dst[i] == src[i]; ++i) {
        if (src[i] == '\0') return false;
    }
    std::memcpy(dst + i, src + i, std::strlen(src + i) + 1);
    return true;
}

bool ReplaceLongIfChanged(char *dst, const char *src, size_t srcLength) noexcept {
    // dst holds srcLength + 1 bytes, so the common case, a text already in
    // its final form, is one compare of the whole run.
    if (std::memcmp(dst, src, srcLength + 1) == 0) return false;
    size_t i = 0;
    while (dst[i] == src[i]) ++i;
    std::memcpy(dst + i, src + i, srcLength + 1 - i);
    return true;
}

char *TrimInPlace(char *text) noexcept {
    if (text == nullptr) return text;
    size_t start = 0;
    while (text[start] != '\0' && IsBlankChar(static_cast<unsigned char>(text[start]))) ++start;
    if (start > 0) std::memmove(text, text + start, std::strlen(text + start) + 1);
    return TrimRightInPlace(text);
}

}  // namespace cmnw
