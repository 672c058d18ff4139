// The default locale and its derived defaults, and how an empty name chooses
// the current locale, without a configuration.
#include <gtest/gtest.h>

#include "cmnw32/locale.h"
#include "locale/locale_current.h"

namespace {

TEST(DefaultLocale, UnconfiguredGivesEmptyAndZeros) {
    unsetenv("CMNW32_INI");
    EXPECT_STREQ(UTLGetDefLocale(), "");
    EXPECT_EQ(UTLGetDefDateFormat(), 0);
    EXPECT_EQ(UTLGetDefPaperSize(), 0);
    EXPECT_EQ(UTLGetDefSpellDict(), nullptr);
    UTLResetDefLocale();
    EXPECT_EQ(UTLGetDefPaperSize(), 0);
}

TEST(CurrentLocale, EmptyNameFallsBackToUsdEachWay) {
    unsetenv("CMNW32_INI");
    UTLSetLocale("DEM");
    UTLSetLocale("");  // first empty name: reads the configuration
    EXPECT_STREQ(UTLGetLocale(), "USD");
    UTLSetLocale("DEM");
    UTLSetLocale(nullptr);  // later: the default locale, then "USD"
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

TEST(CurrentLocale, LongNamesAreCut) {
    unsetenv("CMNW32_INI");
    UTLSetLocale("ABCDEFGHIJKL");
    EXPECT_STREQ(UTLGetLocale(), "ABCDEFG");
    // An unknown name has the "USD" values.
    EXPECT_STREQ(cmnw::locale::Current().currency, "$");
}

}  // namespace
