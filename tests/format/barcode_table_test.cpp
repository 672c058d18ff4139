// The bar type table: the record layout, the order of the types and their
// lookup by letter. The pattern tables are constant data, checked through the
// validation and character tests of each symbology.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
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

}  // namespace
