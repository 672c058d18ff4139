// The built-in locales, the names of their language groups and the ICU id
// table. Texts are ISO 8859-1 bytes.
#include "locale/locale_tables.h"

namespace cmnw::locale {

namespace {
using G = LanguageGroup;
}  // namespace

// clang-format off
// name, group, decimal, thousands, currency, placement, debit, second debit,
// credit, date format, paper, spelling dictionaries
constexpr LocaleRow kLocaleRows[kLocaleRowCount] = {
    {"USD", G::English, ".", ",", "$", "L", "DB", "DR", "CR", 49, 0, "ssceam.tlx,ssceam2.clx"},
    {"CAD", G::French, ",", " ", "$", "R", "Dt", "Dt", "Ct", 49, 0, "sscefr.tlx,sscefr2.clx"},
    {"FRF", G::French, ",", " ", "F", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"FLX", G::French, ",", " ", "F", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"NLG", G::Dutch, ",", ".", "F", "L", "DB", "DR", "CR", 50, 2, "sscedu.tlx,sscedu2.clx"},
    {"DKK", G::Danish, ",", ".", "kr", "L", "DB", "DR", "CR", 50, 2, "ssceda.tlx,ssceda2.clx"},
    {"BED", G::Dutch, ",", ".", "BF", "R", "DB", "DR", "CR", 50, 2, "sscedu.tlx,sscedu2.clx"},
    {"AUD", G::English, ".", ",", "$", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"GBP", G::English, ".", ",", "\xA3", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"IEP", G::English, ".", ",", "IR\xA3", "L", "DB", "DR", "CR", 50, 2, "sscebr.tlx,sscebr2.clx"},
    {"FIM", G::Finnish, ",", " ", "mk", "R", "DB", "DR", "CR", 50, 2, "sscefi.tlx,sscefi2.clx"},
    {"BEF", G::French, ",", ".", "FB", "R", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"CHH", G::French, ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "sscefr.tlx,sscefr2.clx"},
    {"ATS", G::German, ",", ".", "\xF6S", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"DEM", G::German, ",", ".", "DM", "R", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"CHL", G::German, ".", "'", "CHF", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"LUF", G::German, ",", ".", "F", "R", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"CHF", G::German, ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "sscege.tlx,sscege2.clx"},
    {"ISK", G::Icelandic, ",", ".", "kr.", "R", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ITL", G::Italian, ",", ".", "L.", "L", "DB", "DR", "CR", 50, 2, "ssceit.tlx,ssceit1.clx"},
    {"CHI", G::Italian, ".", "'", "SFr.", "L", "DB", "DR", "CR", 50, 2, "ssceit.tlx,ssceit1.clx"},
    {"NOK", G::Norwegian, ",", " ", "kr", "L", "DB", "DR", "CR", 50, 2, "sscenb.tlx,sscenb2.clx"},
    {"BRC", G::Portuguese, ",", ".", "R$", "L", "DB", "DR", "CR", 50, 2, "sscepb.tlx,sscepb2.clx"},
    {"PTE", G::Portuguese, ",", ".", "Esc.", "R", "DB", "DR", "CR", 50, 2, "sscepo.tlx,sscepo2.clx"},
    {"ESP", G::Spanish, ",", ".", "Pts", "R", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"ESC", G::Spanish, ",", ".", "PTA", "R", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"ARS", G::Spanish, ",", ".", "$", "L", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"BOB", G::Spanish, ",", ".", "$b", "L", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"CLP", G::Spanish, ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"COP", G::Spanish, ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"CRC", G::Spanish, ",", ".", "C", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"ECS", G::Spanish, ",", ".", "$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"GTQ", G::Spanish, ".", ",", "Q", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"MXN", G::Spanish, ".", ",", "N$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PAB", G::Spanish, ".", ",", "B/", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PYG", G::Spanish, ",", ".", "G", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"PES", G::Spanish, ".", ",", "I/.", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"UYU", G::Spanish, ",", ".", "N$", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"VEB", G::Spanish, ",", ".", "Bs.", "L", "DB", "DR", "CR", 50, 0, "sscesp.tlx,sscesp2.clx"},
    {"FMK", G::Swedish, ",", " ", "FMK", "R", "DB", "DR", "CR", 50, 2, "sscesw.tlx,sscesw2.clx"},
    {"SEK", G::Swedish, ",", " ", "kr", "R", "DB", "DR", "CR", 50, 2, "sscesw.tlx,sscesw2.clx"},
    {"IDR", G::Indonesian, ",", ".", "Rp", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ZAA", G::English, ".", ",", "R", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ZAR", G::English, ".", ",", "R", "L", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
    {"ESB", G::Spanish, ",", ".", "Pta.", "R", "DB", "DR", "CR", 50, 2, "sscesp.tlx,sscesp2.clx"},
    {"EUR", G::English, ",", " ", "EUR", "R", "DB", "DR", "CR", 50, 2, "ssceam.tlx,ssceam2.clx"},
};

constexpr LanguageNames kLanguageNames[kLanguageGroupCount] = {
    // English
    {{
         "January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December",
     },
     {
         "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec",
     },
     {
         "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
     },
     nullptr,
     nullptr},
    // French
    {{
         "janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xFBt",
         "septembre", "octobre", "novembre", "d\xE9" "cembre",
     },
     {
         "janv", "f\xE9vr", "mars", "avr", "mai", "juin", "juil", "ao\xFBt", "sept", "oct", "nov",
         "d\xE9" "c",
     },
     {
         "dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi",
     },
     "Oui",
     "Non"},
    // German
    {{
         "Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August", "September",
         "Oktober", "November", "Dezember",
     },
     {
         "Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dec",
     },
     {
         "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag",
     },
     "Ja",
     "Nein"},
    // Spanish
    {{
         "enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
         "octubre", "noviembre", "diciembre",
     },
     {
         "ENE", "FEB", "MAR", "ABR", "MAY", "JUN", "JUL", "AGO", "SEP", "OCT", "NOV", "DIC",
     },
     {
         "domingo", "lunes", "martes", "mi\xE9rcoles", "jueves", "viernes", "s\xE1" "bado",
     },
     "S\xED",
     nullptr},
    // Italian
    {{
         "gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto",
         "settembre", "ottobre", "novembre", "dicembre",
     },
     {
         "GEN", "FEB", "MAR", "APR", "MAG", "GIU", "LUG", "AGO", "SET", "OTT", "NOV", "DIC",
     },
     {
         "domenica", "lunedi", "martedi", "mercoledi", "giovedi", "vinerdi", "sabato",
     },
     "S\xEC",
     "Non"},
    // Dutch
    {{
         "januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september",
         "oktober", "november", "december",
     },
     {
         "jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec",
     },
     {
         "zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag",
     },
     "Ja",
     "Nein"},
    // Danish
    {{
         "januar", "februar", "marts", "april", "maj", "juni", "juli", "august", "september",
         "oktober", "november", "december",
     },
     {
         "jan", "feb", "mar", "apr", "maj", "juni", "juli", "aug", "sep", "okt", "nov", "dec",
     },
     {
         "s\xF8ndag", "mandag", "tirsdag", "onsdag", "torsdag", "fredag", "l\xF8rdag",
     },
     "Ja",
     "Nej"},
    // Finnish
    {{
         "tammikuu", "helmikuu", "maaliskuu", "huhtikuu", "toukokuu", "kes\xE4kuu", "hein\xE4kuu",
         "ekiuu", "syyskuu", "lokakuu", "marraskuu", "joulukuu",
     },
     {
         "tammi", "helmi", "maalis", "huhti", "touko", "kes\xE4", "hein\xE4", "elo", "syys",
         "loka", "marras", "joulu",
     },
     {
         "sunnuntai", "maanantai", "tijstai", "keskiviikko", "torstai", "perjantai", "lauantai",
     },
     "Kyll\xE4",
     nullptr},
    // Icelandic
    {{
         "jan\xFA" "ar", "febr\xFA" "ar", "mars", "apr\xEDl", "ma\xED", "j\xFAn\xED", "j\xFAl\xED",
         "\xE1g\xFAst", "september", "okt\xF3" "ber", "n\xF3vember", "desember",
     },
     {
         "jan", "feb", "mars", "apr", "ma\xED", "j\xFAn\xED", "j\xFAl\xED", "\xE1g", "sept", "okt",
         "n\xF3v", "des",
     },
     {
         "sunnudagur", "m\xE1nudagur", "\xFEri\xF0judagur", "mi\xF0vikudagur", "fimmtudagur",
         "f\xF6studagur", "laugardagur",
     },
     nullptr,
     nullptr},
    // Indonesian
    {{
         "Januari", "Februari", "Maret", "April", "Mei", "Juni", "Juli", "Agustus", "September",
         "Oktober", "November", "Desember",
     },
     {
         "Jan", "Feb", "Mar", "Apr", "Mei", "Jun", "Jul", "Agt", "Sep", "Okt", "Nov", "Des",
     },
     {
         "Minggu", "Senin", "Selasa", "Rabu", "Kamis", "Jumat", "Sabtu",
     },
     "Ya",
     "Tidak"},
    // Norwegian
    {{
         "januar", "februar", "mars", "april", "mai", "juni", "juli", "august", "september",
         "oktober", "november", "desember",
     },
     {
         "jan", "feb", "mar", "apr", "mai", "juni", "juli", "aug", "sep", "okt", "nov", "des",
     },
     {
         "s\xF8ndag", "mandag", "tirsdag", "onsdag", "torsdag", "fredag", "l\xF8rdag",
     },
     "Ja",
     "Nej"},
    // Portuguese
    {{
         "Janeiro", "Fevereiro", "Mar\xE7o", "Abril", "Maio", "Junho", "Julho", "Agosto",
         "Septembro", "Outubro", "Novemboe", "Dezembro",
     },
     {
         "JAN", "FEV", "MAR", "ABR", "MAI", "JUN", "JUL", "AGO", "SET", "OUT", "NOV", "DEZ",
     },
     {
         "domingo", "segimda-feira", "ter\xE7" "a-feira", "quarta-feira", "quinta-feira",
         "sexta-feira", "s\xE1" "bado",
     },
     "Sim",
     nullptr},
    // Swedish
    {{
         "januari", "februari", "mars", "april", "maj", "juni", "juli", "augusti", "september",
         "oktober", "november", "december",
     },
     {
         "jan", "feb", "mar", "apr", "maj", "jun", "jul", "aug", "sep", "okt", "nov", "dec",
     },
     {
         "s\xF6ndag", "m\xE5ndag", "tisdag", "onsdag", "torsdag", "fredag", "l\xF6rdag",
     },
     "Ja",
     "Nej"},
};

constexpr char kAustrianJanuary[] = "J\xE4nner";

constexpr IcuIdRow kIcuIdRows[kIcuIdRowCount] = {
    {"USD", "en_US"}, {"ZAA", "en_US"}, {"ESB", "en_US"}, {"ESC", "en_US"}, {"DKK", "en_US"},
    {"BED", "en_US"}, {"NLG", "en"}, {"AUD", "en"}, {"CAN", "en"}, {"IEP", "en"}, {"NZD", "en"},
    {"ZAR", "en"}, {"GBP", "en_GB"}, {"USD", "en_US"}, {"EUR", "en_US"}, {"FIM", "en_US"},
    {"BEF", "fr"}, {"CAD", "fr_CA"}, {"FRF", "fr"}, {"FLX", "fr"}, {"CHH", "fr"}, {"ATS", "en_US"},
    {"DEM", "en_US"}, {"CHL", "en_US"}, {"LUF", "en_US"}, {"ISK", "en_US"}, {"IDR", "en_US"},
    {"ITL", "en_US"}, {"CHI", "en_US"}, {"NOK", "en_US"}, {"BRC", "en_US"}, {"PTE", "en_US"},
    {"ESP", "en_US"}, {"ARS", "en_US"}, {"BOB", "en_US"}, {"CLP", "en_US"}, {"COP", "en_US"},
    {"CRC", "en_US"}, {"ECS", "en_US"}, {"GTQ", "en_US"}, {"MXN", "en_US"}, {"PAB", "en_US"},
    {"PYG", "en_US"}, {"PES", "en_US"}, {"UYU", "en_US"}, {"VEB", "en_US"}, {"SEK", "en_US"},
    {"FMK", "en_US"}, {"CHF", "en_US"},
};

// clang-format on

}  // namespace cmnw::locale
