// The built-in character set as the registry loads it when no code page file
// can be read.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "chars/codepage_fixture.h"
#include "chars/iconv_reference.h"
#include "cmnw32/codepage.h"

using cmnw::testing::ScratchDir;
using cmnw::testing::WalkAll;
using cmnw::testing::WalkedChar;

namespace {

struct LoadedSet {
    // Per code page 1004, 9999, 9998: every character as walked.
    std::vector<WalkedChar> pages[3];
};

constexpr int32_t kPageIds[3] = {1004, 9999, 9998};

LoadedSet LoadBuiltIn(UTLCPSET set) {
    LoadedSet loaded;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(UTLSetDefCodePage(set, kPageIds[p], nullptr), UTL_CP_OK);
        loaded.pages[p] = WalkAll(set);
    }
    return loaded;
}

uint64_t Fnv1a(uint64_t h, const std::string &text) {
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

class BuiltInSet : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.UseConfig();  // points at an empty directory: no code page file
        set_ = UTLLoadCodePage();
        ASSERT_NE(set_, nullptr);
    }
    void TearDown() override { EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK); }

    ScratchDir scratch_;
    UTLCPSET set_ = nullptr;
};

TEST_F(BuiltInSet, HoldsEveryRowWithItsIdentifierNameAndBytes) {
    ASSERT_EQ(UTLCodePageCount(set_), 3);
    const LoadedSet loaded = LoadBuiltIn(set_);
    for (const auto &page : loaded.pages) ASSERT_EQ(page.size(), 742u);

    // A digest of every row "identifier|name|b1004|b9999|b9998\n" in order,
    // taken from the published list of the built-in set.
    uint64_t digest = 0xcbf29ce484222325ull;
    for (size_t k = 0; k < 742; ++k) {
        const WalkedChar &c = loaded.pages[0][k];
        EXPECT_EQ(c.alias, "") << k;
        digest = Fnv1a(digest, c.identifier + "|" + c.name + "|" + std::to_string(c.byte) + "|" +
                                   std::to_string(loaded.pages[1][k].byte) + "|" +
                                   std::to_string(loaded.pages[2][k].byte) + "\n");
    }
    EXPECT_EQ(digest, 0xe743b7d34e873fbaull);

    EXPECT_EQ(loaded.pages[1][298].name, "pencil");
}

TEST_F(BuiltInSet, AnswersTheDocumentedLookups) {
    char w1[] = " W1 ";
    char lower[] = "w1";
    EXPECT_EQ(UTLSetDefCodePage(set_, 1004, lower), UTL_CP_FAIL);
    EXPECT_EQ(UTLSetDefCodePage(set_, 1004, w1), UTL_CP_OK);
    EXPECT_STREQ(w1, "W1");
    EXPECT_EQ(UTLLocateCharByName(set_, "SP010000", nullptr, nullptr), 32);
    EXPECT_EQ(UTLLocateCharByName(set_, "SC010000", nullptr, nullptr), 128);
    EXPECT_EQ(UTLLocateCharByName(set_, "SP320000", nullptr, nullptr), 173);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, "Zcaron", nullptr), 142);
    EXPECT_EQ(UTLLocateCharByName(set_, "nothing", "nothing", "nothing"), 0);

    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE] = "x";
    EXPECT_EQ(UTLLocateNameByChar(set_, 32, id, name, alias), UTL_CP_OK);
    EXPECT_STREQ(id, "SP010000");
    EXPECT_STREQ(name, "space");
    EXPECT_STREQ(alias, "");
    EXPECT_EQ(UTLLocateNameByChar(set_, 45 + 256, id, name, nullptr), UTL_CP_OK);
    EXPECT_STREQ(id, "SP100000");
    EXPECT_STREQ(name, "hyphen");
    EXPECT_EQ(UTLLocateNameByChar(set_, 0x81, id, nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(UTLLocateNameByChar(set_, 32, nullptr, nullptr, nullptr), UTL_CP_FAIL);

    ASSERT_EQ(UTLSetDefCodePage(set_, 9999, nullptr), UTL_CP_OK);
    uint16_t index = 298;
    uint8_t byte = 0;
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, &index, &byte, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_EQ(byte, 33);
    EXPECT_STREQ(name, "pencil");
    EXPECT_EQ(UTLLocateNameByChar(set_, 127, id, name, alias), UTL_CP_FAIL);
    index = 742;
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, &index, &byte, id, name, alias), UTL_CP_FAIL);
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, nullptr, &byte, id, name, alias), UTL_CP_FAIL);
    // The first identifier occurrences lack a byte in 9999; "pencil" is the
    // first "????????" row.
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", nullptr, nullptr), 33);

    ASSERT_EQ(UTLSetDefCodePage(set_, 9998, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateNameByChar(set_, 33, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_STREQ(name, "uniF021");
    // Only the first hundred "????????" rows are reachable by identifier, and
    // none of them has a byte in 9998; the name finds the glyph.
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", "uniF0FF", nullptr), 255);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, "uniF041", nullptr), 0x41);
}

// Glyph names of the Latin rows and their Unicode characters (the
// conventional PostScript glyph names); letters and digits follow a rule.
const std::map<std::string, char32_t> &GlyphCodePoints() {
    // clang-format off
    static const std::map<std::string, char32_t> table = {
        {"AE", 0xC6}, {"Aacute", 0xC1}, {"Acircumflex", 0xC2}, {"Adieresis", 0xC4},
        {"Agrave", 0xC0}, {"Aring", 0xC5}, {"Atilde", 0xC3}, {"Ccedilla", 0xC7},
        {"Eacute", 0xC9}, {"Ecircumflex", 0xCA}, {"Edieresis", 0xCB}, {"Egrave", 0xC8},
        {"Eth", 0xD0}, {"Euro", 0x20AC}, {"Iacute", 0xCD}, {"Icircumflex", 0xCE},
        {"Idieresis", 0xCF}, {"Igrave", 0xCC}, {"Ntilde", 0xD1}, {"OE", 0x152},
        {"Oacute", 0xD3}, {"Ocircumflex", 0xD4}, {"Odieresis", 0xD6}, {"Ograve", 0xD2},
        {"Oslash", 0xD8}, {"Otilde", 0xD5}, {"Scaron", 0x160}, {"Thorn", 0xDE},
        {"Uacute", 0xDA}, {"Ucircumflex", 0xDB}, {"Udieresis", 0xDC}, {"Ugrave", 0xD9},
        {"Yacute", 0xDD}, {"Ydieresis", 0x178}, {"Zcaron", 0x17D}, {"aacute", 0xE1},
        {"acircumflex", 0xE2}, {"acute", 0xB4}, {"adieresis", 0xE4}, {"ae", 0xE6},
        {"agrave", 0xE0}, {"ampersand", 0x26}, {"aring", 0xE5}, {"asciicircum", 0x5E},
        {"asciitilde", 0x7E}, {"asterisk", 0x2A}, {"at", 0x40}, {"atilde", 0xE3},
        {"backslash", 0x5C}, {"bar", 0x7C}, {"braceleft", 0x7B}, {"braceright", 0x7D},
        {"bracketleft", 0x5B}, {"bracketright", 0x5D}, {"brokenbar", 0xA6}, {"bullet", 0x2022},
        {"ccedilla", 0xE7}, {"cedilla", 0xB8}, {"cent", 0xA2}, {"circumflex", 0x2C6},
        {"colon", 0x3A}, {"comma", 0x2C}, {"copyright", 0xA9}, {"currency", 0xA4},
        {"dagger", 0x2020}, {"daggerdbl", 0x2021}, {"degree", 0xB0}, {"dieresis", 0xA8},
        {"divide", 0xF7}, {"dollar", 0x24}, {"eacute", 0xE9}, {"ecircumflex", 0xEA},
        {"edieresis", 0xEB}, {"egrave", 0xE8}, {"ellipsis", 0x2026}, {"emdash", 0x2014},
        {"endash", 0x2013}, {"equal", 0x3D}, {"eth", 0xF0}, {"exclam", 0x21},
        {"exclamdown", 0xA1}, {"florin", 0x192}, {"germandbls", 0xDF}, {"grave", 0x60},
        {"greater", 0x3E}, {"guillemotleft", 0xAB}, {"guillemotright", 0xBB},
        {"guilsinglleft", 0x2039}, {"guilsinglright", 0x203A}, {"hyphen", 0x2D},
        {"iacute", 0xED}, {"icircumflex", 0xEE}, {"idieresis", 0xEF}, {"igrave", 0xEC},
        {"less", 0x3C}, {"logicalnot", 0xAC}, {"macron", 0xAF}, {"mu", 0xB5},
        {"multiply", 0xD7}, {"ntilde", 0xF1}, {"numbersign", 0x23}, {"oacute", 0xF3},
        {"ocircumflex", 0xF4}, {"odieresis", 0xF6}, {"oe", 0x153}, {"ograve", 0xF2},
        {"onehalf", 0xBD}, {"onequarter", 0xBC}, {"onesuperior", 0xB9}, {"ordfeminine", 0xAA},
        {"ordmasculine", 0xBA}, {"oslash", 0xF8}, {"otilde", 0xF5}, {"paragraph", 0xB6},
        {"parenleft", 0x28}, {"parenright", 0x29}, {"percent", 0x25}, {"period", 0x2E},
        {"periodcentered", 0xB7}, {"perthousand", 0x2030}, {"plus", 0x2B}, {"plusminus", 0xB1},
        {"question", 0x3F}, {"questiondown", 0xBF}, {"quotedbl", 0x22}, {"quotedblbase", 0x201E},
        {"quotedblleft", 0x201C}, {"quotedblright", 0x201D}, {"quoteleft", 0x2018},
        {"quoteright", 0x2019}, {"quotesinglbase", 0x201A}, {"quotesingle", 0x27},
        {"registered", 0xAE}, {"scaron", 0x161}, {"section", 0xA7}, {"semicolon", 0x3B},
        {"slash", 0x2F}, {"space", 0x20}, {"sterling", 0xA3}, {"thorn", 0xFE},
        {"threequarters", 0xBE}, {"threesuperior", 0xB3}, {"tilde", 0x2DC},
        {"trademark", 0x2122}, {"twosuperior", 0xB2}, {"uacute", 0xFA}, {"ucircumflex", 0xFB},
        {"udieresis", 0xFC}, {"ugrave", 0xF9}, {"underscore", 0x5F}, {"yacute", 0xFD},
        {"ydieresis", 0xFF}, {"yen", 0xA5}, {"zcaron", 0x17E}, {"zero", 0x30},
        {"one", 0x31}, {"two", 0x32}, {"three", 0x33}, {"four", 0x34},
        {"five", 0x35}, {"six", 0x36}, {"seven", 0x37}, {"eight", 0x38},
        {"nine", 0x39},
        // Characters whose glyph name says less than the identifier.
        {"SP320000", 0xAD}, {"SP300000", 0xA0}, {"SF150000", 0x7F},
    };
    // clang-format on
    return table;
}

TEST_F(BuiltInSet, LatinBytesAreWindows1252) {
    const auto cp1252 = cmnw::test::DecodeCodePage("CP1252");
    ASSERT_EQ(UTLSetDefCodePage(set_, 1004, nullptr), UTL_CP_OK);
    const std::vector<WalkedChar> chars = WalkAll(set_);
    ASSERT_EQ(chars.size(), 742u);
    const auto &glyphs = GlyphCodePoints();
    int checked = 0;
    for (size_t k = 0; k < 292; ++k) {
        const WalkedChar &c = chars[k];
        if (c.byte == 0) continue;
        char32_t expected;
        if (glyphs.count(c.identifier) != 0) {
            expected = glyphs.at(c.identifier);
        } else if (c.name.size() == 1) {
            expected = static_cast<unsigned char>(c.name[0]);
        } else {
            ASSERT_EQ(glyphs.count(c.name), 1u) << c.name;
            expected = glyphs.at(c.name);
        }
        EXPECT_EQ(static_cast<char32_t>(cp1252[c.byte]), expected)
            << k << " " << c.identifier << " " << c.name;
        ++checked;
    }
    EXPECT_EQ(checked, 220);
}

}  // namespace
