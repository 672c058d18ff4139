// Time format descriptors: decoding, building, templates, pictures and the
// stored default.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/time.h"

namespace {

TEST(TimeDescriptor, DecodesNumberAndSeparator) {
    const struct {
        const char *descriptor;
        int fmtNum;
        const char *sep;
    } cases[] = {
        {"1:", 1, ":"}, {"2.", 2, "."}, {"4B", 4, " "}, {"7:", 1, ":"}, {"2x", 2, ":"},
        {"", 1, ":"},   {"3", 3, ":"},  {"4,", 4, ","}, {"0.", 1, "."}, {"44", 4, ":"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.descriptor);
        EXPECT_EQ(FMTGetTimeFmtNum(c.descriptor), c.fmtNum);
        char sep[2] = "?", sep2[2] = "?", templ[40] = "", expected[40];
        FMTGetTimeFmtSep(c.descriptor, sep);
        EXPECT_STREQ(sep, c.sep);
        int fmtNum = 0;
        EXPECT_EQ(FMTGetTimeFmtInfo(c.descriptor, &fmtNum, sep2, templ), 0);
        EXPECT_EQ(fmtNum, c.fmtNum);
        EXPECT_STREQ(sep2, c.sep);
        FMTGetTimeFmtSprintf(expected, c.fmtNum, c.sep);
        EXPECT_STREQ(templ, expected);
    }
    EXPECT_EQ(FMTGetTimeFmtNum(nullptr), 1);
    EXPECT_EQ(FMTGetTimeFmtInfo("2.", nullptr, nullptr, nullptr), 0);
    EXPECT_STREQ(FMTTimeSepStr(), ":-., ");
    for (int ch : {':', '-', '.', ',', ' '}) EXPECT_NE(FMTIsTimeSep(ch), 0) << ch;
    for (int ch : {0, int{'b'}, ':' + 256, -1, int{'/'}}) EXPECT_EQ(FMTIsTimeSep(ch), 0) << ch;
}

TEST(TimeDescriptor, BuildsDescriptorsFromParts) {
    const struct {
        int fmtNum;
        const char *sep;  // null for none
        const char *expected, *sepAfter;
    } cases[] = {
        {3, "B", "3b", "b"}, {2, " ", "2b", " "},  {0, ":", "1:", ":"}, {5, "-", "1-", "-"},
        {1, "x", "1", "x"},  {2, nullptr, "2", nullptr}, {4, "", "4", ""}, {1, "Bx", "1b", "bx"},
    };
    for (const auto &c : cases) {
        char sep[4] = "", out[8] = "zzzzzzz";
        if (c.sep != nullptr) std::strcpy(sep, c.sep);
        EXPECT_EQ(FMTGetTimeFmtString(out, c.fmtNum, c.sep ? sep : nullptr), 0);
        EXPECT_STREQ(out, c.expected) << c.fmtNum;
        if (c.sepAfter != nullptr) {
            EXPECT_STREQ(sep, c.sepAfter);
        }
    }
}

TEST(TimeDescriptor, Pictures) {
    const struct {
        const char *descriptor, *picture;
    } cases[] = {
        {"1:", "HH:MM:SS"}, {"2.", "HH.MM.SS xM"}, {"3b", "HH MM"}, {"4-", "HH-MM xM"},
    };
    for (const auto &c : cases) {
        // Exactly the room it needs, and one byte less (left cleared).
        const unsigned need = static_cast<unsigned>(std::strlen(c.picture)) + 1;
        char out[16];
        std::memset(out, 'z', sizeof out);
        EXPECT_EQ(FMTTimeFormatString(c.descriptor, out, need), 0);
        EXPECT_STREQ(out, c.picture);
        std::memset(out, 'z', sizeof out);
        EXPECT_EQ(FMTTimeFormatString(c.descriptor, out, need - 1), 2);
        EXPECT_EQ(std::string(out, need - 1), std::string(need - 1, '\0'));
        EXPECT_EQ(out[need - 1], 'z');
    }
    EXPECT_EQ(FMTTimeFormatString("1:", nullptr, 10), 2);
}

TEST(TimeDescriptor, StoredDefaultAndHourMarkers) {
    char d[32];
    std::memset(d, 'z', sizeof d);
    FMTDefTimeFormat(d, 'G');
    EXPECT_STREQ(d, "1:");
    EXPECT_EQ(d[31], '\0');
    FMTDefTimeFormat(d, 'R');
    EXPECT_STREQ(d, "1:");
    EXPECT_STREQ(FMTHour12Name(-1), "");
    EXPECT_STREQ(FMTHour12Name(24), "");
}

}  // namespace
