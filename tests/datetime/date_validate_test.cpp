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

TEST(IntlValDate, ValidatesAndRewrites) {
    UTLSetLocale("USD");
    const Typed cases[] = {
        {"1/5/07", 20, "1/4", 0, "01/05/2007"},
        {"13/5/07", 20, "1/4", 1, "13/5/07"},
        {"  5-24-2007 ", 20, "4/4", 0, "May 24, 2007"},
        {"24.5.07", 20, "2.2", 0, "24.05.07"},
        {"may 24 2007", 20, "3-4", 0, "2007-05-24"},
        {"1/5/2007 and more", 8, "1/4", 0, "01/05/2007"},
        {"", 20, "1/4", 0, ""},
        {"     ", 20, "1/4", 0, "     "},
        {"12/25", 20, "1/4", 1, "12/25"},
        {"032/2007", 20, "H/4", 0, "032/2007"},
    };
    for (const Typed &c : cases) {
        SCOPED_TRACE(c.text);
        char text[80];
        std::strcpy(text, c.text);
        EXPECT_EQ(FMTIntlValDate(text, c.maxLen, c.descriptor, nullptr), c.result);
        EXPECT_STREQ(text, c.after);
    }
    EXPECT_EQ(FMTIntlValDate(nullptr, 5, "1/4", nullptr), 1);
}

TEST(IntlValDate, ReadsAtMost61Characters) {
    std::string text = std::string(58, ' ') + "12/25/2007";  // cut after "12/"
    char buffer[80];
    std::strcpy(buffer, text.c_str());
    EXPECT_EQ(FMTIntlValDate(buffer, 200, "1/4", nullptr), 1);
    EXPECT_EQ(std::string(buffer), text);
    text = std::string(51, ' ') + "12/25/2007";  // 61 characters
    std::strcpy(buffer, text.c_str());
    EXPECT_EQ(FMTIntlValDate(buffer, 200, "1/4", nullptr), 0);
    EXPECT_STREQ(buffer, "12/25/2007");
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
    int checked = 0;
    for (const char code : std::string(kCodes)) {
        for (const char *sepCode : {"", "/", "-", ".", ",", "b"}) {
            const std::string descriptor = std::string(1, code) + sepCode + "4";
            const std::string picture = BlankPicture(descriptor.c_str());
            for (const char *blank : blanks) {
                char text[80];
                std::strcpy(text, blank);
                ASSERT_EQ(FMTIntlValDate(text, 20, descriptor.c_str(), nullptr), 0);
                ASSERT_EQ(std::string(text), picture) << descriptor << " [" << blank << "]";
                ++checked;
            }
            for (const char *entry : notBlank) {
                char text[80];
                std::strcpy(text, entry);
                ASSERT_EQ(FMTIntlValDate(text, 20, descriptor.c_str(), nullptr), 1) << entry;
                ASSERT_STREQ(text, entry);
            }
        }
    }
    EXPECT_EQ(checked, 27 * 6 * 7);
    // The pictures themselves, for the default separators.
    char text[80];
    std::strcpy(text, "/");
    FMTIntlValDate(text, 20, "1/4", nullptr);
    EXPECT_STREQ(text, "  /  /  ");
    std::strcpy(text, "/");
    FMTIntlValDate(text, 20, "4/4", nullptr);
    EXPECT_STREQ(text, " ");
    std::strcpy(text, "/");
    FMTIntlValDate(text, 20, "H4", nullptr);
    EXPECT_STREQ(text, "  /  ");
    std::strcpy(text, "/");
    FMTIntlValDate(text, 20, "B4", nullptr);
    EXPECT_STREQ(text, "      ");
    std::strcpy(text, "-");
    FMTIntlValDate(text, 20, "L4", nullptr);
    EXPECT_STREQ(text, "  -  -  ");
}

TEST(IntlValDate, LocaleArgumentIsRestoredOnEveryWayOut) {
    UTLSetLocale("USD");
    char text[80] = "24. Mai 2007";
    EXPECT_EQ(FMTIntlValDate(text, 40, "J4", " DEM"), 0);
    EXPECT_STREQ(text, "24 Mai, 2007");
    EXPECT_STREQ(UTLGetLocale(), "USD");
    std::strcpy(text, "24. Mai 2007");
    EXPECT_EQ(FMTIntlValDate(text, 40, "J4", nullptr), 1);  // not an English month
    std::strcpy(text, "not a date");
    EXPECT_EQ(FMTIntlValDate(text, 40, "J4", " DEM"), 1);
    EXPECT_STREQ(UTLGetLocale(), "USD");
    std::strcpy(text, "   ");
    EXPECT_EQ(FMTIntlValDate(text, 40, "J4", " DEM"), 0);
    EXPECT_STREQ(UTLGetLocale(), "USD");
    std::strcpy(text, "/");
    EXPECT_EQ(FMTIntlValDate(text, 40, "J4", " FRF"), 0);
    EXPECT_STREQ(UTLGetLocale(), "USD");
    // A marker alone, or an empty argument, switches nothing.
    std::strcpy(text, "5/24/2007");
    EXPECT_EQ(FMTIntlValDate(text, 40, "4/4", " "), 0);
    EXPECT_STREQ(text, "May 24, 2007");
    std::strcpy(text, "24. Mai 2007");
    EXPECT_EQ(FMTDeformatDate(text, 40, "J4", " DEM"), 0);
    EXPECT_STREQ(text, "24 Mai, 2007");
    std::strcpy(text, "x");
    EXPECT_EQ(FMTDeformatDate(text, 40, "J4", " DEM"), 1);
    EXPECT_STREQ(UTLGetLocale(), "USD");
}

TEST(DeformatDate, ParsesAndRewrites) {
    const Typed cases[] = {
        {"1/5/07", 20, "1/4", 0, "01/05/2007"}, {"   ", 20, "1/4", 1, "   "},
        {"", 20, "1/4", 1, ""},                 {"/", 20, "1/4", 1, "/"},
        {"20070524", 20, "D4", 0, "20070524"},  {"5/24/2007", 4, "1/4", 1, "5/24/2007"},
    };
    for (const Typed &c : cases) {
        char text[80];
        std::strcpy(text, c.text);
        EXPECT_EQ(FMTDeformatDate(text, c.maxLen, c.descriptor, nullptr), c.result) << c.text;
        EXPECT_STREQ(text, c.after);
    }
    EXPECT_EQ(FMTDeformatDate(nullptr, 5, "1/4", nullptr), 1);
}

TEST(DateFormatString, PicturesOfEveryFormat) {
    const char *pictures[] = {
        "MM/DD/YYYY",    "DD/MM/YYYY",    "YYYY/MM/DD",         "MonthName DD, YYYY",
        "MM/DD/YYYY",    "DD/MM/YYYY",    "YYYY/MM/DD",         "MM/DD/YYYY",
        "DD/MM/YYYY",    "YYYY/MM/DD",    "MMDDYYYY",           "DDMMYYYY",
        "YYYYMMDD",      "MonDDYYYY",     "DDMonYYYY",          "YYYYMonDD",
        "DOY/YYYY",      "YYYY/DOY",      "DD MonthName, YYYY", "YYYY, MonthName DD",
        "Mon-DD-YYYY",   "DD-Mon-YYYY",   "YYYY-Mon-DD",        "Mon DD, YYYY",
        "DD Mon, YYYY",  "YYYY, Mon DD",  "MonthNameDDYYYY",
    };
    for (int i = 0; i < 27; ++i) {
        const std::string descriptor = std::string(1, kCodes[i]) + "4";
        char out[32];
        std::memset(out, 'z', sizeof out);
        EXPECT_EQ(FMTDateFormatString(descriptor.c_str(), out, sizeof out), 0);
        EXPECT_STREQ(out, pictures[i]) << descriptor;
        EXPECT_EQ(out[31], '\0');
        // Two-digit years and a strict four-digit year.
        std::string two = pictures[i];
        two.replace(two.find("YYYY"), 4, "YY");
        FMTDateFormatString((std::string(1, kCodes[i]) + "2").c_str(), out, sizeof out);
        EXPECT_EQ(std::string(out), two);
        FMTDateFormatString((std::string(1, kCodes[i]) + "5").c_str(), out, sizeof out);
        EXPECT_STREQ(out, pictures[i]);
    }
    char out[32];
    EXPECT_EQ(FMTDateFormatString("2.2", out, sizeof out), 0);
    EXPECT_STREQ(out, "DD.MM.YY");
    EXPECT_EQ(FMTDateFormatString("J4", out, sizeof out), 0);
    EXPECT_STREQ(out, "DD MonthName, YYYY");
    EXPECT_EQ(FMTDateFormatString("Lb4", out, sizeof out), 0);
    EXPECT_STREQ(out, "Mon DD YYYY");
    EXPECT_EQ(FMTDateFormatString("1/4", out, 11), 0);
    std::memset(out, 'z', sizeof out);
    EXPECT_EQ(FMTDateFormatString("1/4", out, 5), 2);
    EXPECT_EQ(std::string(out, 5), std::string(5, '\0'));
    EXPECT_EQ(out[5], 'z');
    EXPECT_EQ(FMTDateFormatString("1/4", nullptr, 5), 2);
}

TEST(Date2Date, ConvertsBetweenLayoutsAndHextimes) {
    setenv("TZ", "UTC", 1);
    tzset();
    UTLSetLocale("USD");
    char out[64] = "untouched";
    EXPECT_EQ(FMTDate2Date("05/24/2007", "1/4", out, "3-4"), 0);
    EXPECT_STREQ(out, "2007-05-24");
    EXPECT_EQ(FMTDate2Date("May 24, 2007", "4/4", out, "J4>"), 0);
    EXPECT_STREQ(out, "24 MAY, 2007");
    std::strcpy(out, "untouched");
    EXPECT_EQ(FMTDate2Date("13/24/2007", "1/4", out, "3-4"), 1);
    EXPECT_STREQ(out, "untouched");
    // To a hextime: local midnight of the day.
    EXPECT_EQ(FMTDate2Date("05/24/2007", "1/4", out, "X"), 0);
    EXPECT_STREQ(out, "CA011600");
    EXPECT_EQ(FMTDate2Date("2007-05-24", "3-4", out, "x"), 0);
    EXPECT_STREQ(out, "CA011600");
    // From a hextime (any time of that day).
    EXPECT_EQ(FMTDate2Date("CA01B000", "X", out, "2.4"), 0);
    EXPECT_STREQ(out, "24.05.2007");
    EXPECT_EQ(FMTDate2Date("CA01B000", "X", out, "X"), 0);
    EXPECT_STREQ(out, "CA011600");
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
