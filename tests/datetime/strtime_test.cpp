// Writing broken-down times as text: numeric conversions against libc
// strftime on random times, names and case flags, the in-format locale
// switch, and output that does not fit.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

std::tm RandomTm(std::mt19937 &rng) {
    // Any second of 1900..2099, broken down by the C library so that day of
    // week and day of year agree with the date.
    std::uniform_int_distribution<long long> seconds(-2208988800LL, 4102444799LL);
    const time_t t = static_cast<time_t>(seconds(rng));
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
}

std::string Ours(const char *format, const std::tm &tm) {
    char out[128];
    FMTGetStrTime(out, sizeof out, format, &tm);
    return out;
}

std::string Libc(const char *format, const std::tm &tm) {
    char out[128];
    std::strftime(out, sizeof out, format, &tm);
    return out;
}

TEST(StrTime, NumericConversionsAgreeWithStrftime) {
    UTLSetLocale("USD");
    std::mt19937 rng(20070524);
    // Ours beside the libc format that prints the same (libc spells "no
    // padding" "-").
    const std::pair<const char *, const char *> formats[] = {
        {"%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M:%S"}, {"%y%j%w", "%y%j%w"},
        {"%#m/%#d/%y %#H.%#M.%#S", "%-m/%-d/%y %-H.%-M.%-S"}, {"%#j %#w %#Y %#y", "%-j %-w %Y %y"},
        {"%p %A %B %b", "%p %A %B %b"}, {"%%Y=%Y", "%%Y=%Y"},
    };
    for (int i = 0; i < 4000; ++i) {
        const std::tm tm = RandomTm(rng);
        for (const auto &[ours, libc] : formats)
            ASSERT_EQ(Ours(ours, tm), Libc(libc, tm)) << ours << " year " << tm.tm_year;
        // %I prints the hour itself up to 12 and 00 at midnight.
        const int dial = tm.tm_hour > 12 ? tm.tm_hour - 12 : tm.tm_hour;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d", dial);
        ASSERT_EQ(Ours("%I", tm), expected);
    }
}

std::tm May24() {
    std::tm tm{};
    tm.tm_year = 107;
    tm.tm_mon = 4;
    tm.tm_mday = 24;
    tm.tm_hour = 14;
    tm.tm_min = 5;
    tm.tm_sec = 9;
    tm.tm_wday = 4;
    tm.tm_yday = 143;
    return tm;
}

TEST(StrTime, ConversionsAndFlags) {
    UTLSetLocale("USD");
    std::tm tm = May24();
    struct Case {
        const char *format;
        const char *text;
    } cases[] = {
        {"%A, %<B %#d", "Thursday, may 24"}, {"%>b", "MAY"}, {"%<>A", "Thursday"},
        {"%>A %A", "THURSDAY Thursday"},  // a case flag acts once
        {"%<H%B", "14may"},                // ... on the next name
        {"%#Y%m", "200705"},               // "#" is spent on %Y without effect
        {"%#p%m", "PM5"},                  // ... and waits for a number
        {"%Q", "Q"},                       {"%#", ""}, {"%<", ""},
        {"100%", "100"},                   // a format ending after "%"
    };
    for (const Case &c : cases) EXPECT_EQ(Ours(c.format, tm), c.text) << c.format;
    tm.tm_mon = 8;  // a name held in capitals is capitalised
    EXPECT_EQ(Ours("%<>B %>B %<b", tm), "September SEPTEMBER sep");
    tm.tm_mon = 4;

    const int hours[][2] = {{0, 0}, {11, 11}, {12, 12}, {23, 11}};
    for (const auto &h : hours) {
        tm.tm_hour = h[0];
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d %s", h[1], h[0] < 12 ? "AM" : "pm");
        EXPECT_EQ(Ours(h[0] < 12 ? "%I %p" : "%I %<p", tm), expected);
    }
}

TEST(StrTime, InFormatLocaleSwitchIsUndoneOnEveryWayOut) {
    UTLSetLocale("USD");
    std::tm tm = May24();
    EXPECT_EQ(Ours("%B %@DEM%B %b", tm), "May Mai Mai");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    EXPECT_EQ(FMTGetStrTime(nullptr, 10, "%@DEM%B", &tm), 0);  // no output: nothing happens
    tm.tm_mon = 2;
    EXPECT_EQ(Ours("%@DEM%<>B/%@FRF%B", tm), "M\xE4rz/mars");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    // Left through a name out of range.
    tm.tm_mon = 13;
    char out[32];
    EXPECT_EQ(FMTGetStrTime(out, sizeof out, "%@DEM%B", &tm), 0);
    EXPECT_STREQ(UTLGetLocale(), "USD");
    // Left through output that does not fit.
    tm.tm_mon = 4;
    EXPECT_EQ(FMTGetStrTime(out, 3, "%@DEM%B", &tm), 3);
    EXPECT_STREQ(UTLGetLocale(), "USD");
    // "@" without a letter is skipped; a short name at the end is ignored.
    EXPECT_EQ(Ours("%@1d %d", tm), "1d 24");
    EXPECT_EQ(Ours("%d%@DE", tm), "24");
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

}  // namespace
