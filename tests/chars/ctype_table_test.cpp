// The built-in class table checked as a whole against Unicode properties of
// code page 1252 (iconv for the code page, ICU for the properties).
#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
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

// The letter a byte sorts with: its base letter after removing accents, with
// the letters that have no decomposition placed by hand.
int BaseLetter(UChar32 u) {
    static const std::map<UChar32, int> placed = {{0xC6, 'a'},     {0xE6, 'a'},     {0xD0, 'd'},
                                                  {0xF0, 'd'},     {0x152, 'o'},    {0x153, 'o'},
                                                  {0xDF, 's'},     {0xDE, 'z' + 1}, {0xFE, 'z' + 1},
                                                  {0xD8, 'z' + 2}, {0xF8, 'z' + 2}};
    if (auto it = placed.find(u); it != placed.end()) return it->second;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2 *nfd = unorm2_getNFDInstance(&status);
    UChar in[2] = {static_cast<UChar>(u), 0};
    UChar out[8] = {};
    unorm2_normalize(nfd, in, 1, out, 8, &status);
    EXPECT_TRUE(U_SUCCESS(status));
    return u_tolower(out[0]);
}

TEST(CTypeTable, CollationOrdersSpacePunctuationDigitsLetters) {
    const uint16_t *table = GetCTypeTable();
    const uint16_t *weight = table + CT_COLLATE;
    auto cp = CodePage1252();
    std::array<int, 256> byWeight{};
    std::fill(byWeight.begin(), byWeight.end(), -1);
    for (unsigned b = 0; b < 256; ++b) {
        ASSERT_LT(weight[b], 256);
        ASSERT_EQ(byWeight[weight[b]], -1) << "weight used twice: " << weight[b];
        byWeight[weight[b]] = static_cast<int>(b);
    }
    // Rank of each kind of byte: controls and blanks, punctuation, digits,
    // letters. Along ascending weight the rank never falls, and letters come
    // in alphabetical clusters of their case and accented forms.
    auto rank = [&](unsigned b) {
        uint16_t flags = table[b];
        if (flags & CT_DIGIT) return 2;
        if ((flags & CT_ALPHA) && !(flags & CT_PUNCT)) return 3;
        if (flags & CT_PUNCT) return 1;
        return 0;
    };
    EXPECT_EQ(weight[0], 0);
    EXPECT_EQ(weight[' '], 1);
    int lastRank = 0, lastLetter = 0;
    UChar32 lastDigit = -1;
    for (int w = 0; w < 256; ++w) {
        unsigned b = static_cast<unsigned>(byWeight[w]);
        int r = rank(b);
        if (r == 0) {
            EXPECT_LT(w, weight['!']) << std::hex << "control 0x" << b;
            continue;
        }
        EXPECT_GE(r, lastRank) << std::hex << "byte 0x" << b;
        lastRank = r;
        if (r == 2) {
            // ASCII digits in order, each superscript digit directly before
            // its digit.
            auto digit = static_cast<UChar32>(u_getNumericValue(cp[b]));
            if (cp[b] > 0x7F) {
                EXPECT_EQ(byWeight[w + 1], '0' + digit) << std::hex << "byte 0x" << b;
            } else {
                EXPECT_EQ(digit, lastDigit + 1) << std::hex << "byte 0x" << b;
                lastDigit = digit;
            }
        }
        if (r == 3) {
            int letter = BaseLetter(cp[b]);
            EXPECT_GE(letter, lastLetter) << std::hex << "byte 0x" << b;
            lastLetter = letter;
        }
    }
}

TEST(CTypeTable, SharedLibraryCarriesItsPatchRecordOnce) {
    std::ifstream in(CMNW_TEST_BINARY_DIR "/libcmnw32.so", std::ios::binary);
    ASSERT_TRUE(in.good());
    std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string record =
        "@@QVS PATCH 11.2:P03:PCR 20987:400.112:..\\C\\utlctype:May 24 2007:15:54:00:";
    size_t first = image.find(record);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(image.find(record, first + 1), std::string::npos);
}

}  // namespace
