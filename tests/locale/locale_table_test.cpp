// Built-in locales' settings records, compared as a whole with expected
// values kept here in UTF-8 and converted with iconv.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "chars/iconv_reference.h"
#include "cmnw32/locale.h"

namespace {

struct Row {
    const char *name;
    const char *group;
    const char *decimalSep;
    const char *thousandSep;
    const char *currency;
    const char *placement;
    const char *dbValue;
    const char *drValue;
    const char *crValue;
    int32_t dateFormat;
    int32_t paperSize;
    const char *spellDict;
};

// Month names, abbreviations and day names as blank-separated lists; a null
// yes or no word means "Yes" / "No".
struct Group {
    const char *name;
    const char *months;
    const char *abbrevs;
    const char *days;
    const char *yes;
    const char *no;
};

// A few locales covering every kind of field value: the date formats and
// paper sizes, "Dt"/"Ct" words, Latin-1 currency signs, quote separators, the
// Austrian January and each language group's defaults for yes and no.
constexpr Row kRows[] = {
    {"USD", "English", ".", ",", "$", "L", "DB", "DR", "CR", 49, 0, "ssceam.tlx,ssceam2.clx"},
    {"CAD", "French", ",", " ", "$", "R", "Dt", "Dt", "Ct", 49, 0, "sscefr.tlx,sscefr2.clx"},
    {"GBP", "English", ".", ",", "£", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"CHH", "French", ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"ATS", "German", ",", ".", "öS", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"DEM", "German", ",", ".", "DM", "R", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"ESP", "Spanish", ",", ".", "Pts", "R", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"EUR", "English", ",", " ", "EUR", "R", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
};

constexpr Group kGroups[] = {
    {"English",
     "January February March April May June July August September October November December",
     "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec",
     "Sunday Monday Tuesday Wednesday Thursday Friday Saturday", nullptr, nullptr},
    {"French",
     "janvier février mars avril mai juin juillet août septembre octobre novembre décembre",
     "janv févr mars avr mai juin juil août sept oct nov déc",
     "dimanche lundi mardi mercredi jeudi vendredi samedi", "Oui", "Non"},
    {"German", "Januar Februar März April Mai Juni Juli August September Oktober November Dezember",
     "Jan Feb Mär Apr Mai Jun Jul Aug Sep Okt Nov Dec",
     "Sonntag Montag Dienstag Mittwoch Donnerstag Freitag Samstag", "Ja", "Nein"},
    {"Spanish",
     "enero febrero marzo abril mayo junio julio agosto septiembre octubre noviembre diciembre",
     "ENE FEB MAR ABR MAY JUN JUL AGO SEP OCT NOV DIC",
     "domingo lunes martes miércoles jueves viernes sábado", "Sí", nullptr},
};

// The record layout callers compile against.
static_assert(offsetof(LocaleSettings, thousandSep) == 2 && offsetof(LocaleSettings, crValue) == 12);
static_assert(offsetof(LocaleSettings, validChars) == 24 && offsetof(LocaleSettings, monthName) == 72);
static_assert(offsetof(LocaleSettings, monthAbbrev) == 312 && offsetof(LocaleSettings, dayName) == 408);
static_assert(offsetof(LocaleSettings, dateFormat) == 548 && offsetof(LocaleSettings, paperSize) == 552);
static_assert(offsetof(LocaleSettings, spellDict) == 560 && sizeof(LocaleSettings) == 568);

std::string Latin1(const std::string &utf8) {
    return cmnw::test::Convert("UTF-8", "ISO-8859-1", utf8).value_or("?");
}

std::vector<std::string> Words(const char *list) {
    std::istringstream in(list);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(Latin1(w));
    return words;
}

template <size_t N>
void Put(char (&field)[N], const std::string &text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

const Group &GroupOf(const Row &row) {
    for (const Group &g : kGroups)
        if (std::strcmp(g.name, row.group) == 0) return g;
    ADD_FAILURE() << row.group;
    return kGroups[0];
}

// The record a locale of the table must give, built independently of the
// library: zero bytes after every terminator.
LocaleSettings Expected(const Row &row) {
    LocaleSettings ls;
    std::memset(&ls, 0, sizeof ls);
    Put(ls.decimalSep, row.decimalSep);
    Put(ls.thousandSep, row.thousandSep);
    Put(ls.currency, Latin1(row.currency));
    Put(ls.currencyPlacement, row.placement);
    Put(ls.crValue, row.crValue);
    Put(ls.dbValue, row.dbValue);
    Put(ls.drValue, row.drValue);
    Put(ls.validChars, std::string("0123456789-+") + row.thousandSep + row.decimalSep);
    const Group &g = GroupOf(row);
    Put(ls.yesText, Latin1(g.yes != nullptr ? g.yes : "Yes"));
    Put(ls.noText, g.no != nullptr ? g.no : "No");
    Put(ls.amText, "AM");
    Put(ls.pmText, "PM");
    std::vector<std::string> months = Words(g.months), abbrevs = Words(g.abbrevs),
                             days = Words(g.days);
    EXPECT_EQ(months.size(), 12u);
    EXPECT_EQ(abbrevs.size(), 12u);
    EXPECT_EQ(days.size(), 7u);
    for (size_t i = 0; i < 12; ++i) {
        Put(ls.monthName[i], months[i]);
        Put(ls.monthAbbrev[i], abbrevs[i]);
    }
    for (size_t i = 0; i < 7; ++i) Put(ls.dayName[i], days[i]);
    if (std::strcmp(row.name, "ATS") == 0) Put(ls.monthName[0], Latin1("Jänner"));
    ls.dateFormat = row.dateFormat;
    ls.paperSize = row.paperSize;
    return ls;
}

void ExpectSameRecord(const LocaleSettings &got, const LocaleSettings &want, const char *what) {
    // Every byte before the pointer, then the text it points to.
    EXPECT_EQ(std::memcmp(&got, &want, offsetof(LocaleSettings, spellDict)), 0)
        << what << ": currency '" << got.currency << "' month 1 '" << got.monthName[0]
        << "' day 1 '" << got.dayName[0] << "' valid '" << got.validChars << "'";
    ASSERT_NE(got.spellDict, nullptr) << what;
}

TEST(LocaleTable, NameInAnyCaseGivesTheWholeRecord) {
    unsetenv("CMNW32_INI");
    for (const Row &row : kRows) {
        LocaleSettings want = Expected(row);
        for (std::string arg : {std::string(" ") + row.name, std::string("x") + row.name}) {
            // Lower case too: names match without regard to case.
            if (arg[0] == 'x')
                for (char &c : arg)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            LocaleSettings got;
            std::memset(&got, 0x5A, sizeof got);
            UTLGetLocaleSettings(arg.c_str(), &got);
            ExpectSameRecord(got, want, arg.c_str());
            EXPECT_STREQ(got.spellDict, row.spellDict) << arg;
        }
    }
}

TEST(LocaleTable, UnknownAndEmptyNamesGiveTheUsdValues) {
    unsetenv("CMNW32_INI");
    LocaleSettings want = Expected(kRows[0]);
    for (const char *arg : {" xyz", " ", "", "?usd", " ABCDEFGHIJKLMNOPQRSTUVWXYZ"}) {
        LocaleSettings got;
        std::memset(&got, 0x5A, sizeof got);
        UTLGetLocaleSettings(arg, &got);
        ExpectSameRecord(got, want, arg);
        EXPECT_STREQ(got.spellDict, "ssceam.tlx,ssceam2.clx") << arg;
    }
}

TEST(LocaleTable, NullArgumentsAreIgnored) {
    LocaleSettings got;
    std::memset(&got, 0x5A, sizeof got);
    UTLGetLocaleSettings(nullptr, &got);
    EXPECT_EQ(static_cast<unsigned char>(got.decimalSep[0]), 0x5A);
    UTLGetLocaleSettings(" USD", nullptr);
}

TEST(IcuId, TableNamesInAnyCaseAndUnknownNames) {
    const struct {
        const char *name, *id;
    } cases[] = {
        {"USD", "en_US"}, {"NLG", "en"}, {"CAN", "en"}, {"GBP", "en_GB"}, {"FRF", "fr"},
        {"CAD", "fr_CA"}, {"EUR", "en_US"}, {"gbp", "en_GB"}, {"Cad", "fr_CA"}, {"XYZ", ""},
        {"", ""}, {"US", ""}, {"USDX", ""},
    };
    for (const auto &c : cases) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        UTLFMT2ICULocale(c.name, out, sizeof out);
        EXPECT_STREQ(out, c.id) << c.name;
        // After an id the rest of the buffer is cleared; without one only
        // the first byte is written.
        const size_t len = std::strlen(out);
        const std::string rest(out + len, sizeof out - len);
        EXPECT_EQ(rest, len == 0 ? std::string(1, '\0') + std::string(sizeof out - 1, 'x')
                                 : std::string(sizeof out - len, '\0'))
            << c.name;
    }
}

TEST(IcuId, ShortAndMissingBuffers) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    UTLFMT2ICULocale("CAD", out, 3);
    EXPECT_STREQ(out, "fr");
    EXPECT_EQ(out[3], 'x');
    std::memset(out, 'x', sizeof out);
    UTLFMT2ICULocale("CAD", out, 0);
    UTLFMT2ICULocale("CAD", out, -5);
    EXPECT_EQ(out[0], 'x');
    UTLFMT2ICULocale(nullptr, out, sizeof out);
    EXPECT_STREQ(out, "");
    UTLFMT2ICULocale("CAD", nullptr, 8);
    UTLFMT2ICULocale("CAD", out, 1);
    EXPECT_STREQ(out, "");
}

}  // namespace
