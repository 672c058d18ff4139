// Calendar rules: century window, leap years, month lengths, day-of-year
// conversions and the local clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "datetime/date_internal.h"

namespace {

using cmnw::datetime::DateFromDayOfYear;
using cmnw::datetime::DayOfYearFromDate;

// Writes an INI file with the given Control section line into a fresh
// directory and makes it the configuration of this process.
void UseIni(const char *controlLine) {
    char dir[] = "/tmp/cmnw_calendar_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/test.ini";
    FILE *f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "[Control]\n%s\n", controlLine);
    std::fclose(f);
    setenv("CMNW32_INI", path.c_str(), 1);
}

int LocalYear() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm.tm_year + 1900;
}

TEST(Calendar, CenturyWindowWithTheDefaultPivot) {
    unsetenv("CMNW32_INI");
    const int cases[][2] = {{0, 2000},   {7, 2007},     {49, 2049},     {50, 1950},
                            {99, 1999},  {100, 100},    {999, 999},     {1000, 1000},
                            {2007, 2007}, {-1, 1999},   {3001, 3001}};
    for (const auto &c : cases) EXPECT_EQ(FMTCentury(c[0]), c[1]) << c[0];
    int m, d, y;
    EXPECT_EQ(FMTGetDateFmtValues("1/5/49", 1, "/", 4, &m, &d, &y), 0);
    EXPECT_EQ(y, 2049);
    EXPECT_EQ(FMTGetDateFmtValues("1/5/50", 1, "/", 4, &m, &d, &y), 0);
    EXPECT_EQ(y, 1950);
}

TEST(Calendar, CenturyWindowWithAConfiguredPivot) {
    UseIni("DateFmt2To4Year=30");
    EXPECT_EQ(FMTCentury(29), 2029);
    EXPECT_EQ(FMTCentury(30), 1930);
    EXPECT_EQ(FMTCentury(49), 1949);
    char out[64];
    FMTMakeDate(out, "1/2", 1, 5, 1935);
    EXPECT_STREQ(out, "01/05/35");
    FMTMakeDate(out, "1/2", 1, 5, 2035);
    EXPECT_STREQ(out, "01/05/2035");
}

TEST(Calendar, PivotZeroUsesTheCurrentCentury) {
    UseIni("DateFmt2To4Year=0");
    EXPECT_EQ(FMTBaseYear(), LocalYear() / 100 * 100);
    EXPECT_EQ(FMTCentury(7), FMTBaseYear() + 7);
    EXPECT_EQ(FMTCentury(99), FMTBaseYear() + 99);
}

TEST(Calendar, PivotOutOfRangeCountsAsZero) {
    UseIni("DateFmt2To4Year=120");
    EXPECT_EQ(FMTCentury(7), FMTBaseYear() + 7);
    EXPECT_EQ(FMTCentury(75), FMTBaseYear() + 75);
}

TEST(Calendar, PivotIsReadOnce) {
    UseIni("DateFmt2To4Year=10");
    EXPECT_EQ(FMTCentury(10), 1910);
    UseIni("DateFmt2To4Year=90");  // a later configuration is not seen
    EXPECT_EQ(FMTCentury(10), 1910);
}

TEST(Calendar, LeapYearsAndMonthLengths) {
    unsetenv("CMNW32_INI");
    const int leap[] = {2000, 2004, 1804, 2996, 2400, 4, 0, 96, 3000 - 3000 + 2008};
    const int plain[] = {1900, 2100, 1796, 3004, 2007, 1800, 3000, 1, 100, 400, 999, -1};
    for (int y : leap) EXPECT_EQ(FMTIsLeapYear(y), 1) << y;
    for (int y : plain) EXPECT_EQ(FMTIsLeapYear(y), 0) << y;
    EXPECT_EQ(FMTDaysInYear(2008), 366);
    EXPECT_EQ(FMTDaysInYear(2007), 365);
    const int lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(FMTDaysInMonth(m, 2007), lengths[m]) << m;
    EXPECT_EQ(FMTDaysInMonth(2, 2008), 29);
    EXPECT_EQ(FMTDaysInMonth(2, 0), 29);
    EXPECT_EQ(FMTDaysInMonth(13, 2007), 0);
    EXPECT_EQ(FMTDaysInMonth(0, 2007), 0);
    EXPECT_EQ(FMTDaysInMonth(-5, 2007), 0);
}

TEST(Calendar, DayOfYearConversions) {
    unsetenv("CMNW32_INI");
    const struct {
        int dayOfYear, year;
        bool ok;
        int month, day;
    } cases[] = {
        {32, 2007, true, 2, 1},    {366, 2007, false, 0, 0}, {366, 2008, true, 12, 31},
        {1, 2007, true, 1, 1},     {0, 2007, false, 0, 0},   {-3, 2007, false, 0, 0},
        {60, 8, true, 2, 29},      {60, 2007, true, 3, 1},   {365, 2007, true, 12, 31},
        {1000, 2007, false, 0, 0},
    };
    for (const auto &c : cases) {
        int month = -1, day = -1;
        EXPECT_EQ(DateFromDayOfYear(c.dayOfYear, c.year, &month, &day), c.ok) << c.dayOfYear;
        if (c.ok) {
            EXPECT_EQ(month, c.month);
            EXPECT_EQ(day, c.day);
            EXPECT_EQ(DayOfYearFromDate(month, day, c.year), c.dayOfYear);
        }
    }
    EXPECT_EQ(DayOfYearFromDate(5, 0, 2007), 0);
    EXPECT_EQ(DayOfYearFromDate(99, 1, 2007), 366);  // months past December add nothing
    EXPECT_EQ(DayOfYearFromDate(12, INT32_MAX, 2007), INT32_MAX);
}

TEST(Calendar, LocalClock) {
    setenv("TZ", "UTC", 1);
    const time_t epoch = 0;
    const struct tm *tm = UTLLocalTime(&epoch);
    ASSERT_NE(tm, nullptr);
    EXPECT_EQ(tm->tm_year, 70);
    EXPECT_EQ(tm->tm_mon, 0);
    EXPECT_EQ(tm->tm_mday, 1);
    EXPECT_EQ(tm->tm_hour, 0);
    EXPECT_EQ(UTLLocalTime(nullptr), nullptr);
    EXPECT_EQ(FMTBaseYear(), LocalYear() / 100 * 100);
}

}  // namespace
