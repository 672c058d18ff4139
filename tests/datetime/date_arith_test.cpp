// Date arithmetic on texts, checked against libc's timegm on random dates and against the month-end rules.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"

namespace {

struct Ymd {
    int year, month, day;
};

std::string Text(const Ymd &d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d/%d/%d", d.month, d.day, d.year);
    return buf;
}

long long EpochDays(const Ymd &d) {
    std::tm tm{};
    tm.tm_year = d.year - 1900, tm.tm_mon = d.month - 1, tm.tm_mday = d.day, tm.tm_hour = 12;
    return (static_cast<long long>(timegm(&tm)) - 43200) / 86400;
}

Ymd FromEpochDays(long long days) {
    std::time_t t = static_cast<std::time_t>(days * 86400 + 43200);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

Ymd RandomDate(std::mt19937 &rng) {
    const int year = 1800 + static_cast<int>(rng() % 1201), month = 1 + static_cast<int>(rng() % 12);
    return {year, month, 1 + static_cast<int>(rng() % FMTDaysInMonth(month, year))};
}

bool IsMonthEnd(const Ymd &d, int month, int year) { return d.day == FMTDaysInMonth(month, year); }

TEST(DateArith, DayOfWeekAndDiffDaysAgreeWithTimegm) {
    std::mt19937 rng(5242007);
    for (int i = 0; i < 20000; ++i) {
        const Ymd a = RandomDate(rng), b = RandomDate(rng);
        const std::string ta = Text(a), tb = Text(b);
        const std::time_t t = static_cast<std::time_t>(EpochDays(a) * 86400);
        std::tm tm{};
        gmtime_r(&t, &tm);
        ASSERT_EQ(FMTDayOfWeek(ta.c_str(), "1/4"), tm.tm_wday + 1) << ta;
        ASSERT_EQ(FMTDayOfYear(ta.c_str(), "1/4"), tm.tm_yday + 1) << ta;
        const long long expected = std::llabs(EpochDays(b) - EpochDays(a));
        ASSERT_EQ(FMTDiffDays(ta.c_str(), "1/4", tb.c_str(), "1/4"), expected) << ta << " " << tb;
    }
}

TEST(DateArith, AddingDaysAgreesWithTimegm) {
    std::mt19937 rng(1232007);
    for (int i = 0; i < 20000; ++i) {
        const Ymd a = RandomDate(rng);
        const int days = static_cast<int>(rng() % 200001) - 100000;
        const Ymd want = FromEpochDays(EpochDays(a) + days);
        if (want.year < 1800 || want.year > 3000) continue;
        char text[64], expected[64];
        std::snprintf(text, sizeof text, "%s", Text(a).c_str());
        ASSERT_EQ(FMTDateAdd(text, "1/4", days, 0, 0), 0);
        std::snprintf(expected, sizeof expected, "%02d/%02d/%04d", want.month, want.day, want.year);
        ASSERT_STREQ(text, expected) << Text(a) << " + " << days;
    }
}

// Whole months and years: the later day must reach the earlier one, or both must be month ends.
TEST(DateArith, DiffMonthsAndYearsFollowTheMonthEndRule) {
    std::mt19937 rng(2282005);
    for (int i = 0; i < 20000; ++i) {
        Ymd a = RandomDate(rng), b = RandomDate(rng);
        if (i % 4 == 0) b = {a.year + static_cast<int>(rng() % 3), 1 + static_cast<int>(rng() % 12), 28};
        if (b.year > 3000) b.year = 3000;
        if (std::tie(a.year, a.month, a.day) > std::tie(b.year, b.month, b.day)) std::swap(a, b);
        const std::string ta = Text(a), tb = Text(b);
        int months = 0;
        if (a.year != b.year || a.month != b.month) {
            const bool whole = b.day >= a.day || (IsMonthEnd(a, a.month, a.year) && IsMonthEnd(b, b.month, b.year));
            months = 12 * (b.year - a.year) + b.month - a.month - 1 + (whole ? 1 : 0);
        }
        ASSERT_EQ(FMTDiffMonths(tb.c_str(), "1/4", ta.c_str(), "1/4"), months) << ta << " " << tb;
        ASSERT_EQ(FMTDiffMonths(ta.c_str(), "1/4", tb.c_str(), "1/4"), months) << ta << " " << tb;
        int years = 0;
        if (a.year != b.year) {
            const bool whole = b.month > a.month || (b.month == a.month && (b.day >= a.day ||
                               (IsMonthEnd(a, a.month, b.year - 1) && IsMonthEnd(b, b.month, b.year))));
            years = b.year - a.year - 1 + (whole ? 1 : 0);
        }
        ASSERT_EQ(FMTDiffYears(ta.c_str(), "1/4", tb.c_str(), "1/4"), years) << ta << " " << tb;
        ASSERT_EQ(FMTDiffYears(tb.c_str(), "1/4", ta.c_str(), "1/4"), years) << ta << " " << tb;
    }
}

TEST(DateArith, BadTextsMixedDescriptorsAndParts) {
    for (auto fn : {FMTDiffDays, FMTDiffMonths, FMTDiffYears})
        EXPECT_EQ((std::array{fn("2/30/2007", "1/4", "1/1/2007", "1/4"), fn("1/1/2007", "1/4", "x", "1/4"),
                              fn(nullptr, "1/4", "1/1/2007", "1/4")}), (std::array{-1, -1, -1}));
    EXPECT_EQ(FMTDiffDays("2007-05-24", "3-4", "24.05.07", "2.2"), 0);
    // An unreadable text gives the fields as read.
    EXPECT_EQ((std::array{FMTDayOfWeek("2/30/2000", "1/4"), FMTYear("5/24/07", "1/2"), FMTDayOfMonth("5/24/x", "1/4")}),
              (std::array{0, 2007, 24}));
}

TEST(DateArith, AddedMonthsAndYearsStopAtMonthEndsAndKeepTheLayout) {
    UTLSetLocale("USD");
    const struct { const char *text, *descriptor; int days, months, years; const char *result; } cases[] = {
        {"1/31/2007", "1/4", 0, 1, 0, "02/28/2007"}, {"1/31/2008", "1/4", 0, 1, 0, "02/29/2008"},
        {"1/15/2007", "1/4", 0, -13, 0, "12/15/2005"}, {"1/15/2007", "1/4", 0, -1, 0, "12/15/2006"},
        {"2/29/2008", "1/4", 0, 0, 1, "02/28/2009"},  {"3/31/2007", "1/4", 0, -1, 0, "02/28/2007"},
        // The result is written under the descriptor, the year window included.
        {"1/5/07", "1/2", 1, 0, 0, "01/06/07"},       {"1/5/07", "1/4", 1, 0, 0, "01/06/2007"},
        {"1/5/07", "1/", 1, 0, 0, "01/06/07"},        {"12/31/49", "1/2", 1, 0, 0, "01/01/2050"},
        {"032/2007", "H/4", 30, 0, 0, "062/2007"},
    };
    for (const auto &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        EXPECT_EQ(FMTDateAdd(text, c.descriptor, c.days, c.months, c.years), 0) << c.text;
        EXPECT_STREQ(text, c.result) << c.text;
    }
    char bad[64] = "2/30/2007";
    EXPECT_EQ(FMTDateAdd(bad, "1/4", 1, 0, 0), 65535);
    EXPECT_STREQ(bad, "2/30/2007");
}

// Extreme amounts end quickly and print whatever year they reach.
TEST(DateArith, ExtremeAdditionsStayBounded) {
    const int amounts[] = {INT_MAX, INT_MIN, INT_MAX / 2, -1000000};
    for (int a : amounts) {
        for (int which = 0; which < 3; ++which) {
            char text[64] = "5/24/2007";
            EXPECT_EQ(FMTDateAdd(text, "1/4", which == 0 ? a : 0, which == 1 ? a : 0, which == 2 ? a : 0), 0);
            EXPECT_LT(std::strlen(text), 64u);
        }
    }
    char text[64] = "12/31/3000";
    FMTDateAdd(text, "1/4", 365 * 3000, 0, 0);  // years past 3000 have 365 days
    EXPECT_STREQ(text, "12/31/6000");
}

}  // namespace
