// Reading date texts: tokens, names, runs of digits, day-of-year formats,
// the year and day checks, and what the outputs hold on failure.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"

namespace {

struct Parsed {
    int result, month, day, year;
};

Parsed Parse(const char *text, int fmtNum, int yrLen) {
    Parsed p{-9, -9, -9, -9};
    p.result = FMTGetDateFmtValues(text, fmtNum, "/", yrLen, &p.month, &p.day, &p.year);
    return p;
}

int PresetYear() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year;
}

TEST(DateParse, ValidTexts) {
    UTLSetLocale("USD");
    const struct {
        const char *text;
        int fmtNum, yrLen;
        int month, day, year;
    } cases[] = {
        {"1/5/07", 1, 2, 1, 5, 7},            {"1/5/07", 1, 4, 1, 5, 2007},
        {"1/5/07", 1, 0, 1, 5, 7},            {"1/5/2007", 1, 2, 1, 5, 7},
        {"1/5/2060", 1, 2, 1, 5, 2060},       {"1/5/1950", 1, 2, 1, 5, 50},
        {"1/5/1949", 1, 2, 1, 5, 1949},       {"1/5/1949", 1, 0, 1, 5, 1949},
        {"2/29/2008", 1, 4, 2, 29, 2008},     {"29.2.2008", 2, 4, 2, 29, 2008},
        {"2008-02-29", 3, -4, 2, 29, 2008},   {"  12 , 25 , 2007  ", 1, 4, 12, 25, 2007},
        {"January 5, 2007", 2, 4, 1, 5, 2007}, {"january 5, 2007", 3, 4, 1, 5, 2007},
        {"5 Jan 2007", 1, 4, 1, 5, 2007},     {"2007 Jan 5", 1, 4, 1, 5, 2007},
        {"5 Jan 2007", 2, 4, 1, 5, 2007},     {"2007 Jan 5", 3, 4, 1, 5, 2007},
        {"05JAN2007", 2, 4, 1, 5, 2007},      {"05JAN2007", 15, 4, 1, 5, 2007},
        {"JAN052007", 1, 4, 1, 5, 2007},      {"JAN052007", 2, 4, 1, 5, 2007},
        {"JAN052007", 13, 4, 1, 5, 2007},     {"2007JAN05", 16, 4, 1, 5, 2007},
        {"Jan5", 1, 0, 1, 5, -1},             {"010507", 1, 2, 1, 5, 7},
        {"01052007", 1, 4, 1, 5, 2007},       {"050107", 2, 2, 1, 5, 7},
        {"070105", 3, 2, 1, 5, 7},            {"20070105", 13, 4, 1, 5, 2007},
        {"0105007", 11, 0, 1, 5, 7},        {"032/2007", 17, 4, 2, 1, 2007},
        {"2007/032", 18, 4, 2, 1, 2007},      {"366/2008", 17, 4, 12, 31, 2008},
        {"1/1/1800", 1, 4, 1, 1, 1800},       {"12/31/3000", 1, 4, 12, 31, 3000},
        {"Dec-25-2007", 21, 4, 12, 25, 2007}, {"25-Dec-2007", 22, 4, 12, 25, 2007},
        {"2007-Dec-25", 23, 4, 12, 25, 2007}, {"2007, December 25", 20, 4, 12, 25, 2007},
        {"25 December, 2007", 19, 4, 12, 25, 2007}, {"Mar 7. 07", 24, 4, 3, 7, 2007},
        {"1/5/07", 40, 4, 1, 5, 2007},        {"May 24,2007", 4, 4, 5, 24, 2007},
        {"1\t/5/07", 1, 4, 1, 5, 2007},       {"05\tJAN\t2007", 2, 4, 1, 5, 2007},
    };
    for (const auto &c : cases) {
        const Parsed p = Parse(c.text, c.fmtNum, c.yrLen);
        if (c.year == -1) {  // no year in the text: fails at the year check
            EXPECT_EQ(p.result, 1) << c.text;
            continue;
        }
        EXPECT_EQ(p.result, 0) << c.text << " under " << c.fmtNum;
        EXPECT_EQ(p.month, c.month) << c.text;
        EXPECT_EQ(p.day, c.day) << c.text;
        EXPECT_EQ(p.year, c.year) << c.text;
    }
}

TEST(DateParse, InvalidTextsAreZeroedAfterTheChecks) {
    UTLSetLocale("USD");
    const struct {
        const char *text;
        int fmtNum, yrLen;
    } cases[] = {
        {"1/5/07", 1, -4},   {"1/5/2007", 1, -2}, {"2/30/2008", 1, 4}, {"2/29/1900", 1, 4},
        {"2/29/2007", 1, 0}, {"1/1/1799", 1, 4},  {"1/1/3001", 1, 4},  {"1/1/100", 1, 0},
        {"13/5/07", 1, 4},   {"0/5/07", 1, 4},    {"1/0/07", 1, 4},    {"1/5/2007/3", 1, 4},
        {"12/25", 1, 4},     {"05JAN2007", 1, 4}, {"366/2007", 17, 4}, {"2007/400", 18, 4},
        {"123456789", 1, 4}, {"Foo 5, 2007", 4, 4}, {"1/32/2007", 1, 4}, {"000/2007", 17, 4},
        {"4/31/2007", 1, 4}, {"99999999999/1/2007", 1, 4},
    };
    for (const auto &c : cases) {
        const Parsed p = Parse(c.text, c.fmtNum, c.yrLen);
        EXPECT_EQ(p.result, 1) << c.text;
        EXPECT_EQ(p.month, 0) << c.text;
        EXPECT_EQ(p.day, 0) << c.text;
        EXPECT_EQ(p.year, 0) << c.text;
    }
}

TEST(DateParse, UnreadableTextsKeepWhatWasRead) {
    UTLSetLocale("USD");
    const int preset = PresetYear();
    const struct {
        const char *text;
        int month, day, year;  // -100: the preset year
    } cases[] = {
        {"", 0, 0, -100},          {"   ", 0, 0, -100},     {", ,", 0, 0, -100},
        {"Jan/Feb/2007", 1, 0, -100}, {"5/Jan/x", 1, 5, -100}, {"1/5/x7", 1, 5, -100},
        {"XYZ2007", 0, 0, -100},   {"/", 0, 0, -100},       {"Jan", 1, 0, -100},
    };
    for (const auto &c : cases) {
        const Parsed p = Parse(c.text, 1, 4);
        EXPECT_EQ(p.result, 1) << c.text;
        EXPECT_EQ(p.month, c.month) << c.text;
        EXPECT_EQ(p.day, c.day) << c.text;
        EXPECT_EQ(p.year, c.year == -100 ? preset : c.year) << c.text;
    }
    // A null text or null outputs are tolerated.
    EXPECT_EQ(FMTGetDateFmtValues(nullptr, 1, "/", 4, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(FMTGetDateFmtValues("1/5/2007", 1, nullptr, 4, nullptr, nullptr, nullptr), 0);
}

TEST(DateParse, ReadsAtMost255Characters) {
    std::string text = "1/5/2007" + std::string(247, ' ') + "/9";
    EXPECT_EQ(text.size(), 257u);
    EXPECT_EQ(Parse(text.c_str(), 1, 4).result, 0);  // the fourth part lies beyond 255
    text = "1/5/2007" + std::string(245, ' ') + "/9";
    EXPECT_EQ(Parse(text.c_str(), 1, 4).result, 1);
    std::string huge(100000, '1');
    EXPECT_EQ(Parse(huge.c_str(), 1, 4).result, 1);
}

TEST(DateParse, NamesOfTheHostLocale) {
    UTLSetLocale("USD");
    EXPECT_EQ(Parse("5 M\xE4rz 2007", 2, 4).result, 1);
    FMTSetHostLocale("DEM");
    char host[8];
    EXPECT_STREQ(FMTGetHostLocale(host), "DEM");
    EXPECT_STREQ(FMTGetHostLocale(nullptr), "DEM");
    const Parsed p = Parse("5 m\xC4rz 2007", 2, 4);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.month, 3);
    EXPECT_STREQ(UTLGetLocale(), "USD");  // matched under DEM, then switched back
    EXPECT_STREQ(FMTMonthName(3), "March");
    FMTSetHostLocale("ABCDEFGHIJ");
    EXPECT_STREQ(FMTGetHostLocale(nullptr), "ABCDEFG");
    FMTSetHostLocale(nullptr);
    EXPECT_STREQ(FMTGetHostLocale(host), "");
    EXPECT_EQ(Parse("5 March 2007", 2, 4).month, 3);
}

TEST(DateParse, NamesOfTheCurrentLocale) {
    UTLSetLocale("USD");
    EXPECT_EQ(FMTMonthName(0), nullptr);
    EXPECT_EQ(FMTMonthName(13), nullptr);
    EXPECT_EQ(FMTMonthName3(13), nullptr);
    EXPECT_EQ(FMTDayName(0), nullptr);
    EXPECT_EQ(FMTDayName(8), nullptr);
    EXPECT_STREQ(FMTMonthName(1), "January");
    EXPECT_STREQ(FMTMonthName3(9), "Sep");
    EXPECT_STREQ(FMTDayName(1), "Sunday");
    EXPECT_STREQ(FMTDayName(7), "Saturday");
    UTLSetLocale("ESP");
    EXPECT_STREQ(FMTMonthName3(5), "MAY");
    const Parsed p = Parse("mayo 5, 2007", 4, 4);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.month, 5);
}

}  // namespace
