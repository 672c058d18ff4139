// Reading date texts: tokens, names, runs of digits, day-of-year formats,
// the year and day checks, the century window of two-digit years, and what
// the outputs hold on failure. Every printed layout reading back is checked
// in date_make_test.cpp; these are the lenient and failing readings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "common/test_support.h"

namespace {

struct Parsed {
    int result, month, day, year;
    bool operator==(const Parsed &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Parsed &p) {
    return os << p.result << " " << p.month << "/" << p.day << "/" << p.year;
}

Parsed Parse(const char *text, int fmtNum, int yrLen) {
    Parsed p{-9, -9, -9, -9};
    p.result = FMTGetDateFmtValues(text, fmtNum, "/", yrLen, &p.month, &p.day, &p.year);
    return p;
}

std::tm Now() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm;
}

TEST(DateParse, LenientReadingsAndCheckedFailures) {
    UTLSetLocale("USD");
    const int p = Now().tm_year;
    const struct { const char *text; int fmtNum, yrLen; Parsed expected; } cases[] = {
        // Year lengths and the century window.
        {"1/5/07", 1, 2, {0, 1, 5, 7}},          {"1/5/07", 1, 4, {0, 1, 5, 2007}},
        {"1/5/2007", 1, 2, {0, 1, 5, 7}},        {"1/5/2060", 1, 2, {0, 1, 5, 2060}},
        {"1/5/1949", 1, 0, {0, 1, 5, 1949}},     {"2008-02-29", 3, -4, {0, 2, 29, 2008}},
        // Blanks, tabs and names in any order around the numbers.
        {"  12 , 25 , 2007  ", 1, 4, {0, 12, 25, 2007}}, {"1\t/5/07", 1, 4, {0, 1, 5, 2007}},
        {"January 5, 2007", 2, 4, {0, 1, 5, 2007}}, {"5 Jan 2007", 1, 4, {0, 1, 5, 2007}},
        {"2007 Jan 5", 3, 4, {0, 1, 5, 2007}},   {"05JAN2007", 2, 4, {0, 1, 5, 2007}},
        {"JAN052007", 13, 4, {0, 1, 5, 2007}},   {"May 24,2007", 4, 4, {0, 5, 24, 2007}},
        {"Mar 7. 07", 24, 4, {0, 3, 7, 2007}},   {"05\tJAN\t2007", 2, 4, {0, 1, 5, 2007}},
        // Runs of digits, split by the format's order.
        {"010507", 1, 2, {0, 1, 5, 7}},          {"050107", 2, 2, {0, 1, 5, 7}},
        {"070105", 3, 2, {0, 1, 5, 7}},          {"0105007", 11, 0, {0, 1, 5, 7}},
        {"032/2007", 17, 4, {0, 2, 1, 2007}},    {"366/2008", 17, 4, {0, 12, 31, 2008}},
        {"1/1/1800", 1, 4, {0, 1, 1, 1800}},     {"12/31/3000", 1, 4, {0, 12, 31, 3000}},
        {"1/5/07", 40, 4, {0, 1, 5, 2007}},
        // Failing the checks: all three outputs are zeroed.
        {"1/5/07", 1, -4, {1, 0, 0, 0}},         {"1/5/2007", 1, -2, {1, 0, 0, 0}},
        {"2/30/2008", 1, 4, {1, 0, 0, 0}},       {"2/29/1900", 1, 4, {1, 0, 0, 0}},
        {"1/1/1799", 1, 4, {1, 0, 0, 0}},        {"1/1/3001", 1, 4, {1, 0, 0, 0}},
        {"1/1/100", 1, 0, {1, 0, 0, 0}},         {"13/5/07", 1, 4, {1, 0, 0, 0}},
        {"1/0/07", 1, 4, {1, 0, 0, 0}},          {"1/5/2007/3", 1, 4, {1, 0, 0, 0}},
        {"12/25", 1, 4, {1, 0, 0, 0}},           {"05JAN2007", 1, 4, {1, 0, 0, 0}},
        {"366/2007", 17, 4, {1, 0, 0, 0}},       {"000/2007", 17, 4, {1, 0, 0, 0}},
        {"123456789", 1, 4, {1, 0, 0, 0}},       {"Foo 5, 2007", 4, 4, {1, 0, 0, 0}},
        {"4/31/2007", 1, 4, {1, 0, 0, 0}},       {"99999999999/1/2007", 1, 4, {1, 0, 0, 0}},
        {"Jan5", 1, 0, {1, 0, 0, 0}},            // no year
        // Unreadable texts keep what was read; the year is the preset one.
        {"", 1, 4, {1, 0, 0, p}},
        {", ,", 1, 4, {1, 0, 0, p}},             {"Jan/Feb/2007", 1, 4, {1, 1, 0, p}},
        {"5/Jan/x", 1, 4, {1, 1, 5, p}},         {"1/5/x7", 1, 4, {1, 1, 5, p}},
        {"XYZ2007", 1, 4, {1, 0, 0, p}},
    };
    for (const auto &c : cases) EXPECT_EQ(Parse(c.text, c.fmtNum, c.yrLen), c.expected) << c.text;
    EXPECT_EQ(FMTGetDateFmtValues(nullptr, 1, "/", 4, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(FMTGetDateFmtValues("1/5/2007", 1, nullptr, 4, nullptr, nullptr, nullptr), 0);
}

// Texts of digits and separators alone are read in one pass when they begin
// with a digit; a leading blank sends the same text through the token
// reader, which must agree.
TEST(DateParse, PlainTextsReadAsThroughTheTokens) {
    std::mt19937 rng(1999);
    const char alphabet[] = "0123456789012345678901234567890123456789/-., x+";
    const int yrLens[] = {0, 2, -2, 4, -4};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const size_t length = 1 + rng() % 14;
        for (size_t n = 0; n < length; ++n) text += alphabet[rng() % (sizeof alphabet - 1)];
        if (i % 3 == 0) text[0] = static_cast<char>('0' + rng() % 10);
        const std::string padded = " " + text;
        const int fmtNum = 1 + static_cast<int>(rng() % 27);
        const int yrLen = yrLens[rng() % 5];
        ASSERT_EQ(Parse(text.c_str(), fmtNum, yrLen), Parse(padded.c_str(), fmtNum, yrLen))
            << text << " " << fmtNum << " " << yrLen;
    }
}

TEST(DateParse, NamesOfTheHostLocale) {
    UTLSetLocale("USD");
    EXPECT_EQ(Parse("5 M\xE4rz 2007", 2, 4).result, 1);
    FMTSetHostLocale("DEM");
    char host[8];
    EXPECT_STREQ(FMTGetHostLocale(host), "DEM");
    EXPECT_EQ(Parse("5 m\xC4rz 2007", 2, 4), (Parsed{0, 3, 5, 2007}));
    EXPECT_STREQ(UTLGetLocale(), "USD");  // matched under DEM, then switched back
    EXPECT_STREQ(FMTMonthName(3), "March");
    FMTSetHostLocale("ABCDEFGHIJ");
    EXPECT_STREQ(FMTGetHostLocale(nullptr), "ABCDEFG");
    FMTSetHostLocale(nullptr);
    EXPECT_STREQ(FMTGetHostLocale(host), "");
    EXPECT_EQ(Parse("5 March 2007", 2, 4).month, 3);
    EXPECT_STREQ(FMTDayName(7), "Saturday");
    EXPECT_EQ(FMTDayName(8), nullptr);
}

// Makes a fresh INI file holding one Control line the configuration of this
// process (each call a new file, so that a re-read would see it).
void UseIni(const std::string &controlLine) {
    static cmnw::test::TempDir dir;
    static int files = 0;
    setenv("CMNW32_INI", dir.Write("c" + std::to_string(++files) + ".ini", "[Control]\n" + controlLine + "\n").c_str(), 1);
}

TEST(Calendar, CenturyWindowWithTheDefaultPivot) {
    unsetenv("CMNW32_INI");
    const int cases[][2] = {{0, 2000}, {49, 2049}, {50, 1950}, {99, 1999}, {100, 100},
                            {2007, 2007}, {-1, 1999}, {3001, 3001}};
    for (const auto &c : cases) EXPECT_EQ(FMTCentury(c[0]), c[1]) << c[0];
    EXPECT_EQ(Parse("1/5/49", 1, 4), (Parsed{0, 1, 5, 2049}));
    EXPECT_EQ(FMTBaseYear(), (Now().tm_year + 1900) / 100 * 100);
}

TEST(Calendar, CenturyWindowWithAConfiguredPivot) {
    UseIni("DateFmt2To4Year=30");
    EXPECT_EQ(FMTCentury(29), 2029);
    EXPECT_EQ(FMTCentury(30), 1930);
    char out[64];
    FMTMakeDate(out, "1/2", 1, 5, 1935);
    EXPECT_STREQ(out, "01/05/35");
    FMTMakeDate(out, "1/2", 1, 5, 2035);
    EXPECT_STREQ(out, "01/05/2035");
    UseIni("DateFmt2To4Year=90");  // the pivot is read once
    EXPECT_EQ(FMTCentury(30), 1930);
}

}  // namespace
