// Small text helpers of the cmnw tool.
#include "tool_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "cmnw32.h"

namespace cmnw::tool {

const char *const kBuiltInLocales[46] = {
    "USD", "CAD", "FRF", "FLX", "NLG", "DKK", "BED", "AUD", "GBP", "IEP", "FIM", "BEF",
    "CHH", "ATS", "DEM", "CHL", "LUF", "CHF", "ISK", "ITL", "CHI", "NOK", "BRC", "PTE",
    "ESP", "ESC", "ARS", "BOB", "CLP", "COP", "CRC", "ECS", "GTQ", "MXN", "PAB", "PYG",
    "PES", "UYU", "VEB", "FMK", "SEK", "IDR", "ZAA", "ZAR", "ESB", "EUR"};

bool IsBuiltInLocale(std::string_view name) {
    for (const char *known : kBuiltInLocales)
        if (name.size() == 3 && UTLstrnicmp(name.data(), known, 3) == 0) return true;
    return false;
}

void CopyText(char *dst, size_t size, std::string_view text) {
    if (size == 0) return;
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
}

bool ParseLong(std::string_view text, long &value) {
    const char *b = text.data(), *e = b + text.size();
    if (b != e && *b == '+') ++b;
    auto [p, ec] = std::from_chars(b, e, value);
    return b != e && ec == std::errc() && p == e;
}

bool ParseInt(std::string_view text, int &value) {
    long v = 0;
    if (!ParseLong(text, v) || v < -2147483647L - 1 || v > 2147483647L) return false;
    value = static_cast<int>(v);
    return true;
}

void TrimBlanks(std::string &text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    if (b > 0 || e < text.size()) text = text.substr(b, e - b);
}

bool HasHighBytes(std::string_view text) {
    unsigned char any = 0;
    for (char c : text) any |= static_cast<unsigned char>(c);
    return (any & 0x80) != 0;
}

void Utf8ToLatin(std::string &text) {
    const int32_t n = UTLUtf8ToAnsi(text.data(), static_cast<int32_t>(text.size()));
    text.resize(static_cast<size_t>(n));
}

void LatinToUtf8(std::string_view text, std::string &out) {
    const size_t start = out.size();
    out.resize(start + text.size() * 3);
    const char *src = text.data();
    char *dst = out.data() + start;
    AnsiToUtf8Ex(&src, text.data() + text.size(), &dst, out.data() + out.size(), 1);
    out.resize(static_cast<size_t>(dst - out.data()));
}

std::string ToUtf8(std::string_view latin) {
    std::string out;
    LatinToUtf8(latin, out);
    return out;
}

namespace {

// Length of the valid UTF-8 sequence at s[0] (at most n bytes), 0 when
// there is none: no overlong forms, surrogates or values past U+10FFFF.
size_t Utf8SequenceLength(const unsigned char *s, size_t n, uint32_t &cp) {
    const unsigned char c = s[0];
    size_t len;
    uint32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2, min = 0x80, cp = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, min = 0x800, cp = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, min = 0x10000, cp = c & 0x07u;
    } else {
        return 0;
    }
    if (n < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    uint32_t cp = 0;
    for (size_t i = 0, len; i < text.size(); i += len)
        if ((len = Utf8SequenceLength(s + i, text.size() - i, cp)) == 0) return false;
    return true;
}

void AppendJsonString(std::string &out, std::string_view text) {
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const size_t n = text.size();
    out += '"';
    for (size_t i = 0; i < n;) {
        uint32_t cp = 0;
        const size_t len = Utf8SequenceLength(s + i, n - i, cp);
        if (len == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (cp == '"' || cp == '\\') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(cp));
            out += esc;
        } else {
            out.append(text.data() + i, len);
        }
        i += len;
    }
    out += '"';
}

std::string QuoteChar(char c, bool latin1) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%02X", u);
        return hex;
    }
    std::string out = "'";
    if (latin1 || u < 0x80) {
        out += c;
    } else {
        LatinToUtf8(std::string_view(&c, 1), out);
    }
    return out + "'";
}

}  // namespace cmnw::tool
