// The hextime stamp and combined date-time conversion, under UTC and under zones with daylight saving.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

// Central European time with its rule spelled out, so that no zone database is needed.
constexpr char kZoneWithDst[] = "CET-1CEST,M3.5.0,M10.5.0/3";
const long kMay24 = 1180015509L;  // 2007-05-24 14:05:09 UTC

void UseZone(const char *zone) {
    setenv("TZ", zone, 1);
    tzset();
}

std::string Hex(long t) {
    char out[16];
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(FMTFillHEXTime(out, t), 0);
    EXPECT_EQ(std::string(out + 8, 2), std::string("\0z", 2));
    return out;
}

std::string Convert(const std::string &source, const char *from, const char *to, int *result = nullptr) {
    char out[96] = {};
    const int r = FMTDateTime2DateTime(source.c_str(), from, out, to);
    if (result != nullptr) *result = r;
    else EXPECT_EQ(r, 0) << source << " " << from << " -> " << to;
    return out;
}

TEST(Hextime, ThirtyTwoBitArithmeticBothWays) {
    EXPECT_EQ(Hex(1800000000L), "EEF61280");  // 2027: below the offset, wraps
    const struct { const char *hex; long t; } reads[] = {
        {"00000000", 0}, {"EEF61280", 1800000000L}, {"EEF612801234", 1800000000L},  // 8 digits at most
        {"  eef61280", 1800000000L}, {"1", 2085863297L}, {"xyz", 0}, {"", 0},
    };
    for (const auto &r : reads) EXPECT_EQ(FMTGetLTime(r.hex), r.t) << r.hex;
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const long t = static_cast<long>(rng() >> 32);  // 0 .. 2^32-1
        const std::string hex = Hex(t);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%08lX",
                      static_cast<unsigned long>(static_cast<uint32_t>(t - 2085863296L)));
        ASSERT_EQ(hex, expected);
        ASSERT_EQ(FMTGetLTime(hex.c_str()), t == 2085863296L ? 0 : t);
        ASSERT_EQ(Hex(static_cast<long>(rng())).size(), 8u);  // any long prints 8 digits
    }
}

// A stamp's broken-down time, date and time agree with libc, and the broken-down time gives the stamp back.
void ExpectLocalConversions(long t) {
    const std::string hex = Hex(t);
    const time_t tt = static_cast<time_t>(t);
    std::tm expected{}, got;
    localtime_r(&tt, &expected);
    std::memset(&got, 0x55, sizeof got);
    EXPECT_EQ(FMTHextime2TMTime(hex.c_str(), &got), 0);
    EXPECT_EQ(std::memcmp(&got, &expected, 9 * sizeof(int)), 0) << hex;
    char date[16], time[16], libcDate[16], libcTime[16], again[9];
    EXPECT_EQ(FMTHextime2Date(hex.c_str(), date, sizeof date), 0);
    std::strftime(libcDate, sizeof libcDate, "%m/%d/%Y", &expected);
    EXPECT_STREQ(date, libcDate);
    EXPECT_EQ(FMTHextime2Time(hex.c_str(), time, sizeof time), 0);
    std::strftime(libcTime, sizeof libcTime, "%H:%M:%S", &expected);
    EXPECT_STREQ(time, libcTime);
    EXPECT_EQ(FMTMakeXATime(again, &expected), 0);
    EXPECT_EQ(std::string(again), hex);
}

// A date's stamp is its local midnight taken without daylight saving.
void ExpectMidnight(const char *date, int year, int month, int day) {
    std::tm midnight{};
    midnight.tm_year = year - 1900, midnight.tm_mon = month - 1, midnight.tm_mday = day;
    char out[16];
    EXPECT_EQ(FMTDate2Hextime(date, out, sizeof out), 0);
    EXPECT_EQ(std::string(out), Hex(static_cast<long>(std::mktime(&midnight)))) << date;
}

TEST(Hextime, LocalConversionsUnderUtc) {
    UseZone("UTC");
    for (long t : {1L, 86399L, kMay24, 1800000000L, 2085863297L, 4294967295L}) ExpectLocalConversions(t);
    ExpectMidnight("12/31/2099", 2099, 12, 31);
    char date[16];
    EXPECT_EQ(FMTHextime2Date("00000000", date, sizeof date), 0);  // the epoch
    EXPECT_STREQ(date, "01/01/1970");
}

TEST(Hextime, LocalConversionsUnderDaylightSaving) {
    UseZone(kZoneWithDst);
    for (long t : {1168000000L, kMay24, 1174784399L, 1174784400L, 1193533199L, 1193533200L, 1193536800L})
        ExpectLocalConversions(t);
    ExpectMidnight("01/15/2007", 2007, 1, 15);
    char out[16];  // the time of day of a stamp converts to any layout
    EXPECT_EQ(FMTTime2Time(Hex(1180008309L).c_str(), "X", out, "3:"), 0);  // 14:05:09 CEST
    EXPECT_STREQ(out, "14:05");
}

TEST(DateTime, DirectDb2AndRecordPair) {
    FMTDateTimeRec rec = {2007, 5, 24, 14, 5, 9, 0}, back;
    char text[80];
    EXPECT_EQ(FMTDateTime2DateTime(&rec, "S2", text, "DB2"), 0);
    EXPECT_STREQ(text, "2007-5-24-14.5.9.0");
    std::memset(&back, 0x55, sizeof back);
    EXPECT_EQ(FMTDateTime2DateTime("2007-05-24-14.05.09.123456", "db2", &back, "s2"), 0);
    EXPECT_EQ(FMTDateTime2DateTime(&back, "S2", text, "DB2"), 0);
    EXPECT_STREQ(text, "2007-5-24-14.5.9.123456");
}

TEST(DateTime, HextimePivotUnderUtc) {
    UseZone("UTC");
    const std::string x = Hex(kMay24);
    EXPECT_EQ(Convert(x, "x", "DB2"), "2007-5-24-14.5.9.0");
    EXPECT_EQ(Convert("2007-5-24-14.5.9.0", "DB2", "X"), x);
    char back[16];
    FMTDateTimeRec rec{};
    EXPECT_EQ(FMTDateTime2DateTime(x.c_str(), "X", &rec, "S2"), 0);
    EXPECT_EQ(rec.year * 100 + rec.second, 200709);
    EXPECT_EQ(FMTDateTime2DateTime(&rec, "S2", back, "X"), 0);
    EXPECT_EQ(std::string(back), x);
}

TEST(DateTime, RoundTripsThroughCombinedTexts) {
    UseZone("UTC");
    UTLSetLocale("USD");
    std::mt19937 rng(42);
    const char *forms[] = {"1/4% 1:", "4/4% 2:", "3-4%T1:", "J4%@4.", "D4%_1-", "O4% 1:"};
    for (int i = 0; i < 2000; ++i) {
        const long t = 2085863297L + static_cast<long>(rng() % 2000000000u);
        const char *form = forms[i % 6];
        const std::string text = Convert(Hex(t), "X", form);
        const bool hasSeconds = std::strchr(form, '1') || std::strchr(form, '2');
        ASSERT_EQ(FMTGetLTime(Convert(text, form, "X").c_str()), hasSeconds ? t : t - t % 60) << text << " " << form;
    }
}

TEST(DateTime, SeparatorSearchTakesTheFirstValidDate) {
    UseZone("UTC");
    UTLSetLocale("USD");
    const std::string x = Hex(kMay24);
    const struct { const char *text, *from; } found[] = {
        {"May 24, 2007 14:05:09", "4/4% 1:"},  // "May" and "May 24," are no dates
        {"5/24/07 2:05:09 PM", "1/4% 2:"},     // the date is read as typed
        {"24 May 2007 14:05:09", "J4% 1:"},    {"2007-05-24-14.05.09", "3-4%-1."},
        {"05/24/2007 14:05:09           xx", "1/4% 1:"},  // the time part is read up to 15
    };
    for (const auto &f : found) EXPECT_EQ(Convert(f.text, f.from, "X"), x) << f.text;
    const struct { const char *text, *from, *to; } failing[] = {
        {"05/24/2007T14:05:09", "1/4% 1:", "X"},  // no separator
        {"05/24/2007 25:05:09", "1/4% 1:", "X"},  // the time does not read
        {x.c_str(), "X", "1/4 1:"},               // no "%"
    };
    for (const auto &f : failing) {
        int result = 0;
        Convert(f.text, f.from, f.to, &result);
        EXPECT_EQ(result, 1) << f.text << " " << f.from << " -> " << f.to;
    }
}

TEST(DateTime, DefaultDescriptorsStandForN) {
    UseZone("UTC");
    char date[32] = "2.4", time[32] = "3.";
    FMTDefDateFormat(date, 'S');
    FMTDefTimeFormat(time, 'S');
    EXPECT_EQ(Convert(Hex(kMay24), "X", "N% n"), "24.05.2007 14.05");
    EXPECT_EQ(Convert("24.05.2007 14.05", "n% N", "X"), Hex(kMay24 - 9));
}

// Combined text to hextime against the date's hextime plus its "1:" time, in zones with and without history.
TEST(DateTime, CombinedTextMatchesMidnightPlusTime) {
    UTLSetLocale("USD");
    std::mt19937 rng(7);
    const char *zones[] = {kZoneWithDst, "Europe/Berlin", "Europe/Moscow", "America/Sao_Paulo",
                           "Australia/Lord_Howe"};
    const char *forms[] = {"1/4% 1:", "1/2% 1:", "2.2%@4:", "3-4%T1:"};
    for (int i = 0; i < 10000; ++i) {
        if (i % 2000 == 0) UseZone(zones[i / 2000]);
        const char *form = forms[i % 4];
        const bool twoDigits = form[2] == '2';
        int year = twoDigits ? static_cast<int>(rng() % 100) : 1800 + static_cast<int>(rng() % 400);
        int month = 1 + static_cast<int>(rng() % 12), day = 1 + static_cast<int>(rng() % 28);
        if (i == 8000) year = 1981, month = 3, day = 1;  // a midnight Lord Howe skipped
        const int hour = static_cast<int>(rng() % 24), minute = static_cast<int>(rng() % 60);
        char date[16], time[16], text[40];
        const int first = form[0] == '2' ? day : form[0] == '3' ? year : month;
        const int last = form[0] == '3' ? day : year;
        const int middle = form[0] == '2' || form[0] == '3' ? month : day;
        std::snprintf(date, sizeof date, twoDigits ? "%02d%c%02d%c%02d" : form[0] == '3' ? "%04d%c%02d%c%02d" : "%02d%c%02d%c%04d",
                      first, form[1], middle, form[1], last);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, 7);
        std::snprintf(text, sizeof text, "%s%c%s", date, form[4], time);
        const char dateForm[4] = {form[0], form[1], form[2], '\0'};
        char midnight[96] = "", oneColon[32] = "";
        ASSERT_EQ(FMTDate2Date(date, dateForm, midnight, "X"), 0) << date;
        ASSERT_EQ(FMTTime2Time(time, form + 5, oneColon, "1:"), 0) << time;
        unsigned long h = 0, m = 0, sec = 0;
        std::sscanf(oneColon, "%lu:%lu:%lu", &h, &m, &sec);
        const std::string expected = Hex(FMTGetLTime(midnight) + static_cast<long>(h * 3600 + m * 60 + sec));
        ASSERT_EQ(Convert(text, form, "X"), expected) << text << " " << form << " " << zones[i / 2000];
    }
}

TEST(DateTime, DaylightSavingZone) {
    UseZone(kZoneWithDst);
    UTLSetLocale("USD");
    const std::string x = Hex(kMay24);  // 16:05:09 CEST
    EXPECT_EQ(Convert(x, "X", "1/4% 1:"), "05/24/2007 16:05:09");
    EXPECT_EQ(Convert(x, "X", "DB2"), "2007-5-24-16.5.9.0");
    // Back from a text the date is midnight without daylight saving: a summer text reads one hour later.
    EXPECT_EQ(FMTGetLTime(Convert("05/24/2007 16:05:09", "1/4% 1:", "X").c_str()), kMay24 + 3600);
    std::tm summer{};
    char back[16];
    EXPECT_EQ(FMTDateTime2DateTime(x.c_str(), "X", &summer, "S1") + FMTDateTime2DateTime(&summer, "S1", back, "X"), 0);
    EXPECT_EQ(summer.tm_isdst, 1);
    EXPECT_EQ(std::string(back), x);
}

TEST(DateTime, EqualFormsAndBadArguments) {
    EXPECT_EQ(Convert("anything at all", "1/4% 1:", "1/4% 1:"), "anything at all");
    EXPECT_EQ(Convert("0000abcd", "X", "X"), "0000abcd");
    // A hextime target holds 9 bytes, whatever the source text.
    char stamp[12];
    std::memset(stamp, 0x7F, sizeof stamp);
    EXPECT_EQ(FMTDateTime2DateTime("05/24/2007 14:", "X", stamp, "X"), 0);
    EXPECT_STREQ(stamp, "05/24/20");
    EXPECT_EQ(stamp[9], 0x7F);
    char out[96];
    const std::string tooLong(80, '1'), longForm = "1/4% 1:" + std::string(60, ' ');  // 67 characters
    EXPECT_EQ((std::array{FMTDateTime2DateTime(tooLong.c_str(), "X", out, "DB2"),
                          FMTDateTime2DateTime("00000001", "X", out, longForm.c_str()),
                          FMTDateTime2DateTime("00000001", "X", out, longForm.substr(1).c_str())}),
              (std::array{1, 1, 0}));
}

}  // namespace
