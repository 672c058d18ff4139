// The built-in tables: locales' settings records, ICU ids and paper sizes.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "cmnw32/locale.h"
#include "cmnw32/paper.h"

namespace {

// The record layout callers compile against.
static_assert(offsetof(LocaleSettings, thousandSep) == 2 && offsetof(LocaleSettings, crValue) == 12);
static_assert(offsetof(LocaleSettings, validChars) == 24 && offsetof(LocaleSettings, monthName) == 72);
static_assert(offsetof(LocaleSettings, monthAbbrev) == 312 && offsetof(LocaleSettings, dayName) == 408);
static_assert(offsetof(LocaleSettings, dateFormat) == 548 && offsetof(LocaleSettings, paperSize) == 552);
static_assert(offsetof(LocaleSettings, spellDict) == 560 && sizeof(LocaleSettings) == 568);
static_assert(sizeof(PaperType) == 33 && offsetof(PaperType, id) == 21);
static_assert(offsetof(PaperType, width) == 25 && offsetof(PaperType, height) == 29);

// The record for arg; every byte before the pointer is written whatever the buffer held.
LocaleSettings Settings(const std::string &arg) {
    LocaleSettings a, b;
    std::memset(&a, 0x5A, sizeof a);
    std::memset(&b, 0xA5, sizeof b);
    UTLGetLocaleSettings(arg.c_str(), &a);
    UTLGetLocaleSettings(arg.c_str(), &b);
    EXPECT_EQ(std::memcmp(&a, &b, offsetof(LocaleSettings, spellDict)), 0) << arg;
    return a;
}

// Each record as its texts and numbers joined by "|".
TEST(LocaleTable, NameInAnyCaseGivesTheRecordOfItsLanguage) {
    unsetenv("CMNW32_INI");
    const std::pair<const char *, const char *> rows[] = {
        {"USD", ".|,|$|L|CR|0123456789-+,.|Yes|No|January|December|Saturday|AM|PM|49|0|ssceam.tlx,ssceam2.clx"},
        {"CAD", ",| |$|R|Ct|0123456789-+ ,|Oui|Non|janvier|d\xE9" "cembre|samedi|AM|PM|49|0|sscefr.tlx,sscefr2.clx"},
        {"ATS", ",|.|\xF6S|L|CR|0123456789-+.,|Ja|Nein|J\xE4nner|Dezember|Samstag|AM|PM|50|2|sscege.tlx,sscege2.clx"},
    };
    for (const auto &[name, want] : rows) {
        std::string lower = std::string("x") + name;
        for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const std::string &arg : {std::string(" ") + name, lower}) {
            const LocaleSettings s = Settings(arg);
            std::string got;
            for (const char *text : {s.decimalSep, s.thousandSep, s.currency, s.currencyPlacement, s.crValue,
                                     s.validChars, s.yesText, s.noText, s.monthName[0], s.monthName[11],
                                     s.dayName[6], s.amText, s.pmText})
                got += std::string(text) + "|";
            got += std::to_string(s.dateFormat) + "|" + std::to_string(s.paperSize) + "|" + (s.spellDict ? s.spellDict : "(null)");
            EXPECT_EQ(got, want) << arg;
        }
    }
}

TEST(LocaleTable, UnknownAndEmptyNamesGiveTheUsdValues) {
    unsetenv("CMNW32_INI");
    const LocaleSettings usd = Settings(" USD");
    for (const char *arg : {" xyz", " ", "", "?usd", " ABCDEFGHIJKLMNOPQRSTUVWXYZ"}) {
        const LocaleSettings got = Settings(arg);
        EXPECT_EQ(std::memcmp(&got, &usd, sizeof got), 0) << arg;
    }
}

TEST(IcuId, TableNamesInAnyCaseAndUnknownNames) {
    const struct { const char *name, *id; } cases[] = {
        {"USD", "en_US"}, {"NLG", "en"}, {"FRF", "fr"}, {"EUR", "en_US"}, {"gbp", "en_GB"},
        {"Cad", "fr_CA"}, {"XYZ", ""}, {"", ""}, {"US", ""}, {"USDX", ""},
    };
    for (const auto &c : cases) {
        char out[16];
        UTLFMT2ICULocale(c.name, out, sizeof out);
        EXPECT_STREQ(out, c.id) << c.name;
    }
}

TEST(Paper, LookupsById) {
    const struct { int32_t id; const char *name; int32_t width, height; } known[] = {
        {0, "US Letter", 20400, 26400}, {2, "ISO A4", 19842, 28063},
    };
    for (const auto &c : known) {
        const PaperType *p = UTLGetPaperType(c.id);
        ASSERT_NE(p, nullptr) << c.id;
        EXPECT_STREQ(p->name, c.name);
        int32_t h = -1, w = -1;
        EXPECT_EQ(UTLGetPageSize(c.id, &h, &w), 0);
        EXPECT_EQ(std::make_pair(h, w), std::make_pair(c.height, c.width)) << c.id;
    }
    for (int32_t id : {9, 24, 31, 99, -1, 98}) EXPECT_EQ(UTLGetPaperType(id), nullptr) << id;
    int32_t h = 7, w = 8;
    EXPECT_EQ(UTLGetPageSize(98, &h, &w), 0);  // Custom: no size
    EXPECT_EQ(std::make_pair(h, w), std::make_pair(7, 8));
}

// A second model of the choice without a default locale: the fitting entry of least (width, height, position).
TEST(Paper, ClosestAgreesWithASimpleModel) {
    unsetenv("CMNW32_INI");
    const PaperType *table = UTLGetPageSizesArray();
    std::mt19937 rng(2026);
    std::uniform_int_distribution<int32_t> size(-100, 280000);
    for (int i = 0; i < 5000; ++i) {
        int32_t h = size(rng) >> (rng() % 4 * 3), w = size(rng) >> (rng() % 4 * 3);
        int16_t wantStatus = -1;
        int32_t wantId = -5;
        if (h < 26400 && w < 20400) {
            wantStatus = 0, wantId = 0;
        } else {
            int32_t bestW = 0, bestH = 0;
            for (size_t e = 0; table[e].name[0] != '\0'; ++e) {
                int32_t ew = table[e].width, eh = table[e].height;
                if (ew < w || eh < h) continue;
                if (wantStatus != 0 || ew < bestW || (ew == bestW && eh < bestH))
                    wantStatus = 0, wantId = table[e].id, bestW = ew, bestH = eh;
            }
        }
        int32_t id = -5;
        ASSERT_EQ(UTLGetClosestPaperType(h, w, &id), wantStatus) << h << "x" << w;
        ASSERT_EQ(id, wantId) << h << "x" << w;
    }
}

}  // namespace
