// Locale settings and the current and default locale under a configuration written by each test.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/locale.h"
#include "cmnw32/paper.h"
#include "common/test_support.h"
#include "locale/locale.h"

namespace {

using Texts = std::vector<std::string>;

class LocaleConfig : public ::testing::Test {
protected:
    void Use(const std::string &ini) { setenv("CMNW32_INI", dir_.Write("site.ini", ini).c_str(), 1); }
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
    // One key sets a month name and abbreviation; valid characters come from the separators.
    const LocaleSettings usd = Get(" USD"), dem = Get(" DEM"), xyz = Get(" xyz");
    EXPECT_EQ((Texts{usd.monthName[4], usd.monthAbbrev[4], usd.monthAbbrev[11], usd.validChars,
                     usd.dayName[0], usd.pmText, dem.currency, dem.spellDict, dem.monthName[2],
                     xyz.currency, xyz.monthName[0]}),
              (Texts{"Mai", "Mai", "Dez", "0123456789-+,.", "Sonntag", "p.m", "EURO-",
                     "de1.tlx,de2.clx", "M\xE4rz", "X", "January"}));
    EXPECT_EQ((std::array{dem.paperSize, dem.dateFormat, xyz.paperSize, xyz.dateFormat}),
              (std::array{0, 2, -7, INT32_MAX}));

    const std::pair<const char *, int32_t> origins[] = {
        {" USD", 3}, {" dem", 3}, {" xyz", 2}, {" FRF", 1}, {"DEM", 0}, {" QQQ", 0}, {" ", 0}, {nullptr, 0}};
    for (const auto &[arg, origin] : origins)
        EXPECT_EQ(UTLGetLocaleOrigin(arg), origin) << (arg ? arg : "(null)");
}

TEST_F(LocaleConfig, ConfiguredSpellDictStaysReadable) {
    Use("[Language:DEM]\nSpellDict=de1.tlx\n[Language:FRF]\nSpellDict=fr1.tlx\n"
        "[Language:Site]\nSpellDict=de1.tlx\n[Language]\nLocale=DEM\n");
    const LocaleSettings dem = Get(" DEM"), frf = Get(" FRF");
    UTLSetLocale("FRF");
    const char *byDefault = UTLGetDefSpellDict();
    for (int i = 0; i < 3; ++i)
        for (const char *other : {" DEM", " ATS", " Site"}) Get(other);
    EXPECT_EQ((Texts{dem.spellDict, frf.spellDict, cmnw::locale::Current().spellDict, byDefault, Get(" Site").spellDict}),
              (Texts{"de1.tlx", "fr1.tlx", "fr1.tlx", "de1.tlx", "de1.tlx"}));
}

TEST_F(LocaleConfig, EachLocaleIsReadOnceAndServedInAnyCase) {
    Use("[Language:DEM]\nCurrency=D1\n");
    EXPECT_STREQ(Get(" DEM").currency, "D1");
    ASSERT_NE(CFGSetString("Language:DEM", "Currency", "D2"), 0);
    ASSERT_NE(CFGSetString("Language:FRF", "Currency", "F2"), 0);
    // " dem" and " Dem" come from the cache; " FRF" is built now and sees the change.
    EXPECT_EQ((Texts{Get(" dem").currency, Get(" Dem").currency, Get(" FRF").currency}), (Texts{"D1", "D1", "F2"}));
}

TEST_F(LocaleConfig, EmptyNameChoosesTheConfiguredLocale) {
    Use("[Language]\nLocale=FRF\n");
    const auto fromEmptyName = [] {
        UTLSetLocale("DEM");
        UTLSetLocale("");
        return std::string(UTLGetLocale());
    };
    EXPECT_EQ(fromEmptyName(), "FRF");  // reads the configuration
    EXPECT_EQ(fromEmptyName(), "FRF");  // the default locale name
    ASSERT_NE(CFGSetString("Language", "Locale", "ITL"), 0);
    UTLInitLocale();  // re-arms the configuration read
    EXPECT_EQ(fromEmptyName(), "ITL");
}

TEST_F(LocaleConfig, DerivedDefaultsFollowTheDefaultLocaleUntilReset) {
    Use("[Language]\nLocale=DEM\n");
    UTLSetLocale("FRF");
    EXPECT_STREQ(UTLGetDefLocale(), "DEM");
    EXPECT_EQ((std::array{UTLGetDefPaperSize(), UTLGetDefDateFormat()}), (std::array{2, 50}));
    EXPECT_EQ((Texts{UTLGetDefSpellDict(), UTLGetLocale()}), (Texts{"sscege.tlx,sscege2.clx", "FRF"}));  // not switched

    ASSERT_NE(CFGSetString("Language", "Locale", "USD"), 0);
    UTLResetDefLocale();
    EXPECT_EQ((std::array{UTLGetDefPaperSize(), UTLGetDefDateFormat()}), (std::array{0, 49}));
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
}

// The closest paper's id, or -100 less the status when the call fails.
int32_t Closest(int32_t height, int32_t width) {
    int32_t id = -1;
    const int status = UTLGetClosestPaperType(height, width, &id);
    return status == 0 ? id : -100 - status;
}

TEST_F(LocaleConfig, ClosestPaperPrefersTheDefaultLocalesPaper) {
    Use("[Language]\nLocale=DEM\n");
    const int32_t cases[][3] = {{28000, 19000, 2}, {28063, 19842, 2}, {10000, 10000, 2}, {26400, 20400, 0}};
    for (const auto &c : cases) EXPECT_EQ(Closest(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
}

TEST_F(LocaleConfig, CustomDefaultPaperHoldsNoPage) {
    Use("[Language:Site]\nPaperSize=98\n[Language]\nLocale=Site\n");
    // Not "Custom" by default: the narrowest paper that holds the page.
    EXPECT_EQ((std::array{UTLGetDefPaperSize(), Closest(100, 100), Closest(26400, 20400)}), (std::array{98, 30, 0}));
}

}  // namespace
