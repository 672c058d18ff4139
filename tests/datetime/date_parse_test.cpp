// Reading date texts, typed dates, pictures of descriptors, and conversion between descriptors and hextimes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"
#include "common/test_support.h"

namespace {

struct Parsed {
    int result, month, day, year;
    bool operator==(const Parsed &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Parsed &p) {
    return os << p.result << " " << p.month << "/" << p.day << "/" << p.year;
}

Parsed Parse(const char *text, int fmtNum, int yrLen) {
    Parsed p{-9, -9, -9, -9};
    p.result = FMTGetDateFmtValues(text, fmtNum, "/", yrLen, &p.month, &p.day, &p.year);
    return p;
}

std::tm Now() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm;
}

TEST(DateParse, LenientReadingsAndCheckedFailures) {
    UTLSetLocale("USD");
    const int p = Now().tm_year;
    const struct { const char *text; int fmtNum, yrLen; Parsed expected; } cases[] = {
        // Year lengths and the century window.
        {"1/5/07", 1, 2, {0, 1, 5, 7}},          {"1/5/07", 1, 4, {0, 1, 5, 2007}},
        {"1/5/2007", 1, 2, {0, 1, 5, 7}},        {"1/5/2060", 1, 2, {0, 1, 5, 2060}},
        {"1/5/1949", 1, 0, {0, 1, 5, 1949}},     {"2008-02-29", 3, -4, {0, 2, 29, 2008}},
        // Blanks, tabs and names in any order around the numbers.
        {"  12 , 25 , 2007  ", 1, 4, {0, 12, 25, 2007}}, {"1\t/5/07", 1, 4, {0, 1, 5, 2007}},
        {"January 5, 2007", 2, 4, {0, 1, 5, 2007}}, {"5 Jan 2007", 1, 4, {0, 1, 5, 2007}},
        // Runs of digits, split by the format's order.
        {"070105", 3, 2, {0, 1, 5, 7}},          {"0105007", 11, 0, {0, 1, 5, 7}},
        // Failing the checks: all three outputs are zeroed.
        {"1/5/07", 1, -4, {1, 0, 0, 0}},         {"1/5/2007", 1, -2, {1, 0, 0, 0}},
        {"2/30/2008", 1, 4, {1, 0, 0, 0}},       {"2/29/1900", 1, 4, {1, 0, 0, 0}},
        {"1/1/1799", 1, 4, {1, 0, 0, 0}},        {"1/1/3001", 1, 4, {1, 0, 0, 0}},
        {"1/1/100", 1, 0, {1, 0, 0, 0}},         {"13/5/07", 1, 4, {1, 0, 0, 0}},
        {"12/25", 1, 4, {1, 0, 0, 0}},           {"05JAN2007", 1, 4, {1, 0, 0, 0}},
        {"366/2007", 17, 4, {1, 0, 0, 0}},       {"000/2007", 17, 4, {1, 0, 0, 0}},
        {"Jan5", 1, 0, {1, 0, 0, 0}},            // no year
        // Unreadable texts keep what was read; the year is the preset one.
        {", ,", 1, 4, {1, 0, 0, p}},             {"Jan/Feb/2007", 1, 4, {1, 1, 0, p}},
        {"5/Jan/x", 1, 4, {1, 1, 5, p}},         {"1/5/x7", 1, 4, {1, 1, 5, p}},
    };
    for (const auto &c : cases) EXPECT_EQ(Parse(c.text, c.fmtNum, c.yrLen), c.expected) << c.text;
}

// Digit-and-separator texts have a one-pass reader; a leading blank sends them through the token reader.
TEST(DateParse, PlainTextsReadAsThroughTheTokens) {
    std::mt19937 rng(1999);
    const char alphabet[] = "0123456789012345678901234567890123456789/-., x+";
    const int yrLens[] = {0, 2, -2, 4, -4};
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const size_t length = 1 + rng() % 14;
        for (size_t n = 0; n < length; ++n) text += alphabet[rng() % (sizeof alphabet - 1)];
        if (i % 3 == 0) text[0] = static_cast<char>('0' + rng() % 10);
        const std::string padded = " " + text;
        const int fmtNum = 1 + static_cast<int>(rng() % 27);
        const int yrLen = yrLens[rng() % 5];
        ASSERT_EQ(Parse(text.c_str(), fmtNum, yrLen), Parse(padded.c_str(), fmtNum, yrLen))
            << text << " " << fmtNum << " " << yrLen;
    }
}

TEST(DateParse, NamesOfTheHostLocale) {
    UTLSetLocale("USD");
    EXPECT_EQ(Parse("5 M\xE4rz 2007", 2, 4).result, 1);
    FMTSetHostLocale("DEM");
    EXPECT_EQ(Parse("5 m\xC4rz 2007", 2, 4), (Parsed{0, 3, 5, 2007}));
    EXPECT_STREQ(UTLGetLocale(), "USD");  // matched under DEM, then switched back
    FMTSetHostLocale(nullptr);
    EXPECT_EQ(Parse("5 March 2007", 2, 4).month, 3);
}

void UseIni(const std::string &controlLine) {
    static cmnw::test::TempDir dir;
    static int files = 0;
    setenv("CMNW32_INI", dir.Write("c" + std::to_string(++files) + ".ini", "[Control]\n" + controlLine + "\n").c_str(), 1);
}

TEST(Calendar, CenturyWindowWithTheDefaultPivot) {
    unsetenv("CMNW32_INI");
    const int cases[][2] = {{0, 2000}, {49, 2049}, {50, 1950}, {99, 1999}, {100, 100},
                            {2007, 2007}, {-1, 1999}, {3001, 3001}};
    for (const auto &c : cases) EXPECT_EQ(FMTCentury(c[0]), c[1]) << c[0];
    EXPECT_EQ(Parse("1/5/49", 1, 4), (Parsed{0, 1, 5, 2049}));
}

TEST(Calendar, CenturyWindowWithAConfiguredPivot) {
    UseIni("DateFmt2To4Year=30");
    EXPECT_EQ(FMTCentury(29), 2029);
    EXPECT_EQ(FMTCentury(30), 1930);
    char out[64];
    FMTMakeDate(out, "1/2", 1, 5, 1935);
    EXPECT_STREQ(out, "01/05/35");
    UseIni("DateFmt2To4Year=90");  // the pivot is read once
    EXPECT_EQ(FMTCentury(30), 1930);
}

const char kCodes[] = "123456789ABCDEFGHIJKLMNOPQR";

struct Typed { const char *text; unsigned maxLen; const char *descriptor; int result; const char *after; };

void ExpectTyped(int (*fn)(char *, unsigned, const char *, const char *), const Typed &c, const char *locale = nullptr) {
    char text[80];
    std::strcpy(text, c.text);
    EXPECT_EQ(fn(text, c.maxLen, c.descriptor, locale), c.result) << c.text;
    EXPECT_STREQ(text, c.after) << c.text;
}

TEST(IntlValDate, ValidatesAndRewrites) {
    UTLSetLocale("USD");
    const Typed cases[] = {
        {"1/5/07", 20, "1/4", 0, "01/05/2007"},     {"13/5/07", 20, "1/4", 1, "13/5/07"},
        {"  5-24-2007 ", 20, "4/4", 0, "May 24, 2007"}, {"may 24 2007", 20, "3-4", 0, "2007-05-24"},
        {"1/5/2007 and more", 8, "1/4", 0, "01/05/2007"}, {"", 20, "1/4", 0, ""},
        {"     ", 20, "1/4", 0, "     "},           {"12/25", 20, "1/4", 1, "12/25"},
    };
    for (const Typed &c : cases) ExpectTyped(FMTIntlValDate, c);
    const std::string unread = std::string(58, ' ') + "12/25/2007", read = unread.substr(7);
    ExpectTyped(FMTIntlValDate, {unread.c_str(), 200, "1/4", 1, unread.c_str()});  // only 61 characters are read
    ExpectTyped(FMTIntlValDate, {read.c_str(), 200, "1/4", 0, "12/25/2007"});
    ExpectTyped(FMTDeformatDate, {"1/5/07", 20, "1/4", 0, "01/05/2007"});
    ExpectTyped(FMTDeformatDate, {"   ", 20, "1/4", 1, "   "});  // a blank entry is no date
}

std::string BlankPicture(const char *descriptor) {
    const int fmt = FMTGetDateFmtNum(descriptor);
    char sep[2];
    FMTGetDateFmtSep(descriptor, sep);
    switch (fmt) {
        case 4: case 19: case 20: case 24: case 25: case 26: case 27: return " ";
        case 17: case 18: return std::string("  ") + sep + "  ";
        default: return std::string("  ") + sep + "  " + sep + "  ";
    }
}

TEST(IntlValDate, EveryBlankEntryPicture) {
    const char *blanks[] = {"/", " - ", "//", "/ ,", ". .", ",", " /  / "};
    const char *notBlank[] = {"///", "/ / /", "/x", "/.x"};
    for (const char code : std::string(kCodes)) {
        for (const char *sepCode : {"", "/", "-", ".", ",", "b"}) {
            const std::string d = code + std::string(sepCode) + "4";
            SCOPED_TRACE(d);
            const std::string picture = BlankPicture(d.c_str());
            for (const char *blank : blanks)
                ExpectTyped(FMTIntlValDate, {blank, 20, d.c_str(), 0, picture.c_str()});
            for (const char *entry : notBlank)
                ExpectTyped(FMTIntlValDate, {entry, 20, d.c_str(), 1, entry});
        }
    }
}

TEST(IntlValDate, LocaleArgumentIsRestoredOnEveryWayOut) {
    UTLSetLocale("USD");
    const Typed cases[] = {
        {"24. Mai 2007", 40, "J4", 0, "24 Mai, 2007"}, {"not a date", 40, "J4", 1, "not a date"},
    };
    for (const Typed &c : cases) {
        ExpectTyped(FMTIntlValDate, c, " DEM");
        EXPECT_STREQ(UTLGetLocale(), "USD");
    }
    ExpectTyped(FMTDeformatDate, {"x", 40, "J4", 1, "x"}, " DEM");
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

TEST(DateFormatString, PicturesFollowFormatSeparatorAndYearLength) {
    const struct { const char *descriptor, *picture; } cases[] = {
        {"44", "MonthName DD, YYYY"}, {"F4", "DDMonYYYY"}, {"I4", "YYYY/DOY"}, {"M2", "DD-Mon-YY"},
        {"Q2", "YY, Mon DD"}, {"R5", "MonthNameDDYYYY"}, {"2.2", "DD.MM.YY"}, {"Lb4", "Mon DD YYYY"},
    };
    char out[32];
    for (const auto &c : cases) {
        EXPECT_EQ(FMTDateFormatString(c.descriptor, out, sizeof out), 0) << c.descriptor;
        EXPECT_STREQ(out, c.picture) << c.descriptor;
    }
    EXPECT_EQ(FMTDateFormatString("1/4", out, 11), 0);  // exactly the room it needs
    EXPECT_EQ(FMTDateFormatString("1/4", out, 10), 2);
}

TEST(Date2Date, ConvertsBetweenLayoutsAndHextimes) {
    setenv("TZ", "UTC", 1);
    tzset();
    UTLSetLocale("USD");
    const struct { const char *text, *from, *to, *out; } cases[] = {
        {"05/24/2007", "1/4", "3-4", "2007-05-24"}, {"May 24, 2007", "4/4", "J4>", "24 MAY, 2007"},
        {"05/24/2007", "1/4", "X", "CA011600"},  // local midnight of the day
        {"2007-05-24", "3-4", "x", "CA011600"},  {"CA01B000", "X", "2.4", "24.05.2007"},
    };
    char out[64];
    for (const auto &c : cases) {
        EXPECT_EQ(FMTDate2Date(c.text, c.from, out, c.to), 0) << c.text;
        EXPECT_STREQ(out, c.out) << c.text;
    }
    std::strcpy(out, "untouched");
    EXPECT_EQ(FMTDate2Date("13/24/2007", "1/4", out, "3-4"), 1);
    EXPECT_STREQ(out, "untouched");
    // Null descriptors are the stored default.
    char stored[32] = "2.4";
    FMTDefDateFormat(stored, 'S');
    EXPECT_EQ(FMTDate2Date("24.05.2007", nullptr, out, "1/4"), 0);
    EXPECT_STREQ(out, "05/24/2007");
}

}  // namespace

TEST(DateParts, SeparatorsYearLengthsAndDayNames) {
    EXPECT_STREQ(FMTDateSepStr(), "/-., ");
    for (int ch : {'/', '-', '.', ',', ' '}) EXPECT_EQ(FMTIsDateSep(ch), 1) << ch;
    EXPECT_EQ(FMTIsDateSep(':'), 0);
    EXPECT_EQ(FMTGetDateFmtYrLen("1/4") * 10 + FMTGetDateFmtYrLen("1/2"), 42);
    EXPECT_TRUE(FMTDayName(0) == nullptr && FMTDayName(8) == nullptr);
    EXPECT_TRUE(FMTDayName(1) != nullptr && FMTDayName(7) != nullptr);
    char hextime[16] = {};  // a hextime converted to a hextime in other letters is copied
    EXPECT_EQ(FMTDateTime2DateTime("4A5B6C7D", "X", hextime, "x"), 0);
    EXPECT_STREQ(hextime, "4A5B6C7D");
}
