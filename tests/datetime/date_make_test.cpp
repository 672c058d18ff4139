// Date format descriptors and printing dates: the formatter against snprintf of the library's own
// templates, decoding and building descriptors, the case flags, and every printed layout reading back.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "datetime/date_internal.h"

namespace {

const char kCodes[] = "0123456789ABCDEFGHIJKLMNOPQR";

// What snprintf prints with the format's template, one conversion at a time, the arguments in the
// order of the library's table: Month, Day, Year, month Name, Abbreviation, day of the year (J).
std::string PrintWithTemplate(int fmtNum, const char *sep, int yrLen, int month, int day, int year) {
    static const char *const kOrder[] = {
        "",    "MDY", "DMY", "YMD", "NDY", "MDY", "DMY", "YMD", "MDY", "DMY", "YMD", "MDY", "DMY", "YMD",
        "ADY", "DAY", "YAD", "JY",  "YJ",  "DNY", "YND", "ADY", "DAY", "YAD", "ADY", "DAY", "YAD", "N"};
    char templ[40], piece[64];
    FMTGetDateFmtSprintf(templ, fmtNum, sep, yrLen);
    if (yrLen == 4 || yrLen == -4) year = FMTCentury(year);
    else if (yrLen == -2 || (yrLen == 2 && FMTCentury(year % 100) == year)) year %= 100;
    long long doy = day;
    for (int m = 1; m < month && m <= 12 && day != 0; ++m) doy += FMTDaysInMonth(m, year);
    std::string out;
    const char *order = kOrder[fmtNum];
    for (const char *p = templ; *p != '\0';) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        const std::string conversion(p, std::strcspn(p, "ds") + 1);
        p += conversion.size();
        const char k = *order++;
        const char *name = k == 'N' ? FMTMonthName(month) : FMTMonthName3(month);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        if (k == 'N' || k == 'A') std::snprintf(piece, sizeof piece, conversion.c_str(), name ? name : "");
        else std::snprintf(piece, sizeof piece, conversion.c_str(), k == 'M' ? month : k == 'D' ? day : k == 'Y' ? year : static_cast<int>(doy));
#pragma GCC diagnostic pop
        out += piece;
    }
    return out;
}

// Every format, separator and year length, on ordinary and hostile values.
TEST(DateMake, MatchesTheTemplatesOfEveryFormat) {
    std::mt19937 rng(20070524);
    std::uniform_int_distribution<int> anyInt(INT_MIN + 1, INT_MAX);
    for (int fmt = 1; fmt <= 27; ++fmt) {
        for (const char *sep : {"", "/", "-", ".", ",", "b"}) {
            for (const char *yd : {"2", "3", "4", "5", ""}) {
                const std::string descriptor = kCodes[fmt] + std::string(sep) + yd;
                char decodedSep[2];
                int yrLen = 0;
                FMTGetDateFmtInfo(descriptor.c_str(), nullptr, decodedSep, &yrLen, nullptr);
                for (int i = 0; i < 60; ++i) {
                    int month = 1 + static_cast<int>(rng() % 12), day = 1 + static_cast<int>(rng() % 31);
                    int year = static_cast<int>(rng() % 3200);
                    if (i % 6 == 0) month = anyInt(rng) % 20;
                    if (i % 7 == 0) day = anyInt(rng);
                    if (i % 8 == 0) year = anyInt(rng);
                    if (i % 9 == 0) year = -static_cast<int>(rng() % 100);
                    char out[64];
                    ASSERT_EQ(FMTMakeDate(out, descriptor.c_str(), month, day, year), 0);
                    ASSERT_EQ(out, PrintWithTemplate(fmt, decodedSep, yrLen, month, day, year))
                        << descriptor << " " << month << " " << day << " " << year;
                }
            }
        }
    }
}

TEST(DateMake, CaseFlagsUseTheClassTableOfTheLocale) {
    UTLSetLocale("FRF");
    char out[64];
    FMTMakeDate(out, "4/4>", 2, 3, 2007);
    EXPECT_STREQ(out, "F\xC9VRIER 3, 2007");
}

TEST(DateMake, CutToTheRoomGivenWithoutWritingPastIt) {
    char out[16];
    std::memset(out, 'x', sizeof out);
    const auto layout = cmnw::datetime::DecodeDescriptor("1/4");
    EXPECT_EQ(cmnw::datetime::MakeDate(out, 10, layout, 12, 31, 1999), 9u);
    EXPECT_EQ(std::string(out, 11), std::string("12/31/199\0x", 11));
}

TEST(DateDescriptor, DecodesNumberSeparatorAndYearLength) {
    const struct { const char *descriptor; int fmtNum; const char *sep; int yrLen; } cases[] = {
        {"1/4", 1, "/", 4},  {"a4", 10, "/", 4},  {"4-4", 4, "-", 4},  {"4B4", 4, " ", 4},
        {"44", 4, ",", 4},   {"L4", 21, "-", 4},  {"L/4", 21, "/", 4}, {"B/4", 11, "", 4},
        {"99-5", 1, "/", 0}, {"2", 2, "/", 2},    {"", 1, "/", 0},     {"1.2", 1, ".", 2},
        {"2-3", 2, "-", -2}, {"3 5", 3, " ", -4}, {"R", 27, "", 0},    {"S/4", 1, "/", 4},
        {"Q/4", 26, ",", 4}, {"G-4", 16, "", 4},  {"1x4", 1, "/", 0},  {"14>", 1, "/", 4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.descriptor);
        int fmtNum = -1, yrLen = -1;
        char sep[2] = {'x', 'x'};
        EXPECT_EQ(FMTGetDateFmtInfo(c.descriptor, &fmtNum, sep, &yrLen, nullptr), 0);
        EXPECT_EQ(fmtNum * 100 + yrLen, c.fmtNum * 100 + c.yrLen);
        EXPECT_STREQ(sep, c.sep);
    }
}

// Built from parts: an upper-case "B" is lowered in place, numbers or separators out of range fall back.
TEST(DateDescriptor, BuildsDescriptorsFromParts) {
    const struct { int fmtNum; const char *sep; int yrLen; const char *descriptor, *sepAfter; } cases[] = {
        {22, "b", -4, "Mb5", "b"}, {40, "/", 4, "1/4", "/"}, {1, "B", 2, "1b2", "b"},
        {13, "x", 7, "D", "x"},    {19, ",", -2, "J,3", ","}, {9, ".", 0, "9.", "."},
    };
    for (const auto &c : cases) {
        char sep[8], out[8];
        std::strcpy(sep, c.sep);
        EXPECT_EQ(FMTGetDateFmtString(out, c.fmtNum, sep, c.yrLen), 0);
        EXPECT_STREQ(out, c.descriptor);
        EXPECT_STREQ(sep, c.sepAfter);
    }
}

// The year the parser gives back for a printed year under a year length.
int ExpectedYear(int year, int yrLen) {
    if (yrLen == 2) return FMTCentury(year % 100) == year ? year % 100 : year;
    return yrLen == -2 ? year % 100 : year;
}

// Every format, separator, year length and case flag: a printed date reads back to the same date.
void RoundTripAll(const char *locale, int datesPerVariant) {
    UTLSetLocale(locale);
    std::mt19937 rng(1800 + datesPerVariant);
    const char *flags[] = {"", "<", ">"};
    int checked = 0;
    for (int fmt = 1; fmt <= 26; ++fmt) {
        for (const char *sep : {"", "/", "-", ".", ",", "b"}) {
            for (const char *yd : {"2", "3", "4", "5", ""}) {
                const std::string descriptor = kCodes[fmt] + std::string(sep) + yd + flags[checked % 3];
                int fmtNum, yrLen;
                char decodedSep[2];
                FMTGetDateFmtInfo(descriptor.c_str(), &fmtNum, decodedSep, &yrLen, nullptr);
                for (int i = 0; i < datesPerVariant; ++i) {
                    const int year = 1800 + static_cast<int>(rng() % 1201);
                    const int month = 1 + static_cast<int>(rng() % 12);
                    const int day = 1 + static_cast<int>(rng() % FMTDaysInMonth(month, year));
                    char text[64];
                    FMTMakeDate(text, descriptor.c_str(), month, day, year);
                    int m = -1, d = -1, y = -1;
                    ASSERT_EQ(FMTGetDateFmtValues(text, fmtNum, decodedSep, yrLen, &m, &d, &y), 0)
                        << locale << " " << descriptor << " \"" << text << "\"";
                    ASSERT_EQ((std::array{m, d, y}), (std::array{month, day, ExpectedYear(year, yrLen)}))
                        << descriptor << " \"" << text << "\"";
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 26 * 6 * 5 * datesPerVariant - 1);
}

TEST(DateRoundTrip, EveryFormatUnderUSD) { RoundTripAll("USD", 40); }
TEST(DateRoundTrip, EveryFormatUnderOtherLocales) {
    for (const char *locale : {"FRF", "DEM", "ESP"}) RoundTripAll(locale, 8);
}

}  // namespace
