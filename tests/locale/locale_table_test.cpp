// Every built-in locale's settings record, compared as a whole with a table
// of expected values kept here in UTF-8 and converted with iconv.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cctype>
#include <cstddef>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

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

constexpr Row kRows[] = {
    {"USD", "English", ".", ",", "$", "L", "DB", "DR", "CR", 49, 0, "ssceam.tlx,ssceam2.clx"},
    {"CAD", "French", ",", " ", "$", "R", "Dt", "Dt", "Ct", 49, 0, "sscefr.tlx,sscefr2.clx"},
    {"FRF", "French", ",", " ", "F", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"FLX", "French", ",", " ", "F", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"NLG", "Dutch", ",", ".", "F", "L", "DB", "DR", "CR", 50, 2, "sscedu.tlx,sscedu2.clx"},
    {"DKK", "Danish", ",", ".", "kr", "L", "DB", "DR", "CR", 50, 2, "ssceda.tlx,ssceda2.clx"},
    {"BED", "Dutch", ",", ".", "BF", "R", "DB", "DR", "CR", 50, 2, "sscedu.tlx,sscedu2.clx"},
    {"AUD", "English", ".", ",", "$", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"GBP", "English", ".", ",", "£", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"IEP", "English", ".", ",", "IR£", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"FIM", "Finnish", ",", " ", "mk", "R", "DB", "DR", "CR", 50, 2, "sscefi.tlx,sscefi2.clx"},
    {"BEF", "French", ",", ".", "FB", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"CHH", "French", ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"ATS", "German", ",", ".", "öS", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"DEM", "German", ",", ".", "DM", "R", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"CHL", "German", ".", "'", "CHF", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"LUF", "German", ",", ".", "F", "R", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"CHF", "German", ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"ISK", "Icelandic", ",", ".", "kr.", "R", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ITL", "Italian", ",", ".", "L.", "L", "DB", "DR", "CR", 50, 2, "ssceit.tlx,ssceit1.clx"},
    {"CHI", "Italian", ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "ssceit.tlx,ssceit1.clx"},
    {"NOK", "Norwegian", ",", " ", "kr", "L", "DB", "DR", "CR", 50, 2, "sscenb.tlx,sscenb2.clx"},
    {"BRC", "Portuguese", ",", ".", "R$", "L", "DB", "DR", "CR", 50, 2, "sscepb.tlx,sscepb2.clx"},
    {"PTE", "Portuguese", ",", ".", "Esc.", "R", "DB", "DR", "CR", 50, 2, "sscepo.tlx,sscepo2.clx"},
    {"ESP", "Spanish", ",", ".", "Pts", "R", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"ESC", "Spanish", ",", ".", "PTA", "R", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"ARS", "Spanish", ",", ".", "$", "L", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"BOB", "Spanish", ",", ".", "$b", "L", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"CLP", "Spanish", ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"COP", "Spanish", ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"CRC", "Spanish", ",", ".", "C", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"ECS", "Spanish", ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"GTQ", "Spanish", ".", ",", "Q", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"MXN", "Spanish", ".", ",", "N$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PAB", "Spanish", ".", ",", "B/", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PYG", "Spanish", ",", ".", "G", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PES", "Spanish", ".", ",", "I/.", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"UYU", "Spanish", ",", ".", "N$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"VEB", "Spanish", ",", ".", "Bs.", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"FMK", "Swedish", ",", " ", "FMK", "R", "DB", "DR", "CR", 50, 2, "sscesw.tlx,sscesw2.clx"},
    {"SEK", "Swedish", ",", " ", "kr", "R", "DB", "DR", "CR", 50, 2, "sscesw.tlx,sscesw2.clx"},
    {"IDR", "Indonesian", ",", ".", "Rp", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ZAA", "English", ".", ",", "R", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ZAR", "English", ".", ",", "R", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ESB", "Spanish", ",", ".", "Pta.", "R", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
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
    {"Italian",
     "gennaio febbraio marzo aprile maggio giugno luglio agosto settembre ottobre novembre "
     "dicembre",
     "GEN FEB MAR APR MAG GIU LUG AGO SET OTT NOV DIC",
     "domenica lunedi martedi mercoledi giovedi vinerdi sabato", "Sì", "Non"},
    {"Dutch",
     "januari februari maart april mei juni juli augustus september oktober november december",
     "jan feb mrt apr mei jun jul aug sep okt nov dec",
     "zondag maandag dinsdag woensdag donderdag vrijdag zaterdag", "Ja", "Nein"},
    {"Danish",
     "januar februar marts april maj juni juli august september oktober november december",
     "jan feb mar apr maj juni juli aug sep okt nov dec",
     "søndag mandag tirsdag onsdag torsdag fredag lørdag", "Ja", "Nej"},
    {"Finnish",
     "tammikuu helmikuu maaliskuu huhtikuu toukokuu kesäkuu heinäkuu ekiuu syyskuu lokakuu "
     "marraskuu joulukuu",
     "tammi helmi maalis huhti touko kesä heinä elo syys loka marras joulu",
     "sunnuntai maanantai tijstai keskiviikko torstai perjantai lauantai", "Kyllä", nullptr},
    {"Icelandic",
     "janúar febrúar mars apríl maí júní júlí ágúst september október nóvember desember",
     "jan feb mars apr maí júní júlí ág sept okt nóv des",
     "sunnudagur mánudagur þriðjudagur miðvikudagur fimmtudagur föstudagur laugardagur", nullptr,
     nullptr},
    {"Indonesian",
     "Januari Februari Maret April Mei Juni Juli Agustus September Oktober November Desember",
     "Jan Feb Mar Apr Mei Jun Jul Agt Sep Okt Nov Des",
     "Minggu Senin Selasa Rabu Kamis Jumat Sabtu", "Ya", "Tidak"},
    {"Norwegian",
     "januar februar mars april mai juni juli august september oktober november desember",
     "jan feb mar apr mai juni juli aug sep okt nov des",
     "søndag mandag tirsdag onsdag torsdag fredag lørdag", "Ja", "Nej"},
    {"Portuguese",
     "Janeiro Fevereiro Março Abril Maio Junho Julho Agosto Septembro Outubro Novemboe Dezembro",
     "JAN FEV MAR ABR MAI JUN JUL AGO SET OUT NOV DEZ",
     "domingo segimda-feira terça-feira quarta-feira quinta-feira sexta-feira sábado", "Sim",
     nullptr},
    {"Swedish",
     "januari februari mars april maj juni juli augusti september oktober november december",
     "jan feb mar apr maj jun jul aug sep okt nov dec",
     "söndag måndag tisdag onsdag torsdag fredag lördag", "Ja", "Nej"},
};

std::string Latin1(const std::string &utf8) {
    iconv_t cd = iconv_open("ISO-8859-1", "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string out(utf8.size() + 1, '\0');
    char *in = const_cast<char *>(utf8.data());
    size_t inLeft = utf8.size();
    char *dst = out.data();
    size_t outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &dst, &outLeft), static_cast<size_t>(-1)) << utf8;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
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

TEST(LocaleTable, EveryBuiltInLocaleGivesItsWholeRecord) {
    unsetenv("CMNW32_INI");
    ASSERT_EQ(std::size(kRows), 46u);
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

TEST(LocaleTable, RecordLayout) {
    EXPECT_EQ(offsetof(LocaleSettings, thousandSep), 2u);
    EXPECT_EQ(offsetof(LocaleSettings, crValue), 12u);
    EXPECT_EQ(offsetof(LocaleSettings, validChars), 24u);
    EXPECT_EQ(offsetof(LocaleSettings, monthName), 72u);
    EXPECT_EQ(offsetof(LocaleSettings, monthAbbrev), 312u);
    EXPECT_EQ(offsetof(LocaleSettings, dayName), 408u);
    EXPECT_EQ(offsetof(LocaleSettings, dateFormat), 548u);
    EXPECT_EQ(offsetof(LocaleSettings, paperSize), 552u);
    EXPECT_EQ(offsetof(LocaleSettings, spellDict), 560u);
    EXPECT_EQ(sizeof(LocaleSettings), 568u);
}

}  // namespace
