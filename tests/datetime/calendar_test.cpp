// Calendar rules: century window, leap years, month lengths, day-of-year
// conversions and the local clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "common/test_support.h"
#include "datetime/date_internal.h"

namespace {

using cmnw::datetime::DateFromDayOfYear;
using cmnw::datetime::DayOfYearFromDate;

// Makes a fresh INI file holding one Control line the configuration of this
// process (each call a new file, so that a re-read would see it).
void UseIni(const std::string &controlLine) {
    static cmnw::test::TempDir dir;
    static int files = 0;
    const std::string path =
        dir.Write("c" + std::to_string(++files) + ".ini", "[Control]\n" + controlLine + "\n");
    setenv("CMNW32_INI", path.c_str(), 1);
}

int CurrentCentury() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return (tm.tm_year + 1900) / 100 * 100;
}

TEST(Calendar, CenturyWindowWithTheDefaultPivot) {
    unsetenv("CMNW32_INI");
    const int cases[][2] = {{0, 2000}, {49, 2049}, {50, 1950}, {99, 1999}, {100, 100},
                            {2007, 2007}, {-1, 1999}, {3001, 3001}};
    for (const auto &c : cases) EXPECT_EQ(FMTCentury(c[0]), c[1]) << c[0];
    int m, d, y;
    EXPECT_EQ(FMTGetDateFmtValues("1/5/49", 1, "/", 4, &m, &d, &y), 0);
    EXPECT_EQ(y, 2049);
    EXPECT_EQ(FMTBaseYear(), CurrentCentury());
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

TEST(Calendar, LeapYearsAndMonthLengths) {
    for (int y : {2000, 2004, 2400, 4, 0, 96}) EXPECT_EQ(FMTIsLeapYear(y), 1) << y;
    for (int y : {1900, 2100, 2007, 3000, 1, 100, -1}) EXPECT_EQ(FMTIsLeapYear(y), 0) << y;
    EXPECT_EQ(FMTDaysInYear(2008), 366);
    EXPECT_EQ(FMTDaysInYear(2007), 365);
    const int lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(FMTDaysInMonth(m, 2007), lengths[m]) << m;
    EXPECT_EQ(FMTDaysInMonth(2, 2008), 29);
    for (int m : {0, 13, -5}) EXPECT_EQ(FMTDaysInMonth(m, 2007), 0) << m;
}

TEST(Calendar, DayOfYearConversions) {
    const struct {
        int dayOfYear, year, month, day;  // month 0: out of range
    } cases[] = {
        {1, 2007, 1, 1},   {60, 2007, 3, 1},   {60, 8, 2, 29},  {365, 2007, 12, 31},
        {366, 2008, 12, 31}, {366, 2007, 0, 0}, {0, 2007, 0, 0}, {-3, 2007, 0, 0},
    };
    for (const auto &c : cases) {
        int month = -1, day = -1;
        EXPECT_EQ(DateFromDayOfYear(c.dayOfYear, c.year, &month, &day), c.month != 0)
            << c.dayOfYear;
        if (c.month == 0) continue;
        EXPECT_EQ(month * 100 + day, c.month * 100 + c.day) << c.dayOfYear;
        EXPECT_EQ(DayOfYearFromDate(month, day, c.year), c.dayOfYear);
    }
    EXPECT_EQ(DayOfYearFromDate(99, 1, 2007), 366);  // months past December add nothing
    EXPECT_EQ(DayOfYearFromDate(12, INT32_MAX, 2007), INT32_MAX);
}

}  // namespace
