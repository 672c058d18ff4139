// Field-level date operations: validating typed dates with their blank
// pictures, deformatting, pictures of descriptors, conversion between
// descriptors and hextimes, and the locale argument.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

const char kCodes[] = "123456789ABCDEFGHIJKLMNOPQR";

struct Typed {
    const char *text;
    unsigned maxLen;
    const char *descriptor;
    int result;
    const char *after;
};

void ExpectTyped(int (*fn)(char *, unsigned, const char *, const char *), const Typed &c,
                 const char *locale = nullptr) {
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
        // Only the first 61 characters are read.
        {"                                                          12/25/2007", 200, "1/4", 1,
         "                                                          12/25/2007"},
        {"                                                   12/25/2007", 200, "1/4", 0,
         "12/25/2007"},
    };
    for (const Typed &c : cases) ExpectTyped(FMTIntlValDate, c);
    EXPECT_EQ(FMTIntlValDate(nullptr, 5, "1/4", nullptr), 1);
}

// The picture a blank entry becomes under descriptor.
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
    // The pictures themselves, for the default separators.
    for (const Typed &c : {Typed{"/", 20, "1/4", 0, "  /  /  "}, Typed{"/", 20, "4/4", 0, " "},
                           Typed{"/", 20, "H4", 0, "  /  "}, Typed{"/", 20, "B4", 0, "      "}})
        ExpectTyped(FMTIntlValDate, c);
}

TEST(IntlValDate, LocaleArgumentIsRestoredOnEveryWayOut) {
    UTLSetLocale("USD");
    const Typed cases[] = {
        {"24. Mai 2007", 40, "J4", 0, "24 Mai, 2007"}, {"not a date", 40, "J4", 1, "not a date"},
        {"   ", 40, "J4", 0, "   "},                  {"/", 40, "J4", 0, " "},
    };
    for (const Typed &c : cases) {
        ExpectTyped(FMTIntlValDate, c, " DEM");
        EXPECT_STREQ(UTLGetLocale(), "USD");
    }
    ExpectTyped(FMTIntlValDate, {"24. Mai 2007", 40, "J4", 1, "24. Mai 2007"});  // not English
    ExpectTyped(FMTDeformatDate, {"x", 40, "J4", 1, "x"}, " DEM");
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

TEST(DeformatDate, ParsesAndRewrites) {
    const Typed cases[] = {
        {"1/5/07", 20, "1/4", 0, "01/05/2007"}, {"   ", 20, "1/4", 1, "   "},
        {"/", 20, "1/4", 1, "/"},               {"5/24/2007", 4, "1/4", 1, "5/24/2007"},
    };
    for (const Typed &c : cases) ExpectTyped(FMTDeformatDate, c);
    EXPECT_EQ(FMTDeformatDate(nullptr, 5, "1/4", nullptr), 1);
}

TEST(DateFormatString, PicturesFollowFormatSeparatorAndYearLength) {
    // Four-digit years, two-digit years and a strict four-digit year.
    const struct { const char *descriptor, *picture; } cases[] = {
        {"14", "MM/DD/YYYY"}, {"44", "MonthName DD, YYYY"}, {"F4", "DDMonYYYY"}, {"I4", "YYYY/DOY"},
        {"M4", "DD-Mon-YYYY"}, {"Q4", "YYYY, Mon DD"}, {"R4", "MonthNameDDYYYY"}, {"12", "MM/DD/YY"},
        {"42", "MonthName DD, YY"}, {"F2", "DDMonYY"}, {"I2", "YY/DOY"}, {"M2", "DD-Mon-YY"},
        {"Q2", "YY, Mon DD"}, {"R2", "MonthNameDDYY"}, {"15", "MM/DD/YYYY"}, {"45", "MonthName DD, YYYY"},
        {"F5", "DDMonYYYY"}, {"I5", "YYYY/DOY"}, {"M5", "DD-Mon-YYYY"}, {"Q5", "YYYY, Mon DD"},
        {"R5", "MonthNameDDYYYY"}, {"2.2", "DD.MM.YY"}, {"Lb4", "Mon DD YYYY"},
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
        {"CA01B000", "X", "X", "CA011600"},
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
    EXPECT_EQ(FMTDate2Date("05/24/2007", "1/4", out, nullptr), 0);
    EXPECT_STREQ(out, "24.05.2007");
    EXPECT_EQ(FMTDate2Date(nullptr, "1/4", out, "1/4"), 1);
    EXPECT_EQ(FMTDate2Date("05/24/2007", "1/4", nullptr, "1/4"), 1);
    // A text that does not read still gives a stamp (of whatever it holds).
    EXPECT_EQ(FMTDate2Date("no date", "1/4", out, "X"), 0);
    EXPECT_EQ(std::strlen(out), 8u);
}

}  // namespace
