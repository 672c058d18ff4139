// The century window of two-digit years, with the default and a configured
// pivot. Leap years and month lengths are checked against timegm in
// date_arith_test.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "common/test_support.h"

namespace {

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

}  // namespace
