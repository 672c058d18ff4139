// The current and default locale, the locale name key and the registry,
// without a configuration. Every test runs in a freshly started process, so
// each begins from the library's load-time state.
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
    EXPECT_EQ(UTLGetDefSpellDict(), nullptr);
    UTLResetDefLocale();
    EXPECT_EQ(UTLGetDefPaperSize(), 0);
}

TEST(CurrentLocale, SameNameInOtherCaseChangesNothing) {
    UTLSetLocale("DEM");
    const LocaleSettings *dem = &cmnw::locale::Current();
    UTLSetLocale("dem");
    EXPECT_STREQ(UTLGetLocale(), "DEM");
    EXPECT_EQ(&cmnw::locale::Current(), dem);
    UTLSetLocale("ATS");
    EXPECT_EQ((Texts{UTLGetLocale(), cmnw::locale::Current().monthName[0]}), (Texts{"ATS", "J\xE4nner"}));
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

TEST(CurrentLocale, LongNamesAreCutAndUnknownNamesHaveUsdValues) {
    unsetenv("CMNW32_INI");
    UTLSetLocale("ABCDEFGHIJKL");
    EXPECT_EQ((Texts{UTLGetLocale(), cmnw::locale::Current().currency}), (Texts{"ABCDEFG", "$"}));
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
    UTLSetLocale("FRF");
    for (const char *none : {static_cast<const char *>(nullptr), "", " "}) {
        cmnw::locale::CallLocale call(none);
        EXPECT_EQ((Texts{UTLGetLocale(), call.Settings().currency}), (Texts{"FRF", "F"}));
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
    {
        cmnw::locale::CallLocale same(" DEM");  // equal without regard to case
        EXPECT_STREQ(UTLGetLocale(), "Dem");
    }
    EXPECT_STREQ(UTLGetLocale(), "Dem");
}

TEST(LocaleKey, NamesEqualWithoutRegardToCaseAndCutAt15) {
    const struct { const char *a, *b; bool equal; } cases[] = {
        {"DeM", "dEm", true}, {"DEM", "DEMX", false}, {"DEM", "DE", false}, {"\xC4", "\xE4", false},
        {"ABCDEFGHIJKLMNOP", "abcdefghijklmnoQ", true}, {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNX", false}};
    for (const auto &c : cases)
        EXPECT_EQ(cmnw::locale::MakeLocaleKey(c.a) == cmnw::locale::MakeLocaleKey(c.b), c.equal) << c.a << " " << c.b;
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
    EXPECT_EQ((std::array{UTLAddLocale(""), UTLAddLocale(nullptr), UTLFindLocale(nullptr)}),
              (std::array<UTLLOCALE, 3>{}));
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
    EXPECT_NE(UTLAddLocale("DEM"), nullptr);
    UTLTermLocale();
    EXPECT_EQ(UTLFindLocale("DEM"), nullptr);
}

TEST(LocaleRegistry, NullHandleGivesTheIcuDefaultId) {
    unsetenv("CMNW32_INI");
    EXPECT_STREQ(UTLGetLocaleName(nullptr, 1), uloc_getDefault());
    EXPECT_EQ(UTLGetLocaleName(nullptr, 0), nullptr);
    // Without a default locale the id follows ICU's process default.
    UTLSetDefICULocale("xx_YY");
    EXPECT_STREQ(UTLGetLocaleName(nullptr, 1), uloc_getDefault());
    EXPECT_EQ(UTLMatchALocale(), 0);
}

}  // namespace
