// Reading a broken-down time from text under a percent-coded format: a
// lenient scanner that finds the numbers and month names in order and does
// not compare the format's literal characters with the text.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/time_internal.h"
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

constexpr size_t kMaxTmInput = 255;

struct Scanner {
    const char *p;
    bool usedUp = false;

    // Skips to the next digit and reads at most maxDigits of them.
    int ReadNumber(int maxDigits, int *digits) noexcept {
        while (*p != '\0' && !(*p >= '0' && *p <= '9')) ++p;
        int value = 0;
        int n = 0;
        while (n < maxDigits && *p >= '0' && *p <= '9') {
            value = value * 10 + (*p++ - '0');
            ++n;
        }
        if (*p == '\0') usedUp = true;
        *digits = n;
        return value;
    }

    // Skips to the next letter and matches a month name there; 0 for none.
    int ReadMonthName() noexcept {
        while (*p != '\0' && !UTLisalpha(static_cast<unsigned char>(*p))) ++p;
        size_t length = 0;
        const int month = MonthNumberFromName(p, std::strlen(p), &length);
        p += length;
        if (*p == '\0') usedUp = true;
        return month;
    }
};

// Skips the flags FMTGetStrTime understands, so that a format written for
// it reads back: "#", "<", ">" and "@" with a three-character locale name.
const char *SkipFlags(const char *f) noexcept {
    while (*f == '#' || *f == '<' || *f == '>') ++f;
    if (*f == '@' && UTLisalpha(static_cast<unsigned char>(f[1]))) {
        for (int i = 0; i < 4 && *f != '\0'; ++i) ++f;
    }
    return f;
}

// Reads one conversion into t. False when its value fails its check.
bool ReadConversion(char letter, Scanner &scan, std::tm &t, bool &hasDayOfYear) noexcept {
    int digits = 0;
    switch (letter) {
        case 'B':
        case 'b': {
            const int month = scan.ReadMonthName();
            if (month == 0) return false;
            t.tm_mon = month - 1;
            return true;
        }
        case 'H':
            t.tm_hour = scan.ReadNumber(2, &digits);
            if (t.tm_mday == 0) t.tm_mday = 1;
            return t.tm_hour <= 24;
        case 'M':
            t.tm_min = scan.ReadNumber(2, &digits);
            return t.tm_min <= 59;
        case 'S':
            t.tm_sec = scan.ReadNumber(2, &digits);
            return t.tm_sec <= 59;
        case 'Y': {
            const int year = scan.ReadNumber(4, &digits);
            t.tm_year = year - 1900;
            return year != 0;
        }
        case 'y': {
            const int year = scan.ReadNumber(2, &digits);
            t.tm_year = WidenYear(year) - 1900;
            return digits > 0;
        }
        case 'd':
            t.tm_mday = scan.ReadNumber(2, &digits);
            return t.tm_mday >= 1 && t.tm_mday <= 31;
        case 'j': {
            const int day = scan.ReadNumber(3, &digits);
            t.tm_yday = day - 1;
            hasDayOfYear = true;
            return day >= 1 && day <= 366;
        }
        case 'm': {
            const int month = scan.ReadNumber(2, &digits);
            t.tm_mon = month - 1;
            return month >= 1 && month <= 12;
        }
        default:
            return true;
    }
}

// Fills the day of year (or, with a day of year read, month and day) and the
// day of week from the date read, resolved as the date parser resolves
// month/day/year texts.
void ResolveDate(std::tm &t, bool hasDayOfYear) noexcept {
    const long long fullYear = static_cast<long long>(t.tm_year) + 1900;
    char text[64];
    if (hasDayOfYear) {
        std::snprintf(text, sizeof text, "%03d/%lld", t.tm_yday + 1, fullYear);
        int month = 0, day = 0, year = 0;
        if (ParseDate(text, 17, 4, &month, &day, &year) == 0) {
            t.tm_mon = month - 1;
            t.tm_mday = day;
        }
    }
    std::snprintf(text, sizeof text, "%d/%d/%lld", t.tm_mon + 1, t.tm_mday, fullYear);
    if (!hasDayOfYear) {
        const int dayOfYear = FMTDayOfYear(text, "1/4") - 1;
        t.tm_yday = dayOfYear < 0 ? 0 : dayOfYear;
    }
    const int dayOfWeek = FMTDayOfWeek(text, "1/4");
    t.tm_wday = dayOfWeek > 0 ? dayOfWeek - 1 : 0;
}

}  // namespace
}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTGetTMTime(const char *text, const char *format, struct tm *time) noexcept {
    if (text == nullptr || format == nullptr || time == nullptr) return 1;
    std::memset(time, 0, sizeof *time);
    const cmnw::locale::CallLocale call;  // every name read in one locale
    char buffer[kMaxTmInput + 1];
    cmnw::CopyBoundedN(buffer, sizeof buffer, text, kMaxTmInput);
    Scanner scan{buffer};
    bool hasDayOfYear = false;
    const char *f = format;
    while (*f != '\0' && !scan.usedUp) {
        if (*f++ != '%') continue;
        f = SkipFlags(f);
        if (*f == '\0') break;
        if (!ReadConversion(*f++, scan, *time, hasDayOfYear)) return 1;
    }
    ResolveDate(*time, hasDayOfYear);
    time->tm_isdst = 0;
    return 0;
}
