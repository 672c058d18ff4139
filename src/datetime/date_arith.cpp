// Arithmetic on date texts: the parts of a date, day of week, differences in
// days, months and years, adding to a date, and today's date.
#include <climits>
#include <cstdint>
#include <ctime>
#include <utility>

#include "cmnw32/date.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/date_validate.h"
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

// A date read from a text, and whether it read as a valid date.
struct ParsedDate : DateFields {
    bool valid = false;
};

ParsedDate ParseUnder(const char *text, const char *descriptor) noexcept {
    const DateLayout layout = DecodeDescriptor(descriptor);
    ParsedDate p;
    p.valid = text != nullptr &&
              ParseDate(text, layout.fmtNum, layout.yrLen, &p.month, &p.day, &p.year) == 0;
    return p;
}

// Both dates parsed and widened, the earlier first. False when either fails.
bool ParseOrderedPair(const char *text1, const char *descriptor1, const char *text2,
                      const char *descriptor2, ParsedDate &first, ParsedDate &second) noexcept {
    const cmnw::locale::CallLocale call;  // both dates in one locale
    first = ParseUnder(text1, descriptor1);
    second = ParseUnder(text2, descriptor2);
    if (!first.valid || !second.valid) return false;
    first.year = WidenYear(first.year);
    second.year = WidenYear(second.year);
    auto key = [](const ParsedDate &p) { return (int64_t{p.year} * 16 + p.month) * 64 + p.day; };
    if (key(first) > key(second)) std::swap(first, second);
    return true;
}

bool IsLastDayOfMonth(int day, int month, int year) noexcept {
    return day == DaysInMonth(month, year);
}

int ClampToInt(int64_t v) noexcept {
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

// Years far outside 1800..3000 (after widening) all have 365 days: +1 for
// the years above that range, -1 for those below it, 0 for the others.
int PlainSide(int64_t year) noexcept { return year > 3100 ? 1 : (year < -300 ? -1 : 0); }
bool SamePlainSide(int64_t a, int64_t b) noexcept {
    return PlainSide(a) != 0 && PlainSide(a) == PlainSide(b);
}

// Moves a day of year n (any value) into its year, changing year; returns the
// day of year 1..366 within that year.
int64_t NormaliseDayOfYear(int64_t n, int64_t &year) noexcept {
    if (n < 1) {
        --year;
        n = -n;
        while (n >= DaysInYear(ClampToInt(year))) {
            if (SamePlainSide(year, year - n / 365)) {
                const int64_t skip = n / 365;
                n -= skip * 365;
                year -= skip;
                continue;
            }
            n -= DaysInYear(ClampToInt(year));
            --year;
        }
        return DaysInYear(ClampToInt(year)) - n;
    }
    while (n > DaysInYear(ClampToInt(year))) {
        if (SamePlainSide(year, year + n / 365)) {
            const int64_t skip = (n - 1) / 365;
            n -= skip * 365;
            year += skip;
            if (skip > 0) continue;
        }
        n -= DaysInYear(ClampToInt(year));
        ++year;
    }
    return n;
}

}  // namespace
}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTYear(const char *text, const char *descriptor) noexcept {
    if (text == nullptr) return 0;
    int m, d, y;
    ParseDate(text, DecodeFormatNumber(descriptor), 4, &m, &d, &y);
    return y;
}

extern "C" int FMTDayOfMonth(const char *text, const char *descriptor) noexcept {
    return ParseUnder(text, descriptor).day;
}

extern "C" int FMTDayOfYear(const char *text, const char *descriptor) noexcept {
    const ParsedDate p = ParseUnder(text, descriptor);
    return DayOfYearFromDate(p.month, p.day, p.year);
}

extern "C" int FMTMonthOfYear(const char *text, const char *descriptor) noexcept {
    return ParseUnder(text, descriptor).month;
}

extern "C" int FMTDayOfWeek(const char *text, const char *descriptor) noexcept {
    const ParsedDate p = ParseUnder(text, descriptor);
    if (!p.valid) return 0;
    const int year = WidenYear(p.year);
    const int m = p.month <= 2 ? p.month + 10 : p.month - 2;
    const int y = p.month <= 2 ? year - 1 : year;
    const int c = y / 100;
    const int k = y % 100;
    return ((13 * m - 1) / 5 + p.day + k + k / 4 + c / 4 - 2 * c + 77) % 7 + 1;
}

extern "C" int FMTDiffDays(const char *text1, const char *descriptor1, const char *text2,
                           const char *descriptor2) noexcept {
    ParsedDate a, b;
    if (!ParseOrderedPair(text1, descriptor1, text2, descriptor2, a, b)) return -1;
    int doy1 = DayOfYearFromDate(a.month, a.day, a.year);
    const int doy2 = DayOfYearFromDate(b.month, b.day, b.year);
    int total = 0;
    int year = a.year;
    if (year != b.year) {
        total += DaysInYear(year) - doy1;
        ++year;
        doy1 = 0;
        for (; year < b.year; ++year) total += DaysInYear(year);
    }
    return total + (doy2 > doy1 ? doy2 - doy1 : doy1 - doy2);
}

extern "C" int FMTDiffMonths(const char *text1, const char *descriptor1, const char *text2,
                             const char *descriptor2) noexcept {
    ParsedDate a, b;
    if (!ParseOrderedPair(text1, descriptor1, text2, descriptor2, a, b)) return -1;
    const int firstMonth = a.month;
    const int firstYear = a.year;
    int month = a.month;
    int year = a.year;
    int total = 0;
    if (year < b.year - 1) {
        total += 12 * (b.year - 1 - year);
        year = b.year - 1;
    }
    if (year != b.year) {
        total += 12 - month;
        month = 0;
        year = b.year;
    }
    if (month < b.month - 1) {
        total += b.month - 1 - month;
        month = b.month - 1;
    }
    if (b.month > month) {
        if (b.day >= a.day || (IsLastDayOfMonth(a.day, firstMonth, firstYear) &&
                               IsLastDayOfMonth(b.day, b.month, b.year))) {
            ++total;
        }
    }
    return total;
}

extern "C" int FMTDiffYears(const char *text1, const char *descriptor1, const char *text2,
                            const char *descriptor2) noexcept {
    ParsedDate a, b;
    if (!ParseOrderedPair(text1, descriptor1, text2, descriptor2, a, b)) return -1;
    int total = 0;
    int year = a.year;
    if (year < b.year - 1) {
        total += b.year - 1 - year;
        year = b.year - 1;
    }
    if (year != b.year) {
        if (b.month > a.month) {
            ++total;
        } else if (b.month == a.month) {
            if (b.day >= a.day || (IsLastDayOfMonth(a.day, a.month, b.year - 1) &&
                                   IsLastDayOfMonth(b.day, b.month, b.year))) {
                ++total;
            }
        }
    }
    return total;
}

extern "C" int FMTDateAdd(char *text, const char *descriptor, int days, int months,
                          int years) noexcept {
    const cmnw::locale::CallLocale call;  // one locale for reading and writing
    const ParsedDate p = ParseUnder(text, descriptor);
    if (!p.valid) return 65535;
    // A two-digit year is written back with two digits when it can be.
    const int yrLen = p.year < 100 ? 2 : DecodeYearLength(descriptor);
    int64_t year = WidenYear(p.year);

    // Days: through the day of year, across year ends as needed.
    int64_t n = NormaliseDayOfYear(int64_t{DayOfYearFromDate(p.month, p.day, ClampToInt(year))} +
                                       days,
                                   year);
    int64_t month = 1;
    while (n > DaysInMonth(static_cast<int>(month), ClampToInt(year))) {
        n -= DaysInMonth(static_cast<int>(month), ClampToInt(year));
        ++month;
    }
    int64_t day = n;

    // Months: whole years carried into the year.
    int64_t m = month + months;
    if (m < 1) {
        --year;
        m = -m;
        year -= m / 12;
        m %= 12;
        month = 12 - m;
    } else {
        if (m > 12) {
            year += (m - 1) / 12;
            m -= 12 * ((m - 1) / 12);
        }
        month = m;
    }

    year += years;
    const int finalYearWide = ClampToInt(year);
    const int lastDay = DaysInMonth(static_cast<int>(month), finalYearWide);
    if (day > lastDay) day = lastDay;
    int finalYear = finalYearWide;
    if (yrLen == 2 && WidenYear(finalYear % 100) == finalYear) finalYear %= 100;
    char sum[kMaxDateText];
    FMTMakeDate(sum, descriptor, static_cast<int>(month), static_cast<int>(day), finalYear);
    cmnw::ReplaceIfChanged(text, sum);
    return 0;
}

extern "C" int FMTDate(char *out, const char *descriptor) noexcept {
    if (out == nullptr) return 1;
    std::tm now{};
    if (!LocalTimeOf(std::time(nullptr), &now)) return 1;
    return FMTMakeDate(out, descriptor, now.tm_mon + 1, now.tm_mday, now.tm_year + 1900);
}
