// The bar type table and its pattern tables, checked against independent
// statements of each symbology's structure.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <set>
#include <string>

#include "cmnw32/barcode.h"
#include "format/barcode_tables.h"

namespace {

// Reads a field of a packed record by value: gtest's comparisons take their
// arguments by reference, which a misaligned field cannot bind to.
template <typename T>
T Copy(T value) {
    return value;
}

using namespace cmnw::barcode;

size_t CountOf(const char *const *table) {
    for (const UTLBarType *t = kBarTypes; t->typeLetter != 0; ++t) {
        if (t->patterns != table) continue;
        if (table == kCode39Patterns) return kCode39Count;
        if (table == kCodabarPatterns) return kCodabarCount;
        if (table == kTwoOfFivePatterns) return kTwoOfFiveCount;
        if (table == kMsiPatterns) return kMsiCount;
        if (table == kCode128Patterns) return kCode128Count;
        if (table == kCode93Patterns) return kCode93Count;
    }
    return 0;
}

// The packed record layout callers compile against (LP64).
static_assert(sizeof(UTLBarType) == 38 && offsetof(UTLBarType, startPattern) == 1);
static_assert(offsetof(UTLBarType, stopPattern) == 9 && offsetof(UTLBarType, maxLength) == 17);
static_assert(offsetof(UTLBarType, reserved) == 19 && offsetof(UTLBarType, widths) == 21);
static_assert(offsetof(UTLBarType, patterns) == 29 && offsetof(UTLBarType, firstChar) == 37);

TEST(BarcodeTable, TypesInOrderWithTheirTables) {
    const char order[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ14";
    for (size_t i = 0; i < kBarTypeCount; ++i) {
        const UTLBarType &t = kBarTypes[i];
        EXPECT_EQ(Copy(t.typeLetter), order[i]);
        EXPECT_EQ(Copy(t.reserved), 0);
        EXPECT_EQ(UTLFindBarType(order[i]), &t);
        ASSERT_NE(Copy(t.widths), nullptr);
        EXPECT_TRUE(std::strlen(t.widths) == 4 || std::strlen(t.widths) == 8) << order[i];
        if (t.patterns != nullptr) {
            EXPECT_NE(CountOf(t.patterns), 0u);
        }
    }
    EXPECT_EQ(Copy(kBarTypes[kBarTypeCount].typeLetter), 0);
    EXPECT_EQ(Copy(kBarTypes[kBarTypeCount].patterns), nullptr);

    // The types that share a symbology share its record apart from widths.
    EXPECT_STREQ(UTLFindBarType('M')->widths, UTLFindBarType('A')->widths);
    EXPECT_STREQ(UTLFindBarType('C')->widths, "1245");
    EXPECT_EQ(Copy(UTLFindBarType('D')->startPattern), nullptr);
    EXPECT_EQ(Copy(UTLFindBarType('U')->startPattern), nullptr);
    EXPECT_STREQ(UTLFindBarType('Y')->stopPattern, "00003000");
    EXPECT_STREQ(UTLFindBarType('H')->stopPattern, "000000");
    EXPECT_EQ(Copy(UTLFindBarType('1')->firstChar), 0);
    EXPECT_EQ(Copy(UTLFindBarType('Z')->firstChar), 0x30);
    for (char letter : {'a', '2', '\0'}) EXPECT_EQ(UTLFindBarType(letter), nullptr) << letter;
}

int Wide(const std::string &p, size_t from, size_t step, size_t n) {
    int wide = 0;
    for (size_t i = from; i < n; i += step) wide += p[i] == '1';
    return wide;
}

// Code 39: the 40 regular characters have one wide space and two wide bars.
// The wide space's position picks the group (digits "1".."9","0" at the
// second space, A..J third, K..T fourth, U..Z "-" "." blank "*" first), and
// within a group the pair of wide bars runs through one fixed cycle of ten.
// "$", "/", "+", "%" have three wide spaces and no wide bar.
TEST(BarcodeTable, Code39FollowsTheGroupRule) {
    const int barPairs[10][2] = {{0, 8}, {2, 8}, {0, 2}, {4, 8}, {0, 4},
                                 {2, 4}, {6, 8}, {0, 6}, {2, 6}, {4, 6}};
    struct Group {
        const char *chars;
        int wideSpace;
    };
    const Group groups[] = {{"1234567890", 3}, {"ABCDEFGHIJ", 5}, {"KLMNOPQRST", 7},
                            {"UVWXYZ-. *", 1}};
    std::set<char> seen;
    for (const Group &g : groups) {
        for (int k = 0; k < 10; ++k) {
            std::string want(9, '0');
            want[g.wideSpace] = want[barPairs[k][0]] = want[barPairs[k][1]] = '1';
            want += '0';
            char c = g.chars[k];
            EXPECT_EQ(kCode39Patterns[c - 0x20], want) << c;
            seen.insert(c);
        }
    }
    const struct {
        char c;
        const char *spaces;
    } special[] = {{'$', "135"}, {'/', "137"}, {'+', "157"}, {'%', "357"}};
    for (const auto &s : special) {
        std::string want(10, '0');
        for (const char *p = s.spaces; *p; ++p) want[*p - '0'] = '1';
        EXPECT_EQ(kCode39Patterns[s.c - 0x20], want) << s.c;
        seen.insert(s.c);
    }
    for (size_t i = 0; i < kCode39Count; ++i) {
        std::string p = kCode39Patterns[i];
        ASSERT_EQ(p.size(), 10u);
        if (seen.count(static_cast<char>(0x20 + i)) != 0) {
            EXPECT_EQ(Wide(p, 0, 1, 9), 3) << i;
            EXPECT_EQ(p[9], '0');
        } else {
            EXPECT_EQ(p, "0000000000") << i;
        }
    }
    EXPECT_STREQ(UTLFindBarType('A')->startPattern, kCode39Patterns['*' - 0x20]);
}

// Codabar: digits, "-" and "$" have one wide bar and one wide space; ":",
// "/", "." and "+" three wide bars; the start/stop characters one wide bar
// and two wide spaces. T, N, *, E repeat A, B, C, D.
TEST(BarcodeTable, CodabarWideElements) {
    std::set<std::string> distinct;
    for (size_t i = 0; i < kCodabarCount; ++i) {
        char c = static_cast<char>(0x24 + i);
        std::string p = kCodabarPatterns[i];
        ASSERT_EQ(p.size(), 8u);
        int bars = Wide(p, 0, 2, 7), spaces = Wide(p, 1, 2, 7);
        if (std::strchr("0123456789-$", c)) {
            EXPECT_EQ(bars, 1) << c;
            EXPECT_EQ(spaces, 1) << c;
        } else if (std::strchr(":/.+", c)) {
            EXPECT_EQ(bars, 3) << c;
            EXPECT_EQ(spaces, 0) << c;
        } else if (std::strchr("ABCDTN*E", c)) {
            EXPECT_EQ(bars, 1) << c;
            EXPECT_EQ(spaces, 2) << c;
        } else {
            EXPECT_EQ(p, "00000000") << c;
            continue;
        }
        EXPECT_EQ(p[7], '1');
        if (!std::strchr("TN*E", c)) {
            EXPECT_TRUE(distinct.insert(p).second) << c;
        }
    }
    EXPECT_EQ(distinct.size(), 20u);
    const char alias[][2] = {{'T', 'A'}, {'N', 'B'}, {'*', 'C'}, {'E', 'D'}};
    for (const auto &a : alias)
        EXPECT_STREQ(kCodabarPatterns[a[0] - 0x24], kCodabarPatterns[a[1] - 0x24]);
    // 3 is wide bar then wide space; 0 ends in wide space then wide bar.
    EXPECT_STREQ(kCodabarPatterns['3' - 0x24], "11000001");
    EXPECT_STREQ(kCodabarPatterns['0' - 0x24], "00000111");
}

// Interleaved 2 of 5: two wide of five, the positions weighted 1, 2, 4, 7, 0
// adding up to the digit (11 stands for 0).
TEST(BarcodeTable, TwoOfFiveWeights) {
    const int weight[5] = {1, 2, 4, 7, 0};
    for (int d = 0; d < 10; ++d) {
        std::string p = kTwoOfFivePatterns[d];
        ASSERT_EQ(p.size(), 5u);
        EXPECT_EQ(Wide(p, 0, 1, 5), 2) << d;
        int sum = 0;
        for (int i = 0; i < 5; ++i) sum += p[i] == '1' ? weight[i] : 0;
        EXPECT_EQ(sum == 11 ? 0 : sum, d);
    }
    EXPECT_STREQ(kTwoOfFivePatterns[10], UTLFindBarType('F')->startPattern);
    EXPECT_STREQ(kTwoOfFivePatterns[11], UTLFindBarType('F')->stopPattern);
}

TEST(BarcodeTable, MsiBinaryDigits) {
    for (int d = 0; d < 10; ++d) {
        std::string want;
        for (int bit = 3; bit >= 0; --bit) want += (d >> bit) & 1 ? "10" : "01";
        EXPECT_EQ(kMsiPatterns[d], want) << d;
    }
    EXPECT_STREQ(kMsiPatterns[10], "10");
    EXPECT_STREQ(kMsiPatterns[11], "0101");
}

// Widths-minus-one notation: every element is 1..4 modules wide.
std::string Widths(const char *pattern) {
    std::string w;
    for (const char *p = pattern; *p; ++p) w += static_cast<char>(*p + 1);
    return w;
}

int Sum(const std::string &w, size_t from, size_t step) {
    int s = 0;
    for (size_t i = from; i < w.size(); i += step) s += w[i] - '0';
    return s;
}

// Code 128: 11 modules in three bars and three spaces, an even number of bar
// modules, every pattern distinct; the stop has a seventh element (13).
TEST(BarcodeTable, Code128ElevenModules) {
    std::set<std::string> distinct;
    for (size_t v = 0; v < kCode128Count - 1; ++v) {
        std::string w = Widths(kCode128Patterns[v]);
        ASSERT_EQ(w.size(), 6u) << v;
        for (char c : w) EXPECT_TRUE(c >= '1' && c <= '4') << v;
        EXPECT_EQ(Sum(w, 0, 1), 11) << v;
        EXPECT_EQ(Sum(w, 0, 2) % 2, 0) << v;
        EXPECT_TRUE(distinct.insert(w).second) << v;
    }
    EXPECT_EQ(Widths(kCode128Patterns[106]), "2331112");
    EXPECT_EQ(Sum(Widths(kCode128Patterns[106]), 0, 1), 13);
    EXPECT_EQ(Widths(kCode128Patterns[0]), "212222");
    EXPECT_EQ(Widths(kCode128Patterns[103]), "211412");
    EXPECT_STREQ(UTLFindBarType('R')->startPattern, kCode128Patterns[103]);
    EXPECT_STREQ(UTLFindBarType('S')->startPattern, kCode128Patterns[104]);
    EXPECT_STREQ(UTLFindBarType('T')->startPattern, kCode128Patterns[105]);
    EXPECT_STREQ(UTLFindBarType('U')->stopPattern, kCode128Patterns[106]);
}

// Code 93: nine modules in three bars and three spaces, distinct, none equal
// to the start character.
TEST(BarcodeTable, Code93NineModules) {
    std::set<std::string> distinct{Widths("000030")};
    for (size_t v = 0; v < kCode93Count; ++v) {
        std::string w = Widths(kCode93Patterns[v]);
        ASSERT_EQ(w.size(), 6u) << v;
        for (char c : w) EXPECT_TRUE(c >= '1' && c <= '4') << v;
        EXPECT_EQ(Sum(w, 0, 1), 9) << v;
        EXPECT_TRUE(distinct.insert(w).second) << v;
    }
    EXPECT_EQ(Widths(kCode93Patterns[0]), "131112");
    EXPECT_EQ(Widths(kCode93Patterns[10]), "211113");  // A
    EXPECT_EQ(Widths(kCode93Patterns[46]), "122211");
}

}  // namespace
