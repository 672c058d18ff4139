// Fitting plain numbers into numeric pictures: one row per picture feature.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/number.h"

namespace {

struct Row {
    const char *picture;
    const char *value;
    int rc;
    const char *want;  // the formatted field when rc is 0
};

void Check(const Row &r) {
    char picture[64];
    char value[64];
    std::snprintf(picture, sizeof picture, "%s", r.picture);
    std::snprintf(value, sizeof value, "%s", r.value);
    const int len = static_cast<int>(std::strcspn(r.picture, " "));
    const int rc = FMTValNumFormat(len, picture, value);
    EXPECT_EQ(rc, r.rc) << "picture [" << r.picture << "] value [" << r.value << "]";
    if (rc == 0 && r.rc == 0) {
        EXPECT_EQ(std::string(value), r.want)
            << "picture [" << r.picture << "] value [" << r.value << "]";
    }
}

// One row per picture feature; grouped amounts with "$" or CR are checked
// against a model below.
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
        {"$$$,$$9", "123", 0, "$$$$123"}, {"$**ZZ", "100", 0, "$*100"},
        // sign-less pictures with negative amounts
        {"ZZZ,ZZ9", "-12", 0, "-    12"}, {"ZZZ,ZZ9", "-1234", 0, "- 1,234"},
        {"Z,ZZ9", "-12", 0, "-  12"}, {"ZZ9", "-5", 0, "- 5"}, {"999", "-12", 0, "-12"},
        {"$ZZZ9", "-5", 0, "-  $5"},
        // sign positions and trailing markers
        {"-ZZ9", "-12", 0, "- 12"}, {"-ZZ9", "12", 0, "  12"}, {"+ZZ9", "12", 0, "+ 12"},
        {"+ZZ9", "-12", 0, "- 12"}, {"ZZ9-", "-12", 0, " 12-"}, {"ZZ9-", "12", 0, " 12 "},
        {"ZZ9+", "-12", 0, " 12-"}, {"ZZ9+", "12", 0, " 12+"}, {"ZZZ9CR", "-12", 0, "  12CR"},
        {"ZZZ9CR", "12", 0, "  12  "}, {"ZZZ9DB", "12", 0, "  12DB"},
        {"ZZZ9DB", "-12", 0, "  12CR"}, {"ZZZ9DR", "12", 0, "  12DR"}, {"(ZZ9)", "-12", 0, "( 12)"},
        {"(ZZ9)", "12", 0, "  12 "}, {"ZZ9%", "50", 0, " 50%"},
        // bad values and pictures
        {"ZZZ,ZZ9", "1,234", 1, ""}, {"ZZZ9", "--1", 1, ""}, {"ZZZ9", "1 2", 1, ""},
        {"ZZZ9", "1..2", 1, ""}, {"9Z99", "1", 3, ""}, {"Z$99", "1", 3, ""}, {"*ZZ9", "1", 3, ""},
        {"$Z*9", "1", 3, ""}, {"Z0Z9", "1", 3, ""}, {"ZZX9", "1", 3, ""},
    };
    for (const Row &r : rows) Check(r);
}

TEST(NumFormat, PicturesWithPoint) {
    const Row rows[] = {
        {"ZZ9.99", "1.567", 0, "  1.56"}, {"ZZ9.99", ".5", 0, "  0.50"}, {"ZZ9.99", "1234", 2, ""},
        {"ZZ9.99", "1.2.3", 1, ""}, {"999.99", "1.5", 0, "001.50"}, {"ZZ9.00", "1", 0, "  1   "},
        {"ZZ9.00", "1.05", 0, "  1.05"}, {"ZZ9.90", "1.5", 0, "  1.5 "}, {"ZZZ.ZZ", "0", 0, "      "},
        {"ZZ9.99DB", "-1.5", 0, "  1.50CR"}, {"ZZ9.99DR", "1.5", 0, "  1.50DR"},
        {"ZZ9.99-", "-1.5", 0, "  1.50-"}, {"ZZ9.99+", "1.5", 0, "  1.50+"},
        {"(ZZ9.99)", "-1.5", 0, "(  1.50)"}, {"(ZZ9.99)", "1.5", 0, "   1.50 "},
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
        {"999-99-9999", "123456789", 0, "123-45-6789"}, {"99.99.99", "010203", 0, "01.02.03"},
        {"$99/99", "$12/34", 0, "$12/34"}, {"99,99/9", "12,345", 0, "12,34/5"},
    };
    for (const Row &r : rows) Check(r);
}

TEST(NumFormat, LengthsAndCuts) {
    char picture[64] = "ZZ9.99 trailing words";
    char value[64] = "1.5";
    EXPECT_EQ(FMTValNumFormat(6, picture, value), 0);
    EXPECT_STREQ(picture, "ZZ9.99");
    EXPECT_STREQ(value, "  1.50");

    char empty[8] = "", pic3[16] = "ZZ9", v3[16] = "12";
    EXPECT_EQ(FMTValNumFormat(3, pic3, empty), 0);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(FMTValNumFormat(4, pic3, v3), 3);
    EXPECT_EQ(FMTValNumFormat(33, pic3, v3), 1);
    EXPECT_EQ(FMTValNumFormat(-1, pic3, v3), 3);
    EXPECT_EQ(FMTValNumFormat(3, nullptr, v3), 3);
    EXPECT_EQ(FMTValNumFormat(3, pic3, nullptr), 3);

    // value is cut at len before it is read
    char pic4[16] = "ZZ9", v4[16] = "12345";
    EXPECT_EQ(FMTValNumFormat(3, pic4, v4), 0);
    EXPECT_STREQ(v4, "123");

    char pic5[64];
    std::memset(pic5, '9', 40);
    pic5[40] = '\0';
    char v5[64] = "1";
    EXPECT_EQ(FMTValNumFormat(32, pic5, v5), 3);
}

TEST(NumFormat, ValidNumericFormat) {
    struct Case {
        const char *picture;
        int rc;
    };
    const Case cases[] = {
        {"$***,**9.99", 0}, {"99b99", 0}, {"-ZZ9-", 0}, {"", 0}, {"ZZ9.99 DB", 0}, {"99:99", 3},
        {"9.9Z", 0}, {"ZZ0", 3}, {"Z.09", 3}, {"$*Z*9", 3}, {"ZZ9.99x", 3}, {"9.$9", 3},
        {"99/$9", 3}, {"999999999999999999999999999999999", 1},
    };
    for (const Case &c : cases) {
        char picture[64];
        std::snprintf(picture, sizeof picture, "%s", c.picture);
        EXPECT_EQ(FMTValidNumericFormat(picture), c.rc) << c.picture;
    }
    char cut[32] = "ZZ9 junk";
    EXPECT_EQ(FMTValidNumericFormat(cut), 0);
    EXPECT_STREQ(cut, "ZZ9");
    EXPECT_EQ(FMTValidNumericFormat(nullptr), 3);
}

}  // namespace

namespace {

// A second, plain model of the common pictures: the amount cut (not rounded)
// to cents, grouped by threes, right-aligned, with "$" just left of the
// digits and CR after them for negative amounts (a value written with "-"
// shows CR even when its cents are all zero).
std::string Model(long long cents, bool negative, bool dollar, bool credit, int width) {
    std::string integer = std::to_string(cents / 100);
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

        char p1[] = "ZZZ,ZZ9.99CR";
        char v1[32];
        std::snprintf(v1, sizeof v1, "%s", value);
        ASSERT_EQ(FMTValNumFormat(12, p1, v1), 0) << value;
        EXPECT_EQ(std::string(v1), Model(cents, negative, false, true, 12)) << value;

        char p2[] = "$ZZZ,ZZ9.99";
        char v2[32];
        std::snprintf(v2, sizeof v2, "%s", value + (negative ? 1 : 0));
        ASSERT_EQ(FMTValNumFormat(11, p2, v2), 0) << value;
        EXPECT_EQ(std::string(v2), Model(cents, false, true, false, 11)) << value;
    }
}

}  // namespace
