#include "cmnw32/unicode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Units = std::u16string;

// Converts UTF-8 with a destination of dstUnits units and returns what was
// written and how many source bytes were taken.
std::pair<Units, size_t> ToUtf16(const std::string &in, size_t dstUnits) {
    std::vector<uint16_t> out(dstUnits + 1, 0xABCD);  // one guard unit
    const char *src = in.data();
    uint16_t *dst = out.data();
    Utf8ToUtf16(&src, in.data() + in.size(), &dst, out.data() + dstUnits);
    EXPECT_EQ(out[dstUnits], 0xABCD) << "wrote past the destination end";
    return {Units(out.begin(), out.begin() + (dst - out.data())),
            static_cast<size_t>(src - in.data())};
}

std::pair<std::string, size_t> AnsiToUtf8String(const std::string &in, size_t dstBytes,
                                                uint32_t flags) {
    std::string out(dstBytes + 1, '#');
    const char *src = in.data();
    char *dst = out.data();
    uint32_t n = AnsiToUtf8Ex(&src, in.data() + in.size(), &dst, out.data() + dstBytes, flags);
    EXPECT_EQ(out[dstBytes], '#') << "wrote past the destination end";
    EXPECT_EQ(n, static_cast<uint32_t>(dst - out.data()));
    return {out.substr(0, n), static_cast<size_t>(src - in.data())};
}

TEST(Utf16CharToUtf8, WritesOneToFourBytes) {
    const struct {
        int32_t c;
        const char *want;
    } cases[] = {{0x7FF, "\xDF\xBF"}, {0xD800, "\xED\xA0\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"},
                 {0x110000, ""},      {-1, ""}};
    for (const auto &c : cases) {
        char out[6] = "#####";
        int32_t n = Utf16CharToUtf8(c.c, out);
        EXPECT_EQ(std::string(out, static_cast<size_t>(n)), c.want) << std::hex << c.c;
        EXPECT_EQ(out[n], '#');
    }
    EXPECT_EQ(Utf16CharToUtf8(0x41, nullptr), 0);
}

// Every byte under both flags is checked against iconv in
// unicode_reference_test.cpp; these are the destination limits.
TEST(AnsiToUtf8, StopsBeforeACharacterThatDoesNotFit) {
    const struct {
        const char *in;
        size_t room;
        uint32_t flags;
        const char *want;
        size_t taken;
    } cases[] = {
        {"ab\x80", 4, 1, "ab", 2},  {"ab\x80", 5, 1, "ab\xE2\x82\xAC", 3},
        {"ab\xE9", 3, 0, "ab", 2},  {"ab\xE9", 4, 0, "ab\xC3\xA9", 3},
        {"abcdefghijklmnopqrstuvwxyz", 20, 0, "abcdefghijklmnopqrst", 20}, {"x", 0, 0, "", 0},
    };
    for (const auto &c : cases) {
        auto [out, taken] = AnsiToUtf8String(c.in, c.room, c.flags);
        EXPECT_EQ(out, c.want) << c.in << " room " << c.room;
        EXPECT_EQ(taken, c.taken) << c.in << " room " << c.room;
    }
    std::string src = "\x80";
    const char *from = src.data();
    char buf[4];
    char *to = buf;
    EXPECT_EQ(AnsiToUtf8(&from, src.data() + 1, &to, buf + 4), 2u);
    EXPECT_EQ(AnsiToUtf8(nullptr, nullptr, &to, buf + 4), 0u);
}

TEST(Utf8ToUtf16, DecodesLenientlyAndStopsSafely) {
    const struct {
        std::string in;
        size_t room;
        Units want;
        size_t taken;
    } cases[] = {
        // Malformed input against a model: unicode_reference_test.cpp.
        {"\xC0\x80", 4, Units(1, u'\0'), 2},      // overlong forms decode as they stand
        {"ab\xE2\x82", 4, u"ab\u00E2\u0082", 4},  // cut short by the source end
        {"a\xF0\x9F\x98\x80", 2, u"a", 1},        // no room for a surrogate pair
        {"\xF0\x9F\x98\x80", 1, u"", 0}, {"ab", 0, u"", 0},
        {"0123456789abcdefghij", 17, u"0123456789abcdefg", 17},
        {"0123456789abcdef\xCE\xB1"
         "0123456789abcdef",
         40, u"0123456789abcdef\u03B10123456789abcdef", 34},
    };
    for (const auto &c : cases) {
        auto [out, taken] = ToUtf16(c.in, c.room);
        EXPECT_EQ(out, c.want) << c.in << " room " << c.room;
        EXPECT_EQ(taken, c.taken) << c.in << " room " << c.room;
    }
    const char *src = "ab";
    uint16_t out[2];
    uint16_t *dst = out;
    Utf8ToUtf16(&src, nullptr, &dst, out + 2);
    EXPECT_EQ(dst, out);
}

TEST(Utf8ToUtf16Char, LowHalfIsTheFirstUnit) {
    const struct {
        const char *in;
        uint32_t want;
    } cases[] = {
        {"A", 0x00000041},          // then the terminator
        {"\xC3\xA9x", 0x007800E9},  // then the next character
        {"\xE2\x82\xAC", 0x000020AC},
        {"\xF0\x9F\x98\x80", 0xDE00D83D},  // lead and trail surrogate
        {"", 0xFFFF0000},                  // nothing after the terminator is read
        {"\xE2\x82", 0xFFFF2080},          // the terminator ends the sequence
        {"\xF0\x9F", 0x009F00F0},          // cut short: bytes pass through
    };
    for (const auto &c : cases) {
        std::vector<char> exact(c.in, c.in + std::strlen(c.in) + 1);  // exact size for ASan
        EXPECT_EQ(static_cast<uint32_t>(Utf8ToUtf16Char(exact.data())), c.want) << c.in;
    }
    EXPECT_EQ(Utf8ToUtf16Char(nullptr), -1);
}

TEST(UTLUtf8ToAnsi, NarrowsInPlace) {
    const struct {
        std::string in;
        int32_t len;
        std::string want;
    } cases[] = {
        // Each BMP character against iconv: unicode_reference_test.cpp.
        {"\xE2\x82\xAC\x41", 4, "\x80\x41"},
        {"\xF0\x9F\x98\x80!", 5, "?!"},  // four bytes become one character
        {"\xE2\x82\xAC", 2, "?"},        // a three-byte lead cut short by len
        {"\xE2\x82\xAC", 1, "\xE2"}, {"\xC3", 1, "\xC3"},
        {"\xE0\x85\x92", 3, "?"},  // overlong U+0152 is not a two-byte sequence
        {"ab\x80z", 4, "ab\x80z"},
    };
    for (const auto &c : cases) {
        std::string s = c.in;
        int32_t n = UTLUtf8ToAnsi(s.data(), c.len);
        ASSERT_EQ(n, static_cast<int32_t>(c.want.size())) << c.in;
        EXPECT_EQ(s.substr(0, static_cast<size_t>(n)), c.want) << c.in;
        EXPECT_EQ(s.substr(static_cast<size_t>(c.len)), c.in.substr(static_cast<size_t>(c.len)));
    }
    EXPECT_EQ(UTLUtf8ToAnsi(nullptr, 4), 0);
    char s[] = "abc";
    EXPECT_EQ(UTLUtf8ToAnsi(s, -1), 0);
}

}  // namespace
