// The built-in class table checked as a whole against Unicode properties of
// code page 1252 (iconv for the code page, ICU for the properties).
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <string>

#include "chars/iconv_reference.h"
#include "cmnw32/ctype.h"

namespace {

// Code point of each byte; the undefined positions stand for themselves.
std::array<int32_t, 256> CodePage1252() {
    auto map = cmnw::test::DecodeCodePage("CP1252");
    for (unsigned b = 0; b < 256; ++b) {
        if (map[b] < 0) map[b] = static_cast<int32_t>(b);
    }
    return map;
}

// Class flags a byte gets from the Unicode properties of its character.
uint16_t FlagsFromUnicode(UChar32 u) {
    uint16_t flags = 0;
    if (u_isalpha(u)) flags |= CT_ALPHA;
    if (u_isupper(u)) flags |= CT_UPPER;
    if (u_islower(u)) flags |= CT_LOWER;
    if (u_isdigit(u)) flags |= CT_DIGIT | CT_XDIGIT;
    if (u < 0x80 && u_isxdigit(u)) flags |= CT_XDIGIT;
    if (u_hasBinaryProperty(u, UCHAR_WHITE_SPACE) && u != 0xA0) flags |= CT_SPACE;
    if (u_isblank(u)) flags |= CT_BLANK;
    if (u_iscntrl(u) || u_charType(u) == U_UNASSIGNED) flags |= CT_CNTRL;
    if (u_isgraph(u) && !u_isalpha(u) && !u_isdigit(u)) flags |= CT_PUNCT;
    return flags;
}

TEST(CTypeTable, ClassFlagsAreUnicodePropertiesOfCodePage1252) {
    // Where the table departs from Unicode properties on purpose.
    const std::map<unsigned, uint16_t> departures = {
        {0x83, CT_LOWER | CT_ALPHA | CT_PUNCT},  // florin: letter that also sorts as a sign
        {0x88, CT_PUNCT},                        // modifier circumflex and soft hyphen: signs
        {0xAD, CT_PUNCT},
        {0x8E, CT_CNTRL},  // Z and z with caron: controls
        {0x9E, CT_CNTRL},
        {0xAA, CT_PUNCT},  // ordinal indicators and micro sign: signs
        {0xBA, CT_PUNCT}, {0xB5, CT_PUNCT},
        {0xB2, CT_DIGIT | CT_PUNCT},  // superscript digits are digits
        {0xB3, CT_DIGIT | CT_PUNCT}, {0xB9, CT_DIGIT | CT_PUNCT},
    };
    const uint16_t *table = GetCTypeTable();
    auto cp = CodePage1252();
    for (unsigned b = 0; b < 256; ++b) {
        auto it = departures.find(b);
        uint16_t want = it != departures.end() ? it->second : FlagsFromUnicode(cp[b]);
        EXPECT_EQ(table[b], want) << std::hex << "byte 0x" << b << " U+" << cp[b];
    }
}

TEST(CTypeTable, CaseMapsAreUnicodeCaseMappingWithinCodePage1252) {
    const uint16_t *table = GetCTypeTable();
    auto cp = CodePage1252();
    auto byteOf = [&](int32_t u, unsigned fallback) {
        auto at = std::find(cp.begin(), cp.end(), u);
        return at != cp.end() ? static_cast<unsigned>(at - cp.begin()) : fallback;
    };
    for (unsigned b = 0; b < 256; ++b) {
        // Z and z with caron are controls in the table and keep their case.
        bool keeps = b == 0x8E || b == 0x9E;
        unsigned upper = keeps ? b : byteOf(u_toupper(cp[b]), b);
        unsigned lower = keeps ? b : byteOf(u_tolower(cp[b]), b);
        EXPECT_EQ(table[CT_UPPER_MAP + b], upper) << std::hex << "byte 0x" << b;
        EXPECT_EQ(table[CT_LOWER_MAP + b], lower) << std::hex << "byte 0x" << b;
    }
}

}  // namespace
