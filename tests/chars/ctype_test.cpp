#include "cmnw32/ctype.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "chars/fold_compare.h"
#include "chars/iconv_reference.h"
#include "common/test_support.h"

namespace {

using ClassFn = int32_t (*)(int32_t);

// Class flags a byte gets from the Unicode properties of its character.
uint16_t FlagsFromUnicode(UChar32 u) {
    return (u_isalpha(u) ? CT_ALPHA : 0) | (u_isupper(u) ? CT_UPPER : 0) |
           (u_islower(u) ? CT_LOWER : 0) | (u_isdigit(u) ? CT_DIGIT | CT_XDIGIT : 0) |
           (u < 0x80 && u_isxdigit(u) ? CT_XDIGIT : 0) |
           (u_hasBinaryProperty(u, UCHAR_WHITE_SPACE) && u != 0xA0 ? CT_SPACE : 0) |
           (u_isblank(u) ? CT_BLANK : 0) |
           (u_iscntrl(u) || u_charType(u) == U_UNASSIGNED ? CT_CNTRL : 0) |
           (u_isgraph(u) && !u_isalpha(u) && !u_isdigit(u) ? CT_PUNCT : 0);
}

TEST(CTypeTable, ClassFlagsAreUnicodePropertiesOfCodePage1252) {
    // Where the table departs from Unicode properties on purpose.
    const std::map<unsigned, uint16_t> departures = {
        {0x83, CT_LOWER | CT_ALPHA | CT_PUNCT},    // florin: letter that also sorts as a sign
        {0x88, CT_PUNCT}, {0xAD, CT_PUNCT},        // modifier circumflex, soft hyphen: signs
        {0x8E, CT_CNTRL}, {0x9E, CT_CNTRL},        // Z and z with caron: controls
        {0xAA, CT_PUNCT}, {0xBA, CT_PUNCT}, {0xB5, CT_PUNCT},  // ordinals, micro: signs
        {0xB2, CT_DIGIT | CT_PUNCT}, {0xB3, CT_DIGIT | CT_PUNCT},  // superscript digits
        {0xB9, CT_DIGIT | CT_PUNCT}};
    const uint16_t *table = GetCTypeTable();
    auto cp = cmnw::test::DecodeCodePage("CP1252");  // undefined bytes stand for themselves
    for (unsigned b = 0; b < 256; ++b) cp[b] = cp[b] < 0 ? static_cast<int32_t>(b) : cp[b];
    auto byteOf = [&](int32_t u, unsigned fallback) {
        auto at = std::find(cp.begin(), cp.end(), u);
        return at != cp.end() ? static_cast<unsigned>(at - cp.begin()) : fallback;
    };
    for (unsigned b = 0; b < 256; ++b) {
        auto it = departures.find(b);
        EXPECT_EQ(table[b], it != departures.end() ? it->second : FlagsFromUnicode(cp[b]))
            << std::hex << "byte 0x" << b << " U+" << cp[b];
        // Case maps are Unicode case mapping within the code page; Z and z
        // with caron, controls in the table, keep their case.
        const bool keeps = b == 0x8E || b == 0x9E;
        EXPECT_EQ(table[CT_UPPER_MAP + b], keeps ? b : byteOf(u_toupper(cp[b]), b)) << b;
        EXPECT_EQ(table[CT_LOWER_MAP + b], keeps ? b : byteOf(u_tolower(cp[b]), b)) << b;
    }
}

// Bytes give the table flags under each class mask; larger codes go to
// Unicode properties.
TEST(CTypeClassify, BytesByTheTableLargeCodesByUnicode) {
    const std::pair<ClassFn, uint16_t> classes[] = {
        {UTLisalnum, 0x102}, {UTLisalpha, 0x100}, {UTLiscntrl, 0x020}, {UTLisdigit, 0x002},
        {UTLisgraph, 0x112}, {UTLislower, 0x040}, {UTLisprint, 0x116}, {UTLispunct, 0x010},
        {UTLisspace, 0x008}, {UTLisupper, 0x080}, {UTLisxdigit, 0x001}};
    for (const auto &[fn, mask] : classes) {
        for (int32_t c = 0; c < 256; ++c) ASSERT_EQ(fn(c), GetCTypeTable()[c] & mask) << c;
    }
    const struct { ClassFn fn; int32_t c, want; } cases[] = {
        {UTLisalpha, -23, 0},    // a sign-extended 0xE9 is a large code
        {UTLisupper, 0x391, 1},  {UTLisdigit, 0x661, 1},   {UTLisspace, 0x2003, 1},
        {UTLispunct, 0x2014, 1 << U_DASH_PUNCTUATION},     {UTLisgraph, 0xD800, 0},
        {UTLisxdigit, 0xFF21, 1}, {UTLisxdigit, 0x391, 0}, {UTLisalpha, 0x110000, 0},
    };
    for (const auto &c : cases) EXPECT_EQ(c.fn(c.c), c.want) << std::hex << "code 0x" << c.c;
}

TEST(CTypeCase, MapsBytesThroughTheTableAndLargeCodesThroughUnicode) {
    const struct { int32_t c, upper, lower; } cases[] = {
        {0xFF, 0x9F, 0xFF}, {0x10428, 0x10400, 0x10428}, {0x110000, 0x110000, 0x110000},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UTLtoupper(c.c), c.upper) << std::hex << c.c;
        EXPECT_EQ(UTLtolower(c.c), c.lower) << std::hex << c.c;
    }
    char text[] = "Gr\xFC\xDF" "e \xFF!";
    EXPECT_EQ(UTLstrupr(text), text);
    EXPECT_STREQ(text, "GR\xDC\xDF" "E \x9F!");
    EXPECT_STREQ(UTLstrlwr(text), "gr\xFC\xDF" "e \xFF!");
}

TEST(CTypeCompare, ResultIsTheDifferenceOfTheLastPair) {
    const struct {
        const char *a, *b;
        size_t n;
        int32_t icmp, nicmp, coll, icoll, ncoll, nicoll;
    } cases[] = {
        // Weights: a 137, A 138, B 153, b 154, C 155, c 156, D 159, d 160.
        {"abc", "ABD", 9, -1, -1, -1, -4, -1, -4}, {"abc", "ABD", 2, -1, 0, -1, -4, -1, 0},
        {"a", "B", 9, -1, -1, -16, -17, -16, -17}, {"aB", "Ab", 9, 0, 0, -1, 0, -1, 0},
        {"ab", "abc", 9, -'c', -'c', -156, -156, -156, -156}, {"x", "y", 0, -1, 0, -2, -2, 0, 0},
        {"\xC9t\xE9", "\xE9T\xC9", 9, 0, 0, -1, 0, -1, 0},
        {"1", "\xB9", 9, '1' - 0xB9, '1' - 0xB9, 1, 1, 1, 1},  // superscript one first
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b + " n=" + std::to_string(c.n));
        EXPECT_EQ(UTLstricmp(c.a, c.b), c.icmp);
        EXPECT_EQ(UTLstrnicmp(c.a, c.b, c.n), c.nicmp);
        EXPECT_EQ(UTLstrcoll(c.a, c.b), c.coll);
        EXPECT_EQ(UTLstricoll(c.a, c.b), c.icoll);
        EXPECT_EQ(UTLstrncoll(c.a, c.b, c.n), c.ncoll);
        EXPECT_EQ(UTLstrnicoll(c.a, c.b, c.n), c.nicoll);
    }
    // UTLmemicmp compares exactly n bytes, past a NUL.
    EXPECT_EQ(UTLmemicmp("A\0x", "a\0Y", 2), 0);
    EXPECT_EQ(UTLmemicmp("A\0x", "a\0Y", 3), 'x' - 'y');
}

// The documented walk: lower-case entries pair by pair until one differs or
// the first string's entry is 0 (at most n pairs).
int32_t TableWalk(const uint16_t *table, const char *a, const char *b, size_t n = SIZE_MAX) {
    const uint16_t *lower = table + CT_LOWER_MAP;
    int32_t x = 0, y = 0;
    for (size_t i = 0; i < n; ++i) {
        x = lower[static_cast<unsigned char>(a[i])];
        y = lower[static_cast<unsigned char>(b[i])];
        if (x == 0 || x != y) break;
    }
    return x - y;
}

// Case variants with a byte now and then changed, at every length, alignment
// and block width, under the built-in and a replaced table, and at a page end.
TEST(CTypeCompare, StricmpMatchesTheTableWalkAtEveryLengthAndAlignment) {
    std::mt19937 rng(1234);
    const char alphabet[] = "aAzZ@[`{09 -_\xC0\xE0\xDE\xFE\xD7\xF7\xDF\xFF\x9F\x8A\x9A\x8C\x9C\xAA\x01";
    const uint16_t *builtIn = GetCTypeTable();
    std::array<uint16_t, CT_TABLE_SIZE> replaced{};
    std::memcpy(replaced.data(), builtIn, sizeof replaced);
    replaced[CT_LOWER_MAP + '-'] = '_';
    replaced[CT_LOWER_MAP + 0xE0] = 0x1E0;
    auto variant = [&](const std::string &a) {
        std::string b = a;
        for (char &ch : b) {
            if (rng() % 2) ch = static_cast<char>(UTLtoupper(static_cast<unsigned char>(ch)));
        }
        if (!b.empty() && rng() % 2) b[rng() % b.size()] = alphabet[rng() % sizeof alphabet];
        if (rng() % 4 == 0) b += alphabet[rng() % (sizeof alphabet - 1)];
        return b;
    };
    for (const uint16_t *table : {builtIn, static_cast<const uint16_t *>(replaced.data())}) {
        SetCTypeTable(table);
        auto check = [&](const char *pa, const char *pb, size_t n) {
            ASSERT_EQ(UTLstricmp(pa, pb), TableWalk(table, pa, pb));
            ASSERT_EQ(UTLstricmp(pb, pa), TableWalk(table, pb, pa));
            ASSERT_EQ(UTLstrnicmp(pa, pb, n), TableWalk(table, pa, pb, n)) << n;
            for (size_t width = 16; table == builtIn && width <= cmnw::chars::WidestFoldBlock();
                 width *= 2) {
                ASSERT_EQ(cmnw::chars::CompareFoldedBuiltInBy(
                              width, reinterpret_cast<const unsigned char *>(pa),
                              reinterpret_cast<const unsigned char *>(pb)),
                          TableWalk(table, pa, pb))
                    << width;
            }
        };
        // Every other pair lies where its page offsets together look close to
        // a page end though neither is.
        alignas(4096) static char bufA[4096], bufB[4096];
        for (size_t len = 0; len <= 300; ++len) {
            std::string a(len, ' ');
            for (char &ch : a) ch = alphabet[rng() % (sizeof alphabet - 1)];
            for (size_t alignA = 0; alignA < 32; ++alignA) {
                SCOPED_TRACE(std::to_string(len) + " at " + std::to_string(alignA));
                char *pa = std::strcpy(bufA + (alignA % 2 ? 0x800 : 0x100) + alignA, a.c_str());
                char *pb = std::strcpy(bufB + 0x7C0 + (alignA * 5 + len) % 32, variant(a).c_str());
                check(pa, pb, rng() % (len + 2));
            }
            // Terminators are the last readable bytes.
            cmnw::test::GuardedBuffer guardA(a + '\0'), guardB(variant(a) + '\0');
            check(guardA.data(), guardB.data(), len + 1);
        }
    }
    SetCTypeTable(builtIn);
}

TEST(CTypeClip, ClearsTrailingWhiteSpaceAndReturnsTheLengthKept) {
    const struct { const char *in; int32_t len, clip, trim; } cases[] = {
        {"ab  ", 4, 2, 2}, {"ab\xA0 ", 4, 3, 3}, {"    ", 4, 0, 0}, {"ab \t\n", 5, 2, 2},
        {"ab  ", 3, 2, 2}, {"ab", 0, 0, 0},      {"ab", -5, 0, 0},  {"a\xA0", 2, 2, 2},
    };
    for (const auto &c : cases) {
        std::string clip(c.in), trim(c.in);
        EXPECT_EQ(UTLStrClip(clip.data(), c.len), c.clip) << c.in;
        EXPECT_EQ(UTLTrimSpace(trim.data(), c.len), c.trim) << c.in;
        for (int32_t i = 0; i < c.len; ++i) {
            EXPECT_EQ(clip[i] == '\0', i >= c.clip) << c.in << " at " << i;
            EXPECT_EQ(trim[i] == '\0', i >= c.trim) << c.in << " at " << i;
        }
        EXPECT_TRUE(c.len < 0 || clip.substr(c.len) == std::string(c.in).substr(c.len))
            << c.in << ": touched past len";
    }
    std::u16string w = u"ab \u2003\u00A0 \u3000";
    EXPECT_EQ(UTLStrClipW(reinterpret_cast<uint16_t *>(w.data()), 7), 2);
    w = u"ab \u2003\u00A0 \u3000";
    EXPECT_EQ(UTLTrimSpaceW(reinterpret_cast<uint16_t *>(w.data()), 7), 5);
    EXPECT_EQ(w, std::u16string(u"ab \u2003\u00A0") + std::u16string(2, u'\0'));
}

TEST(CTypeClip, LeadingTrimAndKillSpaces) {
    const struct {
        const char16_t *in, *afterLeft, *afterKill;
        int32_t left, kill;
    } cases[] = {
        {u"   ", u"   ", u"", 3, 0},     {u"  ab ", u"ab ", u"ab", 3, 2},
        {u"\u00A0\u2003ab", u"ab", u"ab", 2, 2}, {u" \u00A0 ", u" \u00A0 ", u" \u00A0", 3, 2},
    };
    for (const auto &c : cases) {
        std::u16string left = c.in, kill = c.in;
        EXPECT_EQ(UTLStrLeftW(reinterpret_cast<uint16_t *>(left.data())), c.left);
        EXPECT_EQ(std::u16string(left.c_str()), c.afterLeft);
        EXPECT_EQ(UTLKillSpacesW(reinterpret_cast<uint16_t *>(kill.data())), c.kill);
        EXPECT_EQ(std::u16string(kill.c_str()), c.afterKill);
    }
}

}  // namespace
