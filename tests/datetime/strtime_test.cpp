// Broken-down times as text both ways: against libc strftime, flags, locale switches and range checks.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

// A random second of [from, to], broken down by libc so that day of week and year agree with the date.
std::tm RandomTm(std::mt19937 &rng, long long from, long long to) {
    const time_t t = static_cast<time_t>(std::uniform_int_distribution<long long>(from, to)(rng));
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm;
}

std::string Ours(const char *format, const std::tm &tm) {
    char out[128];
    FMTGetStrTime(out, sizeof out, format, &tm);
    return out;
}

TEST(StrTime, NumericConversionsAgreeWithStrftime) {
    UTLSetLocale("USD");
    std::mt19937 rng(20070524);
    // Ours beside the libc format that prints the same (libc spells "no padding" "-").
    const std::pair<const char *, const char *> formats[] = {
        {"%Y-%m-%d %H:%M:%S", "%Y-%m-%d %H:%M:%S"}, {"%y%j%w", "%y%j%w"},
        {"%#m/%#d/%y %#H.%#M.%#S", "%-m/%-d/%y %-H.%-M.%-S"}, {"%#j %#w %#Y %#y", "%-j %-w %Y %y"},
        {"%p %A %B %b", "%p %A %B %b"}, {"%%Y=%Y", "%%Y=%Y"},
    };
    for (int i = 0; i < 4000; ++i) {
        const std::tm tm = RandomTm(rng, -2208988800LL, 4102444799LL);  // 1900..2099
        for (const auto &[ours, libc] : formats) {
            char expected[128];
            std::strftime(expected, sizeof expected, libc, &tm);
            ASSERT_EQ(Ours(ours, tm), expected) << ours << " year " << tm.tm_year;
        }
    }
}

std::tm May24() {
    std::tm tm{};
    tm.tm_year = 107, tm.tm_mon = 4, tm.tm_mday = 24, tm.tm_hour = 14, tm.tm_min = 5, tm.tm_sec = 9;
    tm.tm_wday = 4, tm.tm_yday = 143;
    return tm;
}

TEST(StrTime, ConversionsAndFlags) {
    UTLSetLocale("USD");
    const struct { const char *format, *text; int month = 4, hour = 14; } cases[] = {
        {"%A, %<B %#d", "Thursday, may 24"}, {"%>b", "MAY"}, {"%<>A", "Thursday"},
        {"%>A %A", "THURSDAY Thursday"},  // a case flag acts once
        {"%<H%B", "14may"},                // ... on the next name
        {"%#Y%m", "200705"},               // "#" is spent on %Y without effect
        {"%#p%m", "PM5"},                  // ... and waits for a number
        {"%Q", "Q"}, {"%#", ""}, {"%<", ""}, {"100%", "100"},  // a format ending after "%"
        {"%<>B %>B %<b", "September SEPTEMBER sep", 8},  // a name held in capitals is capitalised
        {"%I %p", "00 AM", 4, 0}, {"%I %p", "11 AM", 4, 11}, {"%I %<p", "12 pm", 4, 12}, {"%I %<p", "11 pm", 4, 23},
    };
    for (const auto &c : cases) {
        std::tm tm = May24();
        tm.tm_mon = c.month, tm.tm_hour = c.hour;
        EXPECT_EQ(Ours(c.format, tm), c.text) << c.format;
    }
}

TEST(StrTime, InFormatLocaleSwitchIsUndoneOnEveryWayOut) {
    UTLSetLocale("USD");
    std::tm tm = May24();
    EXPECT_EQ(Ours("%B %@DEM%B %b", tm), "May Mai Mai");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    char out[32];
    EXPECT_EQ(FMTGetStrTime(out, 3, "%@DEM%B", &tm), 3);  // left through output that does not fit
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

using Fields = std::array<int, 8>;  // sec, min, hour, mday, mon, year, wday, yday

Fields Of(const std::tm &t) {
    return {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday};
}

TEST(TMTime, ReadsTextsAndChecksRanges) {
    UTLSetLocale("USD");
    const struct { const char *text, *format; int result; Fields fields; } cases[] = {
        {"5/24/60", "%m/%d/%y", 0, {0, 0, 0, 24, 4, 60, 2, 144}},
        {"24:00:00", "%H:%M:%S", 0, {0, 0, 24, 1, 0, 0, 1, 0}},
        {"366/2008", "%j/%Y", 0, {0, 0, 0, 31, 11, 108, 3, 365}},
        {"05/24", "%m/%d/%Y", 0, {0, 0, 0, 24, 4, 0, 4, 143}},  // ends early
        {"on 2007-05-24 at 14h05", "%Y %m %d %H %M", 0, {0, 5, 14, 24, 4, 107, 4, 143}},
        // The fields read up to the failing one stay.
        {"5/24/2007 25:00", "%m/%d/%Y %H:%M", 1, {0, 0, 25, 24, 4, 107, 0, 0}},
    };
    for (const auto &c : cases) {
        std::tm tm;
        std::memset(&tm, c.result ? 0 : 0x55, sizeof tm);
        EXPECT_EQ(FMTGetTMTime(c.text, c.format, &tm), c.result) << c.text;
        EXPECT_EQ(Of(tm), c.fields) << c.text;
    }
    const struct { const char *text, *format; } failing[] = {
        {"25:00:00", "%H:%M:%S"}, {"10:60:00", "%H:%M:%S"}, {"10:00:60", "%H:%M:%S"},
        {"0/5/2007", "%m/%d/%Y"},  {"13/5/2007", "%m/%d/%Y"}, {"5/32/2007", "%m/%d/%Y"},
        {"5/24/0", "%m/%d/%Y"},    {"000/2007", "%j/%Y"},     {"367/2007", "%j/%Y"},
        {"Mayo 24", "%m %d"},      {"Smarch 3", "%B %d"},     {"5/24/", "%m/%d/%y"}, {"", "%m"},
    };
    for (const auto &c : failing) {
        std::tm tm{};
        EXPECT_EQ(FMTGetTMTime(c.text, c.format, &tm), 1) << c.text << " " << c.format;
    }
}

TEST(TMTime, ReadsBackWhatStrTimeWrote) {
    UTLSetLocale("USD");
    std::mt19937 rng(1999);
    const char *formats[] = {
        "%m/%d/%Y %H:%M:%S", "%d.%m.%Y", "%B %d, %Y %H:%M", "%b %#d %y", "%Y%m%d%H%M%S",
        "%#d-%<b-%Y %#H.%#M.%#S", "%j/%Y", "%>B %y", "%Y, %j %I",
    };
    for (int i = 0; i < 3000; ++i) {
        // 1950..2049: the two-digit years of the default window.
        const std::tm written = RandomTm(rng, -631152000LL, 2524607999LL);
        for (const char *format : formats) {
            char text[80];
            ASSERT_GT(FMTGetStrTime(text, sizeof text, format, &written), 0);
            std::tm read{};
            ASSERT_EQ(FMTGetTMTime(text, format, &read), 0) << text << " / " << format;
            // Compare the fields the format holds; the derived ones follow the date.
            const std::string f = format;
            const auto has = [&f](const char *c) { return f.find(c) != std::string::npos; };
            const bool hasDay = has("d") || has("j");
            const bool held[8] = {has("%S"), has("%M"), has("%H"), hasDay, true, true, hasDay, hasDay};
            Fields w = Of(written), r = Of(read);
            for (int k = 0; k < 8; ++k) w[k] = held[k] ? w[k] : 0, r[k] = held[k] ? r[k] : 0;
            ASSERT_EQ(r, w) << text << " / " << format;
        }
    }
}

}  // namespace
