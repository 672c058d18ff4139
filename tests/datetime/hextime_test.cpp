// The hextime stamp: 32-bit arithmetic both ways, and its local date, time
// and broken-down time under UTC and under a zone with daylight saving.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/time.h"

namespace {

// Central European time with its daylight-saving rule, spelled out so that
// no zone database is needed.
constexpr char kZoneWithDst[] = "CET-1CEST,M3.5.0,M10.5.0/3";

void UseZone(const char *zone) {
    setenv("TZ", zone, 1);
    tzset();
}

std::string Fill(long t) {
    char out[16];
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(FMTFillHEXTime(out, t), 0);
    EXPECT_EQ(out[8], '\0');
    EXPECT_EQ(out[9], 'z');
    return out;
}

TEST(Hextime, ThirtyTwoBitArithmeticBothWays) {
    EXPECT_EQ(Fill(1800000000L), "EEF61280");  // 2027: below the offset, wraps
    const struct {
        const char *hex;
        long t;
    } reads[] = {
        {"00000000", 0},           {"EEF61280", 1800000000L},  // today's stamps read as today
        {"EEF612801234", 1800000000L},  // 8 digits at most
        {"  eef61280", 1800000000L}, {"1", 2085863297L}, {"xyz", 0}, {"", 0},
    };
    for (const auto &r : reads) EXPECT_EQ(FMTGetLTime(r.hex), r.t) << r.hex;
    EXPECT_EQ(FMTGetLTime(nullptr), 0);
    EXPECT_EQ(FMTFillHEXTime(nullptr, 5), 1);

    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const long t = static_cast<long>(rng() >> 32);  // 0 .. 2^32-1
        const std::string hex = Fill(t);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%08lX",
                      static_cast<unsigned long>(static_cast<uint32_t>(t - 2085863296L)));
        ASSERT_EQ(hex, expected);
        ASSERT_EQ(FMTGetLTime(hex.c_str()), t == 2085863296L ? 0 : t);
        // Any long prints 8 digits.
        ASSERT_EQ(Fill(static_cast<long>(rng())).size(), 8u);
    }
}

void ExpectLocalConversions(long t) {
    const std::string hex = Fill(t);
    const time_t tt = static_cast<time_t>(t);
    std::tm expected{};
    localtime_r(&tt, &expected);

    std::tm got;
    std::memset(&got, 0x55, sizeof got);
    EXPECT_EQ(FMTHextime2TMTime(hex.c_str(), &got), 0);
    EXPECT_EQ(std::memcmp(&got, &expected, 9 * sizeof(int)), 0) << hex;

    char date[16], time[16], libcDate[16], libcTime[16];
    std::memset(date, 'z', sizeof date);
    EXPECT_EQ(FMTHextime2Date(hex.c_str(), date, sizeof date), 0);
    std::strftime(libcDate, sizeof libcDate, "%m/%d/%Y", &expected);
    EXPECT_STREQ(date, libcDate);
    EXPECT_EQ(date[15], '\0');
    EXPECT_EQ(FMTHextime2Time(hex.c_str(), time, sizeof time), 0);
    std::strftime(libcTime, sizeof libcTime, "%H:%M:%S", &expected);
    EXPECT_STREQ(time, libcTime);

    // Back: a broken-down local time gives the same stamp.
    std::tm local = expected;
    char again[9];
    EXPECT_EQ(FMTMakeXATime(again, &local), 0);
    EXPECT_EQ(std::string(again), hex);
}

void ExpectMidnights(const char *date, int year, int month, int day) {
    std::tm midnight{};
    midnight.tm_year = year - 1900;
    midnight.tm_mon = month - 1;
    midnight.tm_mday = day;
    midnight.tm_isdst = 0;  // the stamp is taken without daylight saving
    const long t = static_cast<long>(std::mktime(&midnight));
    char out[16];
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(FMTDate2Hextime(date, out, sizeof out), 0);
    EXPECT_EQ(std::string(out), Fill(t)) << date;
    EXPECT_EQ(out[15], '\0');
}

TEST(Hextime, LocalConversionsUnderUtc) {
    UseZone("UTC");
    for (long t : {1L, 86399L, 1180015509L, 1800000000L, 2085863297L, 4294967295L})
        ExpectLocalConversions(t);
    ExpectMidnights("12/31/2099", 2099, 12, 31);
    char date[16];
    EXPECT_EQ(FMTHextime2Date("00000000", date, sizeof date), 0);  // the epoch
    EXPECT_STREQ(date, "01/01/1970");
    EXPECT_EQ(FMTHextime2Date("1", nullptr, 5), 65535);
    EXPECT_EQ(FMTHextime2TMTime("1", nullptr), 65535);
}

TEST(Hextime, LocalConversionsUnderDaylightSaving) {
    UseZone(kZoneWithDst);
    // Winter, summer, and both sides of the spring and autumn changes.
    for (long t : {1168000000L, 1180015509L, 1174784399L, 1174784400L, 1193533199L, 1193533200L,
                   1193536800L})
        ExpectLocalConversions(t);
    // A summer date's stamp is standard-time midnight, 01:00 daylight-saving time.
    ExpectMidnights("01/15/2007", 2007, 1, 15);
    ExpectMidnights("05/24/2007", 2007, 5, 24);
    // The time of day of a stamp converts to any layout.
    char out[16];
    EXPECT_EQ(FMTTime2Time(Fill(1180008309L).c_str(), "X", out, "3:"), 0);  // 14:05:09 CEST
    EXPECT_STREQ(out, "14:05");
    EXPECT_EQ(FMTTime2Time(Fill(1180008309L).c_str(), "x", out, "2."), 0);
    EXPECT_STREQ(out, "02.05.09 PM");
}

}  // namespace
