#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/errors.h"
#include "cmnw32/keyword.h"

namespace {

struct Report {
    std::string where, message;
    int32_t number;
    uint32_t detail;
};
std::vector<Report> gReports;

int32_t Capture(const char *where, int32_t number, uint32_t detail, const char *message) {
    gReports.push_back({where, message, number, detail});
    return 77;
}

class Keyword : public ::testing::Test {
protected:
    void SetUp() override {
        gReports.clear();
        previous_ = UTLSetErrorNotify(Capture);
    }
    void TearDown() override { UTLSetErrorNotify(previous_); }

    // The one report made, or an empty one when there was none.
    Report Only() const {
        EXPECT_LE(gReports.size(), 1u);
        return gReports.empty() ? Report{} : gReports.back();
    }

    UTLErrorNotifyFunc previous_ = nullptr;
};

TEST_F(Keyword, IntegerEntries) {
    const struct {
        const char *text;
        int32_t result;
        int32_t value;     // when result is 1
        ptrdiff_t cursor;  // offset after the call
        const char *message;
    } cases[] = {
        {"size( 12 ),next", 1, 12, 11, ""}, {"Size (-7) , \t next", 1, -7, 14, ""},
        {"size(-2147483648)", 1, -2147483647 - 1, 17, ""}, {"size(   )", 1, 0, 9, ""},
        {"sizes(3)", 0, 0, 0, ""}, {"size", 0, 0, 0, ""},
        {"size 12", 0, 0, 5, "Error: Invalid parameter <size 12>.\n"},
        {"size((1)", 0, 0, 5, "Error: Unbalanced parentheses on <size((1)>.\n"},
        {"size(12x), b", 0, 0, 11, "Error: Invalid interger value <12x>.\n"},
        {"size(+)", 0, 0, 7, "Error: Invalid interger value <+>.\n"},
        {"size(-99999999999)", 0, 0, 18, "Error: Interger value is too small <-99999999999>.\n"},
        {"size(2147483648)", 0, 0, 16, "Error: Interger value is too large <2147483648>.\n"},
    };
    for (const auto &c : cases) {
        for (bool asLong : {false, true}) {
            gReports.clear();
            std::string buf = c.text;
            char *cursor = buf.data();
            int32_t value = -555;
            const int32_t result = asLong ? UTLParseKeywordLong(&cursor, &value, "size")
                                          : UTLParseKeywordInt(&cursor, &value, "size");
            EXPECT_EQ(result, c.result) << c.text;
            EXPECT_EQ(value, c.result == 1 ? c.value : -555) << c.text;
            EXPECT_EQ(cursor - buf.data(), c.cursor) << c.text;
            const Report r = Only();
            EXPECT_EQ(r.message, c.message) << c.text;
            if (!gReports.empty()) {
                EXPECT_EQ(r.where, asLong ? "UTLParseKeywordLong" : "UTLParseKeywordInt");
                EXPECT_EQ(r.number, 0);
                EXPECT_EQ(r.detail, 0u);
            }
        }
    }
}

TEST_F(Keyword, StringValuesAreCutInPlace) {
    std::string buf = "Name ( 1(2) 3 )  ,  next(x)";
    char *cursor = buf.data();
    char *value = nullptr;
    ASSERT_EQ(UTLParseKeywordStr(&cursor, &value, "NAME"), 1);
    EXPECT_STREQ(value, "1(2) 3");
    EXPECT_STREQ(cursor, "next(x)");
    // The closing parenthesis and the blanks before it are now NUL bytes.
    EXPECT_EQ(std::string(buf.data(), 16), std::string("Name ( 1(2) 3\0\0 ", 16));
    ASSERT_EQ(UTLParseKeywordStr(&cursor, &value, "next"), 1);
    EXPECT_STREQ(value, "x");
    EXPECT_STREQ(cursor, "");
    EXPECT_TRUE(gReports.empty());

    // Not the keyword: nothing changes.
    buf = "other(1)";
    cursor = buf.data();
    value = nullptr;
    EXPECT_EQ(UTLParseKeywordStr(&cursor, &value, "name"), 0);
    EXPECT_EQ(cursor, buf.data());
    EXPECT_EQ(buf, "other(1)");
    EXPECT_EQ(value, nullptr);
    EXPECT_TRUE(gReports.empty());

    buf = "name 5";
    cursor = buf.data();
    EXPECT_EQ(UTLParseKeywordStr(&cursor, &value, "name"), 0);
    EXPECT_EQ(Only().where, "UTLParseKeywordStr");
    EXPECT_STREQ(cursor, "5");
}

TEST_F(Keyword, DoubleEntries) {
    const struct {
        const char *text;
        int32_t result;
        double value;
        const char *message;
    } cases[] = {
        {"width(1.5)", 1, 1.5, ""}, {"width( -2.5e3 )", 1, -2500.0, ""},
        {"width(.25)", 1, 0.25, ""}, {"width()", 1, 0.0, ""},
        {"width(1e999)", 0, 0, "Error: Value out of range <1e999>.\n"},
        {"width(1,5)", 0, 0, "Error: Invalid double value <1,5>.\n"},
        {"width(inf)", 0, 0, "Error: Invalid double value <inf>.\n"},
        {"width(0x10)", 0, 0, "Error: Invalid double value <0x10>.\n"},
    };
    for (const auto &c : cases) {
        gReports.clear();
        std::string buf = c.text;
        char *cursor = buf.data();
        double value = -1.0;
        EXPECT_EQ(UTLParseKeywordDouble(&cursor, &value, "WIDTH"), c.result) << c.text;
        EXPECT_EQ(value, c.result == 1 ? c.value : -1.0) << c.text;
        EXPECT_STREQ(cursor, "") << c.text;
        const Report r = Only();
        EXPECT_EQ(r.message, c.message) << c.text;
        if (!gReports.empty()) {
            EXPECT_EQ(r.where, "UTLParseKeywordDouble");
        }
    }
}

TEST_F(Keyword, DoubleIgnoresTheCallersNumericLocale) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
    std::string buf = "width(2.75)";
    char *cursor = buf.data();
    double value = 0;
    EXPECT_EQ(UTLParseKeywordDouble(&cursor, &value, "width"), 1);
    EXPECT_EQ(value, 2.75);
    std::setlocale(LC_NUMERIC, "C");
}

TEST_F(Keyword, Flags) {
    const struct {
        const char *text;
        int32_t result;
        const char *rest;
    } cases[] = {
        {"flag , other", 1, "other"}, {"FLAG,other", 1, "other"}, {"Flag", 1, ""},
        {"flag\t\n", 1, ""}, {"flag,,x", 1, ",x"}, {"flag(1)", 0, "flag(1)"}, {"flags", 0, "flags"},
        {"fla", 0, "fla"},
    };
    for (const auto &c : cases) {
        std::string buf = c.text;
        char *cursor = buf.data();
        int32_t value = 0;
        EXPECT_EQ(UTLParseKeywordBool(&cursor, &value, "flag"), c.result) << c.text;
        EXPECT_EQ(value, c.result) << c.text;
        EXPECT_STREQ(cursor, c.rest) << c.text;
    }
    EXPECT_TRUE(gReports.empty());
}

TEST_F(Keyword, LongQuotedTextIsCutToTheMessageBuffer) {
    // The leads are cut so that every message holds at most 255 characters
    // and still ends with its closing part.
    const std::string longValue(5000, '7');
    const std::string texts[] = {"key " + longValue, "key(-" + longValue + ")"};

    for (const std::string &text : texts) {
        gReports.clear();
        std::string buf = text;
        char *cursor = buf.data();
        int32_t value = 0;
        EXPECT_EQ(UTLParseKeywordInt(&cursor, &value, "key"), 0);
        const Report r = Only();
        EXPECT_EQ(r.message.size(), 255u) << r.message.substr(0, 40);
        EXPECT_EQ(r.message.substr(r.message.size() - 3), ">.\n");
    }
}

}  // namespace
