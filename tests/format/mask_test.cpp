// Field type names, custom masks and display pictures.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/errors.h"
#include "cmnw32/mask.h"

namespace {

TEST(Mask, TypeNamesByCodeAndNoneForOthers) {
    struct Case {
        char code;
        const char *name;
    };
    const Case cases[] = {
        {'A', "Uppercase alphabetic"}, {'I', "Int'l Uppercase alphabetic"}, {'a', "Alphabetic"},
        {'y', "(Y)es or (N)o"}, {'Y', ""}, {0, ""},
    };
    for (const Case &c : cases) EXPECT_STREQ(FMTTypeString(c.code), c.name) << c.code;
}

TEST(Mask, TypeNamesFollowTheMessageReplacer) {
    UTLSetMsgReplace([](int32_t n) -> const char * { return n == 29 ? "Zahl" : nullptr; });
    EXPECT_STREQ(FMTTypeString('n'), "Zahl");
    EXPECT_STREQ(FMTTypeString('x'), "Alphanumeric");
}

struct Row {
    const char *text;
    const char *mask;
    unsigned outSize;
    int rc;
    const char *want;
};

void CheckRows(const Row *rows, size_t n, bool removing) {
    for (size_t i = 0; i < n; ++i) {
        const Row &r = rows[i];
        char out[2100];
        std::memset(out, '#', sizeof out);
        out[sizeof out - 1] = '\0';
        const int rc = removing ? FMTDefmtString(r.text, out, r.outSize, r.mask)
                                : FMTFmtString(r.text, out, r.outSize, r.mask);
        EXPECT_EQ(rc, r.rc) << "[" << r.text << "] mask [" << (r.mask ? r.mask : "(null)") << "]";
        if (rc == 0) {
            EXPECT_EQ(std::string(out), r.want) << r.text;
        } else {
            EXPECT_EQ(out[0], '#') << "out written on failure";
        }
    }
}

TEST(Mask, ApplyMasks) {
    const std::string big(1020, '7');
    const std::string bigDash = big + "-";
    const std::string bigTail = big + "123456";
    const Row rows[] = {
        {"123456789", "3,-,2,-", 64, 0, "123-45-6789"}, {"12", "3,-,2,-", 64, 0, "12 -  -"},
        {"", "3,-,2,-", 64, 0, "   -  -"}, {"123456789", " 3,(,2,) ", 64, 0, "123(45) 6789"},
        {"123456789", "3,,2,", 64, 0, "123456789"}, {"123456789", "3,-,4", 64, 3, ""},
        {"123456789", "x,-,2,-", 64, 3, ""}, {"123456789", "3,-,", 64, 3, ""},
        {"123456789", "3", 64, 3, ""}, {"123456789012", "", 64, 0, "123456789012"},
        {"123456789012", "", 11, 2, ""}, {"123456789012", nullptr, 12, 0, "123456789012"},
        {"123456789", "3,-,2,-", 10, 2, ""}, {"123456789", "3,-,2,-", 11, 0, "123-45-6789"},
        {nullptr, "2,/", 64, 0, "  /"}, {big.c_str(), "1020,-,", 2000, 3, ""},
        {big.c_str(), "1020,-", 2000, 0, bigDash.c_str()},
        {big.c_str(), "1020,-----,", 2000, 3, ""}, {big.c_str(), "1026,", 2000, 3, ""},
        {"12", "99999999999999999999,", 2000, 3, ""}, {bigTail.c_str(), "1,-", 2000, 3, ""},
    };
    CheckRows(rows, sizeof rows / sizeof rows[0], false);
}

TEST(Mask, RemoveMasks) {
    const Row rows[] = {
        {"123-45-6789", "3,-,2,-", 64, 0, "123456789"}, {"123 45 6789", "3,-,2,-", 64, 3, ""},
        {"12 -  -", "3,-,2,-", 64, 0, "12   "}, {"12", "3,-,2,-", 64, 3, ""},
        {"123(45) 6789", " 3,(,2,) ", 64, 0, "123456789"}, {"123-45-6789", "3,-,4", 64, 3, ""},
        {"123-45-6789", "", 64, 0, "123-45-6789"}, {"123-45-6789", "3,-,2,-", 8, 2, ""},
    };
    CheckRows(rows, sizeof rows / sizeof rows[0], true);
}

TEST(Mask, DisplayPictures) {
    EXPECT_STREQ(FMTFormatString('C', "3,-,2,-"), "XXX-XX-");
    EXPECT_STREQ(FMTFormatString('C', "2,/,2,/,4"), "");
    EXPECT_STREQ(FMTFormatString('C', "90,-,9,-"), "");  // 101 characters
    EXPECT_STREQ(FMTFormatString('C', "90,-,8,-"), (std::string(90, 'X') + "-" + std::string(8, 'X') + "-").c_str());
    EXPECT_STREQ(FMTFormatString('n', "$ZZZ,ZZ9.99CR"), "$ZZZ,ZZ9.99CR");
    EXPECT_STREQ(FMTFormatString('n', "ZZ9.99 trailing"), "ZZ9.99");
    EXPECT_STREQ(FMTFormatString('n', "Z$9"), "");
    // Date and time fields show their descriptor's picture; a bad descriptor
    // shows nothing.
    EXPECT_STREQ(FMTFormatString('d', "1/4"), "MM/DD/YYYY");
    EXPECT_STREQ(FMTFormatString('T', "4."), "HH.MM xM");
    EXPECT_STREQ(FMTFormatString('x', "1/4"), "");
    EXPECT_STREQ(FMTFormatString('C', nullptr), "");
    const char *first = FMTFormatString('C', "1,-");
    FMTFormatString('C', "2,+");
    EXPECT_STREQ(first, "XX+");  // one buffer, overwritten by the next call
}

}  // namespace
