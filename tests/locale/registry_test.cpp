#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include "cmnw32/locale.h"

namespace {

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
    EXPECT_EQ(UTLAddLocale(""), nullptr);
    EXPECT_EQ(UTLAddLocale(nullptr), nullptr);
    EXPECT_EQ(UTLFindLocale(nullptr), nullptr);
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
