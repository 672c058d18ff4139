// Numeric pictures: fitting numbers into them, their locale presentations, and numeric text helpers.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/locale.h"
#include "cmnw32/number.h"

namespace {

struct Row {
    const char *picture, *value;
    int rc;
    const char *want;  // the formatted field when rc is 0
};

void Check(const Row &r) {
    char picture[64], value[64];
    std::snprintf(picture, sizeof picture, "%s", r.picture);
    std::snprintf(value, sizeof value, "%s", r.value);
    const int rc = FMTValNumFormat(static_cast<int>(std::strcspn(r.picture, " ")), picture, value);
    EXPECT_EQ(rc, r.rc) << "picture [" << r.picture << "] value [" << r.value << "]";
    if (rc == 0 && r.rc == 0) {
        EXPECT_EQ(std::string(value), r.want) << "picture [" << r.picture << "] value [" << r.value << "]";
    }
}

TEST(NumFormat, PicturesWithoutPoint) {
    const Row rows[] = {
        // zero suppression and separators
        {"ZZZ,ZZ9", "1234", 0, "  1,234"}, {"ZZZ,ZZ9", "0", 0, "      0"},
        {"ZZZ,ZZ9", "12345678", 2, ""}, {"ZZZ,ZZ9", "  0012  ", 0, "     12"},
        {"9999", "12", 0, "0012"}, {"ZZZZ", "0", 0, "    "}, {"ZZ9", "12.75", 0, " 12"},
        // currency: floating, fill, check protection
        {"$ZZZ9", "5", 0, "   $5"}, {"$ZZZ9", "12345", 2, ""}, {"$Z,ZZ9", "1234", 0, "$1,234"},
        {"$***9", "5", 0, "$***5"}, {"$**,**9", "123", 0, "$***123"}, {"-$**9", "5", 0, " $**5"},
        {"($**9)", "-5", 0, "($**5)"},  // "$" right after a leading sign is not filled
        // sign-less pictures with negative amounts
        {"ZZZ,ZZ9", "-12", 0, "-    12"}, {"ZZZ,ZZ9", "-1234", 0, "- 1,234"},
        // sign positions and trailing markers
        {"-ZZ9", "-12", 0, "- 12"}, {"-ZZ9", "12", 0, "  12"}, {"+ZZ9", "12", 0, "+ 12"},
        {"+ZZ9", "-12", 0, "- 12"}, {"ZZ9-", "-12", 0, " 12-"}, {"ZZ9-", "12", 0, " 12 "},
        {"ZZ9+", "-12", 0, " 12-"}, {"ZZ9+", "12", 0, " 12+"}, {"ZZZ9CR", "-12", 0, "  12CR"},
        {"ZZZ9CR", "12", 0, "  12  "}, {"ZZZ9DB", "12", 0, "  12DB"},
        {"ZZZ9DB", "-12", 0, "  12CR"}, {"ZZZ9DR", "12", 0, "  12DR"}, {"(ZZ9)", "-12", 0, "( 12)"},
        // bad values and pictures
        {"ZZZ,ZZ9", "1,234", 1, ""}, {"ZZZ9", "--1", 1, ""}, {"ZZZ9", "1 2", 1, ""},
        {"ZZZ9", "1..2", 1, ""}, {"9Z99", "1", 3, ""}, {"Z$99", "1", 3, ""}, {"*ZZ9", "1", 3, ""},
    };
    for (const Row &r : rows) Check(r);
}

TEST(NumFormat, PicturesWithPoint) {
    const Row rows[] = {
        {"ZZ9.99", "1.567", 0, "  1.56"}, {"ZZ9.99", ".5", 0, "  0.50"}, {"ZZ9.99", "1234", 2, ""},
        {"ZZ9.99", "1.2.3", 1, ""}, {"999.99", "1.5", 0, "001.50"}, {"ZZ9.00", "1", 0, "  1   "},
        {"ZZ9.00", "1.05", 0, "  1.05"}, {"ZZ9.90", "1.5", 0, "  1.5 "}, {"ZZZ.ZZ", "0", 0, "      "},
        {"ZZ9.99DB", "-1.5", 0, "  1.50CR"}, {"ZZ9.99DR", "1.5", 0, "  1.50DR"},
        {"-ZZ9.99", "-1.5", 0, "-  1.50"}, {"ZZZ,ZZ9.99", "-1234.5", 0, "- 1,234.50"},
        {"$Z9.99", "-1.5", 0, "-$1.50"}, {"99.99", "-1.5", 0, "-1.50"}, {"9.99", "-1.5", 2, ""},
        {"$***,**9.99", "12.5", 0, "$*****12.50"}, {"ZZ9.9%", "12.5", 0, " 12.5%"},
    };
    for (const Row &r : rows) Check(r);
}

TEST(NumFormat, MaskPictures) {
    const Row rows[] = {
        {"99/99/99", "12/31/99", 0, "12/31/99"}, {"99/99/99", "123199", 0, "12/31/99"},
        {"99/99/99", "1231", 1, ""}, {"99/99/99", "12/31/9x", 1, ""},
        {"99/99/99 ", "12/31/99x", 0, "12/31/99"}, {"99b99", "1234", 0, "12 34"},
        {"Z9_99", "0123", 0, " 1_23"}, {"9999/99", "  12/05", 0, "0012/05"},
    };
    for (const Row &r : rows) Check(r);
}

// The picture is cut to len in place, and so is the value before it is read.
TEST(NumFormat, LengthsAndCuts) {
    const struct { int len; const char *picture, *value; int rc; const char *pictureAfter, *valueAfter; } cases[] = {
        {6, "ZZ9.99 trailing words", "1.5", 0, "ZZ9.99", "  1.50"}, {3, "ZZ9", "", 0, "ZZ9", ""},
        {4, "ZZ9", "12", 3, "ZZ9", "12"}, {33, "ZZ9", "12", 1, "ZZ9", "12"}, {-1, "ZZ9", "12", 3, "ZZ9", "12"},
        {3, "ZZ9", "12345", 0, "ZZ9", "123"},
        {32, "9999999999999999999999999999999999999999", "1", 3, nullptr, "1"},  // 40 digits
    };
    for (const auto &c : cases) {
        char picture[64], value[64];
        std::snprintf(picture, sizeof picture, "%s", c.picture);
        std::snprintf(value, sizeof value, "%s", c.value);
        EXPECT_EQ(FMTValNumFormat(c.len, picture, value), c.rc) << c.len << " " << c.picture;
        if (c.rc == 0) { EXPECT_EQ(std::string(picture) + "|" + value, std::string(c.pictureAfter) + "|" + c.valueAfter); }
    }
}

TEST(NumFormat, ValidNumericFormat) {
    const std::pair<const char *, int> cases[] = {
        {"$***,**9.99", 0}, {"99b99", 0}, {"-ZZ9-", 0}, {"", 0}, {"ZZ9.99 DB", 0}, {"99:99", 3},
        {"9.9Z", 0}, {"ZZ0", 3}, {"Z.09", 3}, {"$*Z*9", 3}, {"ZZ9.99x", 3}, {"9.$9", 3},
        {"99/$9", 3}, {"999999999999999999999999999999999", 1},
    };
    for (const auto &[text, rc] : cases) {
        char picture[64];
        std::snprintf(picture, sizeof picture, "%s", text);
        EXPECT_EQ(FMTValidNumericFormat(picture), rc) << text;
    }
}

// A second, plain model of the common pictures: the amount cut (not rounded)
// to cents, grouped by threes, right-aligned, with "$" just left of the
// digits and CR after them for negative amounts (a value written with "-"
// shows CR even when its cents are all zero).
std::string Model(long long cents, bool negative, bool dollar, bool credit, int width) {
    const std::string integer = std::to_string(cents / 100);
    std::string grouped;
    for (size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) grouped += ',';
        grouped += integer[i];
    }
    char fraction[4];
    std::snprintf(fraction, sizeof fraction, "%02lld", cents % 100);
    std::string body = (dollar ? "$" : "") + grouped + "." + fraction;
    if (credit) body += negative ? "CR" : "  ";
    return std::string(width - body.size(), ' ') + body;
}

TEST(NumFormat, AgreesWithAPlainModel) {
    std::mt19937_64 rng(20260512);
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(rng() % 6);
        long long cents = static_cast<long long>(rng() % 1000000) % static_cast<long long>(std::pow(10, digits)) * 100;
        cents += static_cast<long long>(rng() % 100);
        const int extra = static_cast<int>(rng() % 10);  // a third decimal to drop
        const bool negative = rng() % 2 == 0;
        char value[32];
        std::snprintf(value, sizeof value, "%s%lld.%02lld%d", negative ? "-" : "", cents / 100,
                      cents % 100, extra);

        char p1[] = "ZZZ,ZZ9.99CR", v1[32], p2[] = "$ZZZ,ZZ9.99", v2[32];
        std::snprintf(v1, sizeof v1, "%s", value);
        ASSERT_EQ(FMTValNumFormat(12, p1, v1), 0) << value;
        EXPECT_EQ(std::string(v1), Model(cents, negative, false, true, 12)) << value;
        std::snprintf(v2, sizeof v2, "%s", value + (negative ? 1 : 0));
        ASSERT_EQ(FMTValNumFormat(11, p2, v2), 0) << value;
        EXPECT_EQ(std::string(v2), Model(cents, false, true, false, 11)) << value;
    }
}

std::string Convert(const char *picture, const char *locale, unsigned size = 64) {
    char dst[128];
    std::memset(dst, 'x', sizeof dst);
    FMTConvertNumFormat(picture, locale, size, dst);
    return dst;
}

std::string Unconvert(const std::string &text, const char *locale, unsigned size = 64) {
    char src[128], dst[128];
    std::snprintf(src, sizeof src, "%s", text.c_str());
    FMTUnconvertNumFormat(src, locale, size, dst);
    return dst;
}

TEST(NumLocale, ConvertsCanonicalPictures) {
    const struct { const char *picture, *locale, *want; } cases[] = {
        {"$Z,ZZ9.99CR", " DEM", "Z.ZZ9,99DMCR"}, {"$ZZ9.99-", " FRF", "ZZ9,99F-"},
        {"$Z,ZZ9.99", " CHF", "SFr.Z'ZZ9.99"}, {"ZZZ,ZZ9.99DB", " CAD", "ZZZ ZZ9,99Dt"},
        {"-,ZZ9", " FRF", " -ZZ9"},  // a blank separator: the sign moves next to the digits
    };
    for (const auto &c : cases) EXPECT_EQ(Convert(c.picture, c.locale), c.want) << c.locale << c.picture;
}

TEST(NumLocale, CanonicalPicturesRoundTrip) {
    const char *locales[] = {" USD", " DEM", " FRF", " CHF", " CAD"};
    const char *pictures[] = {"$Z,ZZ9.99",  "$ZZZ,ZZ9.99CR", "ZZZ,ZZ9.99DB", "$***,**9.99",
                              "-$ZZ9.99",   "$ZZ9.99-",      "(ZZZ,ZZ9.99)", "ZZ9.00",
                              "999,999",    "$$$,$$9.99",    "ZZ9.99+",      "$ZZ,ZZ9"};
    // A right-hand currency and a blank separator: fill "$" reads back with a literal blank.
    EXPECT_EQ(Unconvert(Convert("$$$,$$9.99", " CAD"), " CAD"), "$$ $$$9.99");
    for (const char *locale : locales) {
        for (const char *picture : pictures) {
            if (std::strcmp(locale, " CAD") == 0 && std::strcmp(picture, "$$$,$$9.99") == 0) continue;
            const std::string shown = Convert(picture, locale);
            EXPECT_EQ(Unconvert(shown, locale), picture) << locale << " " << picture << " -> " << shown;
        }
    }
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
}

TEST(NumLocale, DeformatNumbers) {
    const struct { const char *text, *locale, *want; } cases[] = {
        {"(1,234.50)", nullptr, "-1234.50"}, {"12.3.4", nullptr, "12.34"},
        {"  $1,234.50CR", nullptr, "-1234.50"}, {"1,234.50-", nullptr, "-1234.50"},
        {"-  12", nullptr, "-12"}, {"1.234,50 DM", " DEM", "1234.50"},
        {"1 234,50F-", " FRF", "-1234.50"}, {"SFr.1'234.50", " CHF", "1234.50"},
        {"12,50Ct", " CAD", "-12.50"}, {"", nullptr, ""}, {"   ", nullptr, ""},
        {"abc", nullptr, ""},
    };
    for (const auto &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(FMTDeformatNum(text, c.locale), 0);
        EXPECT_STREQ(text, c.want) << c.text;
    }
}

TEST(NumLocale, ValidCharactersAndYesNo) {
    const struct { char c; const char *picture, *locale; int32_t valid, yesNo; } cases[] = {
        {'5', "ZZ9", " USD", 1, 0},   {',', "ZZ9", " USD", 1, 0},  {'$', "ZZ9", " USD", 0, 0},
        {'$', "$ZZ9", " USD", 1, 0},  {'M', "$ZZ9", " DEM", 1, 0}, {'M', "ZZ9", " DEM", 0, 0},
        {0, "$ZZ9", " DEM", 0, 0},    {'1', nullptr, " DEM", 1, 0}, {'o', nullptr, " FRF", 0, 'O'},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UTLIsValidNumChar(c.c, c.picture, c.locale), c.valid) << c.c << c.locale;
        EXPECT_EQ(UTLGetValidYesNo(c.c, nullptr, c.locale), c.yesNo) << c.c << c.locale;
    }
}

TEST(NumText, CommasGroupTheIntegerPartByThrees) {

    const struct { const char *text, *want; } cases[] = {
        {"1234567.891", "1,234,567.891"}, {"123", "123"}, {"1234", "1,234"}, {"-1234", "-1,234"},
        {"123456", "123,456"}, {".12345", ".12345"}, {"", ""}, {"  1234", "1,234"}, {"1234  ", ""},
    };
    for (const auto &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(FMTAddCommas(text), 1);
        EXPECT_STREQ(text, c.want) << c.text;
    }
}

}  // namespace
