#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "cmnw32/locale.h"
#include "common/locale_switch.h"
#include "locale/locale_current.h"

namespace {

TEST(CurrentLocale, WithoutConfigurationIsUsd) {
    unsetenv("CMNW32_INI");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    LocaleSettings usd;
    UTLGetLocaleSettings(" USD", &usd);
    EXPECT_EQ(std::memcmp(&cmnw::locale::Current(), &usd, offsetof(LocaleSettings, spellDict)), 0);
}

TEST(CurrentLocale, SameNameInOtherCaseChangesNothing) {
    UTLSetLocale("DEM");
    const LocaleSettings *dem = &cmnw::locale::Current();
    UTLSetLocale("dem");
    EXPECT_STREQ(UTLGetLocale(), "DEM");
    EXPECT_EQ(&cmnw::locale::Current(), dem);
    UTLSetLocale("ATS");
    EXPECT_STREQ(UTLGetLocale(), "ATS");
    EXPECT_STREQ(cmnw::locale::Current().monthName[0], "J\xE4nner");
}

TEST(ScopedLocale, SwitchesForItsScopeAndRestores) {
    UTLSetLocale("FRF");
    {
        cmnw::ScopedLocale scoped(" DEM");
        EXPECT_TRUE(scoped.Switched());
        EXPECT_STREQ(UTLGetLocale(), "DEM");
        EXPECT_STREQ(cmnw::locale::Current().currency, "DM");
    }
    EXPECT_STREQ(UTLGetLocale(), "FRF");
    for (const char *none : {static_cast<const char *>(nullptr), "", " "}) {
        cmnw::ScopedLocale scoped(none);
        EXPECT_FALSE(scoped.Switched());
        EXPECT_STREQ(UTLGetLocale(), "FRF");
    }
    auto early = [](const char *arg) -> const char * {
        cmnw::ScopedLocale scoped(arg);
        return cmnw::locale::Current().monthName[1];
    };
    EXPECT_STREQ(early(" DEM"), "Februar");
    EXPECT_STREQ(UTLGetLocale(), "FRF");
}

TEST(ScopedLocale, NestsAndKeepsTheStoredSpelling) {
    UTLSetLocale("Dem");
    {
        cmnw::ScopedLocale outer(" ITL");
        {
            cmnw::ScopedLocale inner("xdem");  // a switch stores the spelling given
            EXPECT_STREQ(UTLGetLocale(), "dem");
            EXPECT_STREQ(cmnw::locale::Current().currency, "DM");
        }
        EXPECT_STREQ(UTLGetLocale(), "ITL");
    }
    EXPECT_STREQ(UTLGetLocale(), "Dem");
    {
        cmnw::ScopedLocale same(" DEM");  // equal without regard to case
        EXPECT_STREQ(UTLGetLocale(), "Dem");
    }
    EXPECT_STREQ(UTLGetLocale(), "Dem");
}

}  // namespace
