// Builds the built-in character set as an in-memory configuration laid out
// exactly like a code page file, so that it is read the same way.
#include <cstring>

#include "chars/codepage_set.h"
#include "chars/codepage_tables.h"
#include "cmnw32/cfg.h"

namespace cmnw::codepage {
namespace {

// Writes value right-aligned in width characters at out; returns the end.
char *PutRightAligned(char *out, unsigned value, size_t width) noexcept {
    char digits[10];
    size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (size_t i = n; i < width; ++i) *out++ = ' ';
    while (n > 0) *out++ = digits[--n];
    return out;
}

char *PutText(char *out, const char *text, size_t width, bool rightAligned) noexcept {
    const size_t len = std::strlen(text);
    if (rightAligned)
        for (size_t i = len; i < width; ++i) *out++ = ' ';
    std::memcpy(out, text, len);
    out += len;
    if (!rightAligned)
        for (size_t i = len; i < width; ++i) *out++ = ' ';
    return out;
}

// The fixed form of one character line, 43 characters for three code pages:
// "SP010000,               space, , 32, 32, 32" (the alias is empty).
void FormatCharLine(const BuiltInChar &row, char *out) noexcept {
    out = PutText(out, row.identifier, 8, false);
    *out++ = ',';
    out = PutText(out, row.name, 20, true);
    *out++ = ',';
    *out++ = ' ';
    for (uint8_t byte : row.bytes) {
        *out++ = ',';
        out = PutRightAligned(out, byte, 3);
    }
    *out = '\0';
}

}  // namespace

CFGHANDLE BuildDefaultConfig() noexcept {
    CFGHANDLE config = CFGCreate();
    if (config == nullptr) return nullptr;
    CFGBeginChanges(config);
    char line[64];
    for (const BuiltInCodePage &page : kBuiltInCodePages) {
        char *out = PutRightAligned(line, static_cast<unsigned>(page.id), 1);
        *out++ = ',';
        std::strcpy(out, page.shortName);
        if (CFGAddLine("CODEPAGES", "CODEPAGE", line) == 0) {
            CFGDiscard();
            return nullptr;
        }
    }
    for (const BuiltInChar &row : kBuiltInChars) {
        FormatCharLine(row, line);
        if (CFGAddLine("CODEPAGE", "Char", line) == 0) {
            CFGDiscard();
            return nullptr;
        }
    }
    CFGEndChanges(config);
    return config;
}

}  // namespace cmnw::codepage
