// Calendar rules: the century window, leap years, month lengths, day-of-year
// conversions and the local clock.
#include <climits>
#include <cstdint>
#include <ctime>

#include "cmnw32/date.h"
#include "datetime/date_internal.h"
#include "datetime/datetime_state.h"

namespace cmnw::datetime {
namespace {

// The current local year, valid for clock readings in [validFrom, validUntil).
struct LocalYearCache {
    int64_t validFrom = 0;
    int64_t validUntil = 0;
    int year = 0;
};
constinit thread_local LocalYearCache t_localYear;

constexpr bool IsGregorianLeap(int64_t y) noexcept {
    return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

}  // namespace

bool LocalTimeOf(std::time_t t, std::tm *out) noexcept {
    TakeTimeZoneOnce();
    return localtime_r(&t, out) != nullptr;
}

int CurrentLocalYear() noexcept {
    LocalYearCache &cache = t_localYear;
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    if (now >= cache.validFrom && now < cache.validUntil) return cache.year;
    std::tm tm{};
    if (!LocalTimeOf(static_cast<std::time_t>(now), &tm)) return 1900;
    const int year = tm.tm_year + 1900;
    // Seconds until the local new year, less a margin for daylight-saving
    // shifts, during which the year cannot change.
    const int64_t daysInYear = IsGregorianLeap(year) ? 366 : 365;
    const int64_t secondsIntoDay = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    const int64_t remaining = (daysInYear - tm.tm_yday) * 86400 - secondsIntoDay - 4 * 3600;
    cache.year = year;
    cache.validFrom = now;
    cache.validUntil = remaining > 0 ? now + remaining : now + 1;
    return year;
}

int WidenShortYear(int year) noexcept {
    const int pivot = CenturyPivot();
    if (year >= 100) return year;
    if (pivot == 0) return FMTBaseYear() + year;
    return year < pivot ? 2000 + year : 1900 + year;
}

bool IsLeapYear(int year) noexcept {
    const int full = WidenYear(year);
    if (full < 1800 || full > 3000) return false;
    return IsGregorianLeap(full);
}

int DayOfYearFromDate(int month, int day, int year) noexcept {
    if (day == 0) return 0;
    int64_t total = day;
    const int lastMonth = month > 13 ? 13 : month;
    for (int m = 1; m < lastMonth; ++m) total += DaysInMonth(m, year);
    if (total > INT32_MAX) return INT32_MAX;
    if (total < INT32_MIN) return INT32_MIN;
    return static_cast<int>(total);
}

bool DateFromDayOfYear(int dayOfYear, int year, int *month, int *day) noexcept {
    if (dayOfYear < 1) return false;
    int m = 1;
    int rest = dayOfYear;
    while (rest > DaysInMonth(m, year)) {
        rest -= DaysInMonth(m, year);
        if (++m == 13) {
            if (month != nullptr) *month = 0;
            return false;
        }
    }
    if (month != nullptr) *month = m;
    if (day != nullptr) *day = rest;
    return true;
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTCentury(int year) noexcept { return WidenYear(year); }

extern "C" int FMTBaseYear(void) noexcept {
    int year = CurrentLocalYear();
    if (year < 1000) year += 1900;
    return year - year % 100;
}

extern "C" int FMTIsLeapYear(int year) noexcept { return IsLeapYear(year) ? 1 : 0; }

extern "C" int FMTDaysInYear(int year) noexcept { return DaysInYear(year); }

extern "C" int FMTDaysInMonth(int month, int year) noexcept { return DaysInMonth(month, year); }

extern "C" struct tm *UTLLocalTime(const time_t *t) noexcept {
    if (t == nullptr) return nullptr;
    TakeTimeZoneOnce();
    // Each thread has its own result, so threads never overwrite each
    // other's; the caller's thread overwrites it on its next call.
    static constinit thread_local std::tm result{};
    return localtime_r(t, &result);
}
