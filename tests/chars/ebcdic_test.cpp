#include "cmnw32/ebcdic.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "chars/iconv_reference.h"

namespace {

TEST(EbcdicTables, DefaultTablesAreCodePage037WithNewlinesSwapped) {
    const auto decode = cmnw::test::DecodeCodePage("CP037");
    for (int e = 0; e < 256; ++e) {
        EXPECT_EQ(GetEBC2ASCTable()[e], e == 0x15 ? 0x0A : e == 0x25 ? 0x85 : decode[e]) << e;
        EXPECT_EQ(GetASC2EBCTable()[GetEBC2ASCTable()[e]], e) << e;
    }
}

TEST(EbcdicTranslate, BuffersUseTheTablesInForce) {
    const std::string text = "Hello, World\r\n";
    std::string ebcdic = text, forced = text;
    ASCII2EBCDIC(ebcdic.data(), static_cast<uint16_t>(ebcdic.size()));
    EXPECT_EQ(ebcdic, "\xC8\x85\x93\x93\x96\x6B\x40\xE6\x96\x99\x93\x84\x0D\x15");
    ForceASCII2EBCDIC(forced.data(), static_cast<uint16_t>(forced.size()));
    EXPECT_EQ(forced, ebcdic);
    EBCDIC2ASCII(ebcdic.data(), static_cast<uint16_t>(ebcdic.size()));
    EXPECT_EQ(ebcdic, text);
    // Carriage return becomes an EBCDIC space even when the table says else.
    std::array<uint8_t, 256> mine{};
    for (int i = 0; i < 256; ++i) mine[i] = static_cast<uint8_t>(255 - i);
    const uint8_t *before = SetASC2EBCTable(mine.data());
    uint8_t buf[3] = {'\r', 'A', '\r'};
    ForceASCII2EBCDICCR2Space(buf, 2);
    EXPECT_EQ(std::string(buf, buf + 3), std::string({'\x40', char(255 - 'A'), '\r'}));
    EXPECT_EQ(ASC2EBC('A'), 255 - 'A');
    EXPECT_EQ(SetASC2EBCTable(before), mine.data());
    // The OS/400 table is switched in and out.
    const uint8_t *mvs = UTLDef_OS400_A2Etable(), *os400 = GetASC2EBCTable();
    EXPECT_EQ(os400[0x9B], 0x4A);  // the cent sign
    EXPECT_EQ(UTLDef_MVS_A2Etable(), os400);
    EXPECT_EQ(GetASC2EBCTable(), mvs);
}

TEST(SignedStr, LastCharacterZoneGivesTheSign) {
    const struct { const char *in; int32_t sign; int error; const char *out, *outMinus; } cases[] = {
        {"12}", -1, 0, "120", "-120"}, {"12C", 1, 0, "123", "123"}, {"12q", -1, 0, "121", "-121"},
        {"125", 1, 0, "125", "125"},   {"12{", 1, 0, "120", "120"}, {"12+", 0, 1, "12?", "12?"},
        {"1\xB9", -1, 1, "1?", "-1?"},  // EBCDIC 0xDA: zone D, digit 10
        {"1a", 0, 1, "11", "11"},       // 'a' is EBCDIC 0x81: zone 8
    };
    for (const auto &c : cases) {
        char plain[16] = {}, minus[16] = {};
        std::strcpy(plain, c.in);
        std::strcpy(minus, c.in);
        const auto len = static_cast<uint16_t>(std::strlen(c.in));
        int error = -7;
        EXPECT_EQ(UTLSignedStrToStrExt(plain, len, 0, &error), c.sign) << c.in;
        EXPECT_EQ(error, c.error) << c.in;
        EXPECT_STREQ(plain, c.out) << c.in;
        EXPECT_EQ(UTLSignedStrToStr(minus, len, 1), c.sign) << c.in;
        EXPECT_STREQ(minus, c.outMinus) << c.in;
    }
}

}  // namespace
