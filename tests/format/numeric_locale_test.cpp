// Numeric pictures and numbers in locale presentations, and the small
// numeric text helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/locale.h"
#include "cmnw32/number.h"

namespace {

std::string Convert(const char *picture, const char *locale, unsigned size = 64) {
    char dst[128];
    std::memset(dst, 'x', sizeof dst);
    FMTConvertNumFormat(picture, locale, size, dst);
    return dst;
}

std::string Unconvert(const std::string &text, const char *locale, unsigned size = 64) {
    char src[128];
    char dst[128];
    std::snprintf(src, sizeof src, "%s", text.c_str());
    FMTUnconvertNumFormat(src, locale, size, dst);
    return dst;
}

TEST(NumLocale, ConvertsCanonicalPictures) {
    struct Case {
        const char *picture, *locale, *want;
    };
    const Case cases[] = {
        {"$Z,ZZ9.99CR", " DEM", "Z.ZZ9,99DMCR"}, {"$ZZ9.99-", " FRF", "ZZ9,99F-"},
        {"$Z,ZZ9.99", " CHF", "SFr.Z'ZZ9.99"}, {"ZZZ,ZZ9.99DB", " CAD", "ZZZ ZZ9,99Dt"},
        {"$$$$9", " DEM", "$$$9DM"},
    };
    for (const Case &c : cases) EXPECT_EQ(Convert(c.picture, c.locale), c.want) << c.locale << c.picture;
}

TEST(NumLocale, CanonicalPicturesRoundTrip) {
    const char *locales[] = {" USD", " DEM", " FRF", " CHF", " CAD"};
    const char *pictures[] = {"$Z,ZZ9.99",  "$ZZZ,ZZ9.99CR", "ZZZ,ZZ9.99DB", "$***,**9.99",
                              "-$ZZ9.99",   "$ZZ9.99-",      "(ZZZ,ZZ9.99)", "ZZ9.00",
                              "999,999",    "$$$,$$9.99",    "ZZ9.99+",      "$ZZ,ZZ9"};
    // With "$" as a right-hand currency and a blank separator, a run of fill
    // "$" reads back as currency texts followed by a literal blank.
    EXPECT_EQ(Unconvert(Convert("$$$,$$9.99", " CAD"), " CAD"), "$$ $$$9.99");
    for (const char *locale : locales) {
        for (const char *picture : pictures) {
            if (std::strcmp(locale, " CAD") == 0 && std::strcmp(picture, "$$$,$$9.99") == 0) continue;
            const std::string shown = Convert(picture, locale);
            EXPECT_EQ(Unconvert(shown, locale), picture) << locale << " " << picture << " -> " << shown;
        }
    }
    // The current locale is back where it was.
    UTLSetLocale("GBP");
    Convert("$Z9", " DEM");
    Unconvert("Z9DM", " DEM");
    EXPECT_STREQ(UTLGetLocale(), "GBP");
}

TEST(NumLocale, SizeBounds) {
    // Results of at most size characters are whole; longer ones are cut to
    // size - 1 by the conversion and to size by the reverse.
    EXPECT_EQ(Convert("$Z,ZZ9.99", " DEM", 10), "Z.ZZ9,99DM");
    EXPECT_EQ(Convert("$Z,ZZ9.99", " DEM", 9), "Z.ZZ9,99");
    EXPECT_EQ(Convert("$Z,ZZ9.99", " DEM", 0), "");
    EXPECT_EQ(Unconvert("Z.ZZ9,99DM", " DEM", 5), "$Z,ZZ");
    char text[32] = "ZZ9.99   ";
    char dst[32];
    FMTUnconvertNumFormat(text, " USD", 31, dst);
    EXPECT_STREQ(text, "ZZ9.99");
    EXPECT_STREQ(dst, "ZZ9.99");
    FMTConvertNumFormat(nullptr, " USD", 10, dst);
    EXPECT_STREQ(dst, "");
}

TEST(NumLocale, LeadingSignMovesNextToTheNumber) {
    // The thousands separator of FRF is a blank: after the conversion the
    // sign stands right before the first digit position.
    EXPECT_EQ(Convert("-,ZZ9", " FRF"), " -ZZ9");
    EXPECT_EQ(Convert("(,ZZ9)", " FRF"), " (ZZ9)");
}

TEST(NumLocale, DeformatNumbers) {
    struct Case {
        const char *text;
        const char *locale;
        const char *want;
    };
    const Case cases[] = {
        {"(1,234.50)", nullptr, "-1234.50"}, {"12.3.4", nullptr, "12.34"},
        {"  $1,234.50CR", nullptr, "-1234.50"}, {"1,234.50-", nullptr, "-1234.50"},
        {"-  12", nullptr, "-12"}, {"1.234,50 DM", " DEM", "1234.50"},
        {"1 234,50F-", " FRF", "-1234.50"}, {"SFr.1'234.50", " CHF", "1234.50"},
        {"12,50Ct", " CAD", "-12.50"}, {"", nullptr, ""}, {"   ", nullptr, ""},
        {"abc", nullptr, ""},
    };
    for (const Case &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(FMTDeformatNum(text, c.locale), 0);
        EXPECT_STREQ(text, c.want) << c.text;
    }
    char longText[80];
    std::memset(longText, '1', 60);
    longText[60] = '\0';
    FMTDeformatNum(longText, nullptr);
    EXPECT_EQ(std::strlen(longText), 32u);
    EXPECT_EQ(FMTDeformatNum(nullptr, nullptr), 0);
}

TEST(NumLocale, ValidCharactersAndYesNo) {
    const struct {
        char c;
        const char *picture, *locale;
        int32_t valid, yesNo;
    } cases[] = {
        {'5', "ZZ9", " USD", 1, 0},   {',', "ZZ9", " USD", 1, 0},  {'$', "ZZ9", " USD", 0, 0},
        {'$', "$ZZ9", " USD", 1, 0},  {'M', "$ZZ9", " DEM", 1, 0}, {'M', "ZZ9", " DEM", 0, 0},
        {0, "$ZZ9", " DEM", 0, 0},    {'1', nullptr, " DEM", 1, 0}, {'o', nullptr, " FRF", 0, 'O'},
        {'n', nullptr, " FRF", 0, 'N'}, {'j', nullptr, " DEM", 0, 'J'}, {'y', nullptr, " DEM", 0, 0},
        {'y', nullptr, " USD", 0, 'Y'},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UTLIsValidNumChar(c.c, c.picture, c.locale), c.valid) << c.c << c.locale;
        EXPECT_EQ(UTLGetValidYesNo(c.c, nullptr, c.locale), c.yesNo) << c.c << c.locale;
    }
}

TEST(NumText, BlankDigitAndCommas) {
    EXPECT_EQ(FMTIsNotBlank(" \t x "), 1);
    for (const char *blank : {" \t\r\n", "", static_cast<const char *>(nullptr)})
        EXPECT_EQ(FMTIsNotBlank(blank), 0);
    EXPECT_EQ(FMTIs1_9('0') * 10 + FMTIs1_9('9'), 1);

    struct Case {
        const char *text, *want;
    };
    const Case cases[] = {
        {"1234567.891", "1,234,567.891"}, {"123", "123"}, {"1234", "1,234"}, {"-1234", "-1,234"},
        {"123456", "123,456"}, {".12345", ".12345"}, {"", ""}, {"  1234", "1,234"}, {"1234  ", ""},
    };
    for (const Case &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(FMTAddCommas(text), 1);
        EXPECT_STREQ(text, c.want) << c.text;
    }
    EXPECT_EQ(FMTAddCommas(nullptr), 0);
}

}  // namespace
