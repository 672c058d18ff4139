// Locale settings and the current and default locale under a configuration
// written by each test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "cmnw32/cfg.h"
#include "cmnw32/locale.h"
#include "cmnw32/paper.h"
#include "common/test_support.h"
#include "locale/locale.h"

namespace {

class LocaleConfig : public ::testing::Test {
protected:
    void Use(const std::string &ini) {
        setenv("CMNW32_INI", dir_.Write("site.ini", ini).c_str(), 1);
    }
    static LocaleSettings Get(const char *arg) {
        LocaleSettings ls;
        std::memset(&ls, 0x5A, sizeof ls);
        UTLGetLocaleSettings(arg, &ls);
        return ls;
    }

private:
    cmnw::test::TempDir dir_;
};

TEST_F(LocaleConfig, SectionOverridesEveryKindOfField) {
    Use("[Language:USD]\nMay=Mai\nDecimalSep=,\nSunday=Sonntag\nDec=Dez\nPM=p.m.\n"
        "[Language:DEM]\nCurrency=EURO-LONG\nPaperSize=abc\nDateFormat=2\n"
        "SpellDict=de1.tlx,de2.clx\nValidChars=0123456789\n"
        "[Language:XYZ]\nCurrency=X\nYes=Si\nPaperSize=-7\nDateFormat=99999999999\n");
    LocaleSettings usd = Get(" USD");
    EXPECT_STREQ(usd.monthName[4], "Mai");  // one key sets the name and the abbreviation
    EXPECT_STREQ(usd.monthAbbrev[4], "Mai");
    EXPECT_STREQ(usd.monthAbbrev[11], "Dez");
    EXPECT_STREQ(usd.validChars, "0123456789-+,.");  // made from the built-in separators
    EXPECT_STREQ(usd.dayName[0], "Sonntag");
    EXPECT_STREQ(usd.pmText, "p.m");  // cut to the field

    LocaleSettings dem = Get(" DEM");
    EXPECT_STREQ(dem.currency, "EURO-");
    EXPECT_EQ(dem.paperSize * 100 + dem.dateFormat, 2);
    EXPECT_STREQ(dem.spellDict, "de1.tlx,de2.clx");
    EXPECT_STREQ(dem.monthName[2], "M\xE4rz");

    LocaleSettings xyz = Get(" xyz");
    EXPECT_STREQ(xyz.currency, "X");
    EXPECT_STREQ(xyz.monthName[0], "January");
    EXPECT_EQ(std::make_pair(xyz.paperSize, xyz.dateFormat), std::make_pair(-7, INT32_MAX));

    const std::pair<const char *, int32_t> origins[] = {{" USD", 3}, {" dem", 3}, {" xyz", 2},
                                                        {" FRF", 1}, {"DEM", 0},  {" QQQ", 0},
                                                        {" ", 0},    {nullptr, 0}};
    for (const auto &[arg, origin] : origins)
        EXPECT_EQ(UTLGetLocaleOrigin(arg), origin) << (arg ? arg : "(null)");
}

TEST_F(LocaleConfig, ConfiguredSpellDictStaysReadable) {
    Use("[Language:DEM]\nSpellDict=de1.tlx\n"
        "[Language:FRF]\nSpellDict=fr1.tlx\n"
        "[Language:Site]\nSpellDict=de1.tlx\n"
        "[Language]\nLocale=DEM\n");
    LocaleSettings dem = Get(" DEM");
    LocaleSettings frf = Get(" FRF");
    UTLSetLocale("FRF");
    const char *byDefault = UTLGetDefSpellDict();
    for (int i = 0; i < 3; ++i) {
        Get(" DEM");
        Get(" ATS");
        Get(" Site");
    }
    EXPECT_STREQ(dem.spellDict, "de1.tlx");
    EXPECT_STREQ(frf.spellDict, "fr1.tlx");
    EXPECT_STREQ(cmnw::locale::Current().spellDict, "fr1.tlx");
    EXPECT_STREQ(byDefault, "de1.tlx");
    EXPECT_STREQ(Get(" Site").spellDict, "de1.tlx");
}

TEST_F(LocaleConfig, EachLocaleIsReadOnceAndServedInAnyCase) {
    Use("[Language:DEM]\nCurrency=D1\n");
    EXPECT_STREQ(Get(" DEM").currency, "D1");
    ASSERT_NE(CFGSetString("Language:DEM", "Currency", "D2"), 0);
    ASSERT_NE(CFGSetString("Language:FRF", "Currency", "F2"), 0);
    EXPECT_STREQ(Get(" dem").currency, "D1");  // from the cache
    EXPECT_STREQ(Get(" Dem").currency, "D1");
    EXPECT_STREQ(Get(" FRF").currency, "F2");  // built now: sees the change
    // The empty name is never cached.
    ASSERT_NE(CFGSetString("Language:", "Currency", "E1"), 0);
    EXPECT_STREQ(Get(" ").currency, "E1");
    ASSERT_NE(CFGSetString("Language:", "Currency", "E2"), 0);
    EXPECT_STREQ(Get("").currency, "E2");
}

TEST_F(LocaleConfig, CurrentLocaleComesFromTheConfiguration) {
    Use("[Language]\nLocale=dem\n");
    EXPECT_STREQ(UTLGetLocale(), "dem");
    EXPECT_STREQ(cmnw::locale::Current().currency, "DM");
}

// An empty name after the configuration was read takes the default locale.
TEST_F(LocaleConfig, EmptyNameChoosesTheConfiguredLocale) {
    Use("[Language]\nLocale=FRF\n");
    UTLSetLocale("DEM");
    UTLSetLocale("");  // reads the configuration
    EXPECT_STREQ(UTLGetLocale(), "FRF");
    UTLSetLocale("DEM");
    UTLSetLocale("");  // the default locale name
    EXPECT_STREQ(UTLGetLocale(), "FRF");

    ASSERT_NE(CFGSetString("Language", "Locale", "ITL"), 0);
    UTLInitLocale();  // re-arms the configuration read
    UTLSetLocale("DEM");
    UTLSetLocale("");
    EXPECT_STREQ(UTLGetLocale(), "ITL");
    UTLTermLocale();
    UTLResetDefLocale();
    for (int round = 0; round < 2; ++round) {
        UTLSetLocale("DEM");
        UTLSetLocale("");
        EXPECT_STREQ(UTLGetLocale(), "ITL") << round;
    }
}

TEST_F(LocaleConfig, DerivedDefaultsFollowTheDefaultLocaleUntilReset) {
    Use("[Language]\nLocale=DEM\n");
    UTLSetLocale("FRF");
    EXPECT_STREQ(UTLGetDefLocale(), "DEM");
    EXPECT_EQ(UTLGetDefPaperSize(), 2);
    EXPECT_EQ(UTLGetDefDateFormat(), 50);
    EXPECT_STREQ(UTLGetDefSpellDict(), "sscege.tlx,sscege2.clx");
    EXPECT_STREQ(UTLGetLocale(), "FRF");  // not switched

    ASSERT_NE(CFGSetString("Language", "Locale", "USD"), 0);
    EXPECT_EQ(UTLGetDefPaperSize(), 2);
    EXPECT_STREQ(UTLGetDefLocale(), "DEM");
    UTLResetDefLocale();
    EXPECT_EQ(UTLGetDefPaperSize(), 0);
    EXPECT_EQ(UTLGetDefDateFormat(), 49);
    EXPECT_STREQ(UTLGetDefLocale(), "USD");
}

TEST_F(LocaleConfig, DerivedDefaultsChooseACurrentLocaleWhenNoneIs) {
    Use("[Language]\nLocale=ESB\n");
    EXPECT_EQ(UTLGetDefPaperSize(), 2);
    EXPECT_STREQ(UTLGetLocale(), "ESB");
}

TEST_F(LocaleConfig, IcuIdIsKeptOnceADefaultLocaleIsKnown) {
    Use("[Language]\nLocale=DEM\n");
    EXPECT_STREQ(UTLGetDefLocale(), "DEM");
    UTLSetDefICULocale("de_DE");
    EXPECT_STREQ(UTLGetLocaleName(nullptr, 1), "de_DE");
    UTLSetDefICULocale(nullptr);
    EXPECT_STREQ(UTLGetLocaleName(nullptr, 1), "");
}

TEST_F(LocaleConfig, ClosestPaperPrefersTheDefaultLocalesPaper) {
    Use("[Language]\nLocale=DEM\n");
    // A4 wins over smaller papers; an exact size is found by the search;
    // Letter is wider than A4.
    const int32_t cases[][3] = {
        {28000, 19000, 2}, {28063, 19842, 2}, {10000, 10000, 2}, {26400, 20400, 0}};
    for (const auto &c : cases) {
        int32_t id = -1;
        EXPECT_EQ(UTLGetClosestPaperType(c[0], c[1], &id), 0);
        EXPECT_EQ(id, c[2]) << c[0] << "x" << c[1];
    }
}

TEST_F(LocaleConfig, CustomDefaultPaperHoldsNoPage) {
    Use("[Language:Site]\nPaperSize=98\n[Language]\nLocale=Site\n");
    int32_t id = -1;
    EXPECT_EQ(UTLGetDefPaperSize(), 98);
    EXPECT_EQ(UTLGetClosestPaperType(100, 100, &id), 0);
    EXPECT_EQ(id, 30);  // not "Custom" by default: the narrowest paper that holds it
    EXPECT_EQ(UTLGetClosestPaperType(26400, 20400, &id), 0);
    EXPECT_EQ(id, 0);
}

}  // namespace
