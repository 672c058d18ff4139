// Every format, separator, year length and case flag: a date printed with
// FMTMakeDate reads back with FMTGetDateFmtValues to the same date.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"

namespace {

const char kCodes[] = "0123456789ABCDEFGHIJKLMNOPQR";

// The year the parser gives back for a printed year under a year length.
int ExpectedYear(int year, int yrLen) {
    switch (yrLen) {
        case 2: return FMTCentury(year % 100) == year ? year % 100 : year;
        case -2: return year % 100;
        default: return year;
    }
}

void RoundTripAll(const char *locale, int datesPerVariant) {
    UTLSetLocale(locale);
    std::mt19937 rng(1800 + datesPerVariant);
    const char *seps[] = {"", "/", "-", ".", ",", "b"};
    const char yearDigits[] = {'2', '3', '4', '5', '\0'};
    const char *flags[] = {"", "<", ">"};
    int checked = 0;
    for (int fmt = 1; fmt <= 26; ++fmt) {
        for (const char *sep : seps) {
            for (char yd : yearDigits) {
                std::string descriptor(1, kCodes[fmt]);
                descriptor += sep;
                if (yd != '\0') descriptor += yd;
                descriptor += flags[checked % 3];
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
                    ASSERT_EQ((std::array{m, d, y}),
                              (std::array{month, day, ExpectedYear(year, yrLen)}))
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

// The month-only format prints a name that names no day, so it never reads
// back as a date; its month is still what was printed.
TEST(DateRoundTrip, MonthOnlyFormat) {
    UTLSetLocale("USD");
    for (int month = 1; month <= 12; ++month) {
        char text[64];
        FMTMakeDate(text, "R4", month, 5, 2007);
        EXPECT_STREQ(text, FMTMonthName(month));
        int m, d, y;
        EXPECT_EQ(FMTGetDateFmtValues(text, 27, "", 4, &m, &d, &y), 1);
        EXPECT_EQ(m, month);
    }
}

}  // namespace
