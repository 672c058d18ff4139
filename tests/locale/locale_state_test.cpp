// The current and default locale and the registry without a configuration; each test runs in a fresh process.
#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/locale.h"
#include "locale/locale.h"

namespace {

using Texts = std::vector<std::string>;

TEST(CurrentLocale, WithoutConfigurationIsUsdWithNoDefaults) {
    unsetenv("CMNW32_INI");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    LocaleSettings usd;
    UTLGetLocaleSettings(" USD", &usd);
    EXPECT_EQ(std::memcmp(&cmnw::locale::Current(), &usd, offsetof(LocaleSettings, spellDict)), 0);
    EXPECT_STREQ(UTLGetDefLocale(), "");
    EXPECT_EQ((std::array{UTLGetDefDateFormat(), UTLGetDefPaperSize()}), (std::array{0, 0}));
}

TEST(CurrentLocale, SameNameInOtherCaseChangesNothing) {
    UTLSetLocale("DEM");
    const LocaleSettings *dem = &cmnw::locale::Current();
    UTLSetLocale("dem");
    EXPECT_STREQ(UTLGetLocale(), "DEM");
    EXPECT_EQ(&cmnw::locale::Current(), dem);
}

TEST(CallLocale, HoldsTheArgumentsLocaleForItsScopeOnly) {
    UTLSetLocale("FRF");
    {
        cmnw::locale::CallLocale call(" DEM");
        EXPECT_EQ((Texts{UTLGetLocale(), cmnw::locale::Current().currency, call.Settings().currency}),
                  (Texts{"DEM", "DM", "DM"}));
        UTLSetLocale("ITL");  // changes the current locale, not the call's
        EXPECT_STREQ(cmnw::locale::Current().currency, "DM");
    }
    EXPECT_STREQ(UTLGetLocale(), "ITL");
}

TEST(CallLocale, RepeatedArgumentTakesTheSpellingOfTheLocaleCurrentNow) {
    const char *const steps[][3] = {{"FRF", " dem", "dem"}, {"FRF", " dem", "dem"},
                                    {"DEM", " dem", "DEM"}, {"DEM", " dem", "DEM"},
                                    {"FRF", " dem", "dem"}, {"ITL", " Dem", "Dem"}};
    for (const auto &step : steps) {
        UTLSetLocale(step[0]);
        const cmnw::locale::CallLocale call(step[1]);
        EXPECT_STREQ(UTLGetLocale(), step[2]) << step[0] << step[1];
    }
}

TEST(CallLocale, NestsAndKeepsTheStoredSpelling) {
    UTLSetLocale("Dem");
    {
        cmnw::locale::CallLocale outer(" ITL");
        {
            cmnw::locale::CallLocale inner("xdem");  // names the spelling given
            EXPECT_EQ((Texts{UTLGetLocale(), cmnw::locale::Current().currency}), (Texts{"dem", "DM"}));
            inner.SwitchTo("frf");
            EXPECT_EQ((Texts{UTLGetLocale(), cmnw::locale::Current().currency}), (Texts{"frf", "F"}));
        }
        EXPECT_STREQ(UTLGetLocale(), "ITL");
    }
    EXPECT_STREQ(UTLGetLocale(), "Dem");
}

TEST(LocaleRegistry, NeedsInitAndInternsNamesCaseSensitively) {
    EXPECT_EQ(UTLAddLocale("FRF"), nullptr);  // no registry yet
    EXPECT_EQ(UTLFindLocale("FRF"), nullptr);
    UTLInitLocale();
    UTLLOCALE frf = UTLAddLocale("FRF");
    ASSERT_NE(frf, nullptr);
    EXPECT_EQ(UTLAddLocale("FRF"), frf);
    EXPECT_EQ(UTLFindLocale("FRF"), frf);
    EXPECT_EQ(UTLFindLocale("frf"), nullptr);
    UTLLOCALE lower = UTLAddLocale("frf");
    ASSERT_NE(lower, nullptr);
    EXPECT_NE(lower, frf);
    EXPECT_STREQ(UTLGetLocaleName(frf, 0), "FRF");
    EXPECT_STREQ(UTLGetLocaleName(lower, 1), "frf");
}

TEST(LocaleRegistry, LivesUntilTheLastTerm) {
    UTLInitLocale();
    UTLInitLocale();
    UTLLOCALE dem = UTLAddLocale("DEM");
    UTLTermLocale();
    EXPECT_EQ(UTLFindLocale("DEM"), dem);
    UTLTermLocale();
    EXPECT_EQ(UTLFindLocale("DEM"), nullptr);
    UTLTermLocale();  // unmatched: stays at zero users
    UTLInitLocale();
    EXPECT_EQ(UTLFindLocale("DEM"), nullptr);
}

TEST(LocaleRegistry, NullHandleGivesTheIcuDefaultId) {
    unsetenv("CMNW32_INI");
    EXPECT_STREQ(UTLGetLocaleName(nullptr, 1), uloc_getDefault());
    EXPECT_EQ(UTLGetLocaleName(nullptr, 0), nullptr);
    EXPECT_EQ(UTLMatchALocale(), 0);
}

}  // namespace
