// Decoding and building date format descriptors, output templates, and the
// stored default descriptor.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/date.h"

namespace {

TEST(DateDescriptor, DecodesNumberSeparatorAndYearLength) {
    const struct {
        const char *descriptor;
        int fmtNum;
        const char *sep;
        int yrLen;
    } cases[] = {
        {"1/4", 1, "/", 4},  {"a4", 10, "/", 4},  {"4-4", 4, "-", 4},  {"4B4", 4, " ", 4},
        {"44", 4, ",", 4},   {"L4", 21, "-", 4},  {"L/4", 21, "/", 4}, {"B/4", 11, "", 4},
        {"99-5", 1, "/", 0}, {"2", 2, "/", 2},    {"", 1, "/", 0},     {"1.2", 1, ".", 2},
        {"2-3", 2, "-", -2}, {"3 5", 3, " ", -4}, {"R", 27, "", 0},    {"S/4", 1, "/", 4},
        {"Q/4", 26, ",", 4}, {"G-4", 16, "", 4},  {"1x4", 1, "/", 0},  {"14>", 1, "/", 4},
        {"0/4", 1, "/", 4},  {"1b", 1, " ", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.descriptor);
        EXPECT_EQ(FMTGetDateFmtNum(c.descriptor), c.fmtNum);
        char sep[2] = {'x', 'x'};
        FMTGetDateFmtSep(c.descriptor, sep);
        EXPECT_STREQ(sep, c.sep);
        EXPECT_EQ(FMTGetDateFmtYrLen(c.descriptor), c.yrLen);
        // The combined call agrees, and hands back the format's template.
        int fmtNum = -1, yrLen = -1;
        char sep2[2] = {'x', 'x'}, templ[40] = "", expected[40];
        EXPECT_EQ(FMTGetDateFmtInfo(c.descriptor, &fmtNum, sep2, &yrLen, templ), 0);
        EXPECT_EQ(fmtNum * 100 + yrLen, c.fmtNum * 100 + c.yrLen);
        EXPECT_STREQ(sep2, c.sep);
        FMTGetDateFmtSprintf(expected, c.fmtNum, c.sep, c.yrLen);
        EXPECT_STREQ(templ, expected);
    }
    EXPECT_EQ(FMTGetDateFmtInfo("2.4", nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(FMTGetDateFmtNum(nullptr), 1);
    EXPECT_EQ(FMTGetDateFmtYrLen(nullptr), 0);
}

TEST(DateDescriptor, BuildsDescriptorsFromParts) {
    const struct {
        int fmtNum;
        const char *sep;
        int yrLen;
        const char *descriptor, *sepAfter;
    } cases[] = {
        {22, "b", -4, "Mb5", "b"}, {40, "/", 4, "1/4", "/"}, {0, "-", 2, "1-2", "-"},
        {1, "B", 4, "1b4", "b"},   {10, " ", 3, "Ab3", " "}, {13, "", 7, "D", ""},
        {19, ",", -2, "J,3", ","}, {9, ".", 0, "9.", "."},
    };
    for (const auto &c : cases) {
        char sep[8], out[8];
        std::strcpy(sep, c.sep);
        EXPECT_EQ(FMTGetDateFmtString(out, c.fmtNum, sep, c.yrLen), 0);
        EXPECT_STREQ(out, c.descriptor);
        EXPECT_STREQ(sep, c.sepAfter);  // an upper-case B is lowered in place
    }
    char out[8];
    FMTGetDateFmtString(out, 5, nullptr, 4);
    EXPECT_STREQ(out, "54");
}

TEST(DateDescriptor, SeparatorsAndStoredDefault) {
    EXPECT_STREQ(FMTDateSepStr(), "/-., ");
    for (int ch : {'/', '-', '.', ',', ' '}) EXPECT_NE(FMTIsDateSep(ch), 0) << ch;
    for (int ch : {0, int{'b'}, '/' + 256, -1}) EXPECT_EQ(FMTIsDateSep(ch), 0) << ch;

    char buf[32];
    std::memset(buf, 'z', sizeof buf);
    FMTDefDateFormat(buf, 'G');
    EXPECT_STREQ(buf, "1/4");
    EXPECT_EQ(buf[31], '\0');  // the whole 32 bytes are cleared first
    FMTDefDateFormat(nullptr, 'R');  // resets even without a buffer
    FMTDefDateFormat(buf, 'G');
    EXPECT_STREQ(buf, "1/4");
}

}  // namespace
