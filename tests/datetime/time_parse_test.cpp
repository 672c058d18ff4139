// Time texts: format descriptors, reading, validating, printing and the
// arithmetic on them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/time.h"

namespace {

TEST(TimeParse, PiecesAmPmWordsAndFailures) {
    const struct { const char *text; int fmtNum, result, hour, minute, second; const char *marker; } cases[] = {
        {"12:15 am", 4, 0, 0, 15, 0, "AM"},
        {"13:00 AM", 4, 1, 13, 0, 0, "AM"},        {"13:00 PM", 4, 0, 13, 0, 0, "PM"},
        {"0:00 PM", 4, 0, 12, 0, 0, "PM"},
        {"0930", 3, 0, 9, 30, 0, ""},              {"093015", 3, 1, 0, 0, 0, ""},
        {"24:00", 1, 1, 24, 0, 0, ""},             {"10:30:60", 1, 1, 10, 30, 60, ""},
        {"7", 1, 1, 0, 0, 0, ""},                  {"7:", 1, 0, 7, 0, 0, ""},
        {"14::05", 3, 0, 14, 5, 0, ""},            {"1:30 pmx", 2, 0, 13, 30, 0, "PM"},
        {"1:30 P", 2, 1, 1, 30, 0, ""},            {"1:30 XM", 2, 1, 1, 30, 0, ""},
        {"1:30:15 AM junk", 2, 0, 1, 30, 15, "AM"},  // a fifth piece is not read
        {"1:30:15 xx am", 2, 1, 1, 30, 15, ""},      // the fourth piece is the word
        {"1:30 xx am", 2, 0, 1, 30, 0, "AM"},        // ... and replaces the third's
        {"9h30", 3, 0, 9, 0, 0, ""},                 // no separator, wrong length
        {"9h:30m", 3, 0, 9, 30, 0, ""},              // leading numbers of the pieces
        {":", 1, 1, 0, 0, 0, ""},                  {"99999999999:00", 1, 1, 2147483647, 0, 0, ""},
    };
    for (const auto &c : cases) {
        char marker[3] = "zz";
        int h = -7, m = -7, s = -7;
        EXPECT_EQ(FMTGetTimeFmtValues(c.text, c.fmtNum, ":", marker, &h, &m, &s), c.result) << c.text;
        EXPECT_EQ((std::array{h, m, s}), (std::array{c.hour, c.minute, c.second})) << c.text;
        EXPECT_STREQ(marker, c.marker) << c.text;
    }
    EXPECT_EQ(FMTGetTimeFmtValues(nullptr, 1, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(FMTGetTimeFmtValues("1:2:3", 1, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

// Typed texts validated (FMTValTime, blank entries kept as pictures) and
// deformatted (a blank entry is no time), each rewritten in place.
TEST(TimeParse, ValidateAndDeformatTypedTimes) {
    const struct { bool deformat; const char *text; unsigned maxLen; const char *descriptor; int result; const char *after; } cases[] = {
        {false, "0:5", 20, "1:", 0, "00:05:00"},  {false, "1:30 pm", 20, "2:", 0, "01:30:00 PM"},
        {false, "1:30 pm", 20, "3.", 0, "13.30"}, {false, "25:00", 20, "1:", 1, "25:00"},
        {false, "", 20, "1:", 0, ""},             {false, "    ", 20, "1:", 0, "    "},
        {false, ": :", 20, "1:", 0, "  :  :  "}, {false, "-  ,", 20, "3.", 0, "  .  "},
        {false, ":::", 20, "1:", 1, ":::"},       {false, ":5", 20, "3b", 1, ":5"},
        {false, "14:05:09 and then some", 8, "1:", 0, "14:05:09"},
        {false, "14:05:09 pm extra words", 30, "1:", 0, "14:05:09"},  // read up to 14
        {true, "1:30 pm", 20, "4:", 0, "01:30 PM"}, {true, ":", 20, "1:", 1, ":"},
        {true, "2:3:4 and more", 5, "1.", 0, "02.03.04"},
    };
    for (const auto &c : cases) {
        char text[40];
        std::strcpy(text, c.text);
        EXPECT_EQ((c.deformat ? FMTDeformatTime : FMTValTime)(text, c.maxLen, c.descriptor), c.result) << c.text;
        EXPECT_STREQ(text, c.after) << c.text;
    }
    EXPECT_EQ(FMTValTime(nullptr, 5, "1:"), 1);
    EXPECT_EQ(FMTDeformatTime(nullptr, 5, "1."), 1);
    // Parts are what the parser left, checked or not.
    EXPECT_EQ((std::array{FMTHourOfTime("25:10", "1:"), FMTMinuteOfTime("25:10", "1:"),
                          FMTMinuteOfTime("x5:10", "1:"), FMTHourOfTime(nullptr, "1:"),
                          FMTSecondOfTime("10:20", "1:")}),
              (std::array{25, 10, 10, 0, 0}));
}

TEST(TimeParse, AddingCarriesOnceAndNeverBorrows) {
    const struct { const char *text; int s, m, h, result; const char *after; } cases[] = {
        {"10:00:00", 150, 0, 0, 0, "10:01:90"}, {"10:00:00", -5, 0, 0, 0, "10:00:-5"},
        {"nope", 1, 0, 0, 65535, "nope"},
        {"10:00:00", 2147483647, 2147483647, 2147483647, 0, nullptr},
    };
    for (const auto &c : cases) {
        char text[48];
        std::strcpy(text, c.text);
        EXPECT_EQ(FMTTimeAdd(text, "1:", c.s, c.m, c.h), c.result) << c.text;
        if (c.after != nullptr) { EXPECT_STREQ(text, c.after); }
        EXPECT_LT(std::strlen(text), 40u);
    }
    EXPECT_EQ(FMTTimeAdd(nullptr, "1:", 1, 1, 1), 65535);
}

// What a time prints as under a format and separator, written out here.
std::string Printed(int fmt, char sep, int h, int m, int s) {
    char out[32];
    const int n = std::snprintf(out, sizeof out, "%02d%c%02d", fmt % 2 ? h : (h + 11) % 12 + 1, sep, m);
    if (fmt <= 2) std::snprintf(out + n, sizeof out - n, "%c%02d", sep, s);
    return std::string(out) + (fmt % 2 ? "" : h < 12 ? " AM" : " PM");
}

// Random times under every format and separator: printed as written out
// above, read back to the same fields, kept by validation, converted to any
// other layout, added to and subtracted as seconds of the day.
TEST(TimeRoundTrip, EveryFormatAndSeparator) {
    std::mt19937 rng(1330);
    const char codes[] = ":.-,b";
    for (int i = 0; i < 20000; ++i) {
        const int fmt = 1 + static_cast<int>(rng() % 4), fmt2 = 1 + static_cast<int>(rng() % 4);
        const char code = codes[rng() % 5], code2 = codes[rng() % 5];
        const char sep = code == 'b' ? ' ' : code;
        const char d[3] = {static_cast<char>('0' + fmt), code, '\0'};
        const char d2[3] = {static_cast<char>('0' + fmt2), code2, '\0'};
        const int h = static_cast<int>(rng() % 24), m = static_cast<int>(rng() % 60);
        const int s = fmt <= 2 ? static_cast<int>(rng() % 60) : 0;
        char text[48];
        ASSERT_EQ(FMTMakeTime(text, d, h, m, s), 0);
        ASSERT_EQ(text, Printed(fmt, sep, h, m, s)) << d;
        char marker[3];
        int gh = -1, gm = -1, gs = -1;
        ASSERT_EQ(FMTGetTimeFmtValues(text, fmt, d + 1, marker, &gh, &gm, &gs), 0) << d << text;
        ASSERT_EQ((std::array{gh, gm, gs}), (std::array{h, m, s})) << d << " " << text;
        ASSERT_STREQ(marker, fmt % 2 == 0 ? FMTHour12Name(h) : "");
        ASSERT_STREQ(FMTHour12Name(h + 24), "");  // no marker outside a day's hours
        ASSERT_STREQ(FMTHour12Name(-1 - h), "");
        ASSERT_EQ(FMTHourOfTime(text, d) * 10000 + FMTMinuteOfTime(text, d) * 100 + FMTSecondOfTime(text, d),
                  h * 10000 + m * 100 + s);
        char copy[48];
        std::strcpy(copy, text);
        ASSERT_EQ(FMTValTime(copy, 14, d), 0);
        ASSERT_STREQ(copy, text);
        char converted[48];
        ASSERT_EQ(FMTTime2Time(text, d, converted, d2), 0);
        ASSERT_EQ(converted, Printed(fmt2, code2 == 'b' ? ' ' : code2, h, m, s)) << text << " to " << d2;
        // Adding: within one carry per field the result is the sum modulo a day.
        const int ds = static_cast<int>(rng() % 60), dm = static_cast<int>(rng() % 60),
                  dh = static_cast<int>(rng() % 24);
        const int sum = (h * 3600 + m * 60 + s + dh * 3600 + dm * 60 + ds) % 86400;
        ASSERT_EQ(FMTTimeAdd(copy, d, ds, dm, dh), 0);
        ASSERT_EQ(copy, Printed(fmt, sep, sum / 3600, sum / 60 % 60, sum % 60)) << text << " + " << dh << ":" << dm << ":" << ds;
        // Differences: the distance in seconds, whole minutes, whole hours.
        const int diff = std::abs((fmt <= 2 ? sum : sum - sum % 60) - (h * 3600 + m * 60 + s));
        ASSERT_EQ(FMTDiffSeconds(text, d, copy, d), diff) << text << " " << copy;
        ASSERT_EQ(FMTDiffMinutes(copy, d, text, d), FMTDiffSeconds(text, d, copy, d) / 60);
        ASSERT_EQ(FMTDiffHours(copy, d, text, d), FMTDiffSeconds(text, d, copy, d) / 3600);
    }
}

TEST(TimeDescriptor, DecodesNumberAndSeparator) {
    const struct { const char *descriptor; int fmtNum; const char *sep; } cases[] = {
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
        EXPECT_EQ(fmtNum * 1000 + sep2[0], c.fmtNum * 1000 + c.sep[0]);
        FMTGetTimeFmtSprintf(expected, c.fmtNum, c.sep);
        EXPECT_STREQ(templ, expected);
    }
    EXPECT_EQ(FMTGetTimeFmtInfo("2.", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(FMTIsTimeSep(':' + 256), 0);
    EXPECT_STREQ(FMTTimeSepStr(), ":-., ");
    EXPECT_STREQ(FMTHour12Name(24), "");
}

}  // namespace
