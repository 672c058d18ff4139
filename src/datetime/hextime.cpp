// The hextime stamp: writing and reading it, and its local date, time of day
// and broken-down time; the date-time record of the current time.
#include <cstring>
#include <ctime>

#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr int64_t kSecondsPerDay = 86400;
// No local time is this far from UTC.
constexpr int64_t kOffsetBound = 27 * 3600;

int64_t FloorDiv(int64_t a, int64_t b) noexcept {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// The day (counted from 1970-01-01) of the local date of t.
bool LocalDayOf(int64_t t, int64_t &day) noexcept {
    std::tm local{};
    if (!LocalTimeOf(static_cast<std::time_t>(t), &local)) return false;
    day = FloorDiv(t + local.tm_gmtoff, kSecondsPerDay);
    return true;
}

// The first instant whose local date is the date of local or later: local
// midnight, or where the clock landed when it jumped over it. -1 when the
// date has no time.
int64_t FirstInstantOfDay(const std::tm &local) noexcept {
    std::tm date{};
    date.tm_year = local.tm_year;
    date.tm_mon = local.tm_mon;
    date.tm_mday = local.tm_mday;
    const std::time_t midnightUtc = timegm(&date);  // never -1 for a valid midnight
    if (midnightUtc == -1) return -1;
    const int64_t day = FloorDiv(midnightUtc, kSecondsPerDay);
    // Local day of before < day <= local day of atOrAfter.
    int64_t before = midnightUtc - kOffsetBound;
    int64_t atOrAfter = midnightUtc + kOffsetBound;
    while (atOrAfter - before > 1) {
        const int64_t middle = before + (atOrAfter - before) / 2;
        int64_t middleDay = 0;
        if (!LocalDayOf(middle, middleDay)) return -1;
        (middleDay < day ? before : atOrAfter) = middle;
    }
    return atOrAfter;
}

}  // namespace

int64_t TimeOfLocal(std::tm &local) noexcept {
    // mktime sets the day of week only when it succeeds; its result -1 is
    // also a time (1969-12-31 23:59:59 UTC), so it cannot tell.
    const int weekday = local.tm_wday;
    local.tm_wday = -1;
    const std::time_t t = std::mktime(&local);
    if (local.tm_wday != -1) return static_cast<int64_t>(t);
    local.tm_wday = weekday;
    const int64_t first = FirstInstantOfDay(local);
    std::tm landed{};
    if (first == -1 || !LocalTimeOf(static_cast<std::time_t>(first), &landed))
        return static_cast<int64_t>(t);
    local = landed;
    return first;
}

void WriteHextime(char *out, int64_t t) noexcept {
    // The stamp is a 32-bit quantity whatever the width of the time.
    uint32_t value = static_cast<uint32_t>(static_cast<uint64_t>(t) - kHextimeOffset);
    for (int i = 7; i >= 0; --i) {
        out[i] = kHexDigits[value & 0xF];
        value >>= 4;
    }
    out[8] = '\0';
}

int64_t ReadHextime(const char *hextime) noexcept {
    if (hextime == nullptr) return 0;
    const char *p = hextime;
    while (IsBlankChar(static_cast<unsigned char>(*p))) ++p;
    uint32_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const int digit = HexValue(p[i]);
        if (digit < 0) break;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    if (value == 0) return 0;
    return static_cast<uint32_t>(value + kHextimeOffset);
}

FMTDateTimeRec RecordOfLocal(const std::tm &local) noexcept {
    FMTDateTimeRec rec{};
    rec.year = static_cast<int16_t>(local.tm_year + 1900);
    rec.month = static_cast<uint16_t>(local.tm_mon + 1);
    rec.day = static_cast<uint16_t>(local.tm_mday);
    rec.hour = static_cast<uint16_t>(local.tm_hour);
    rec.minute = static_cast<uint16_t>(local.tm_min);
    rec.second = static_cast<uint16_t>(local.tm_sec);
    return rec;
}

bool HextimeToLocal(const char *hextime, std::tm *out) noexcept {
    return LocalTimeOf(static_cast<std::time_t>(ReadHextime(hextime)), out);
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTGetXATime(char *out) noexcept {
    if (out == nullptr) return 1;
    WriteHextime(out, static_cast<int64_t>(std::time(nullptr)));
    return 0;
}

extern "C" long FMTGetLTime(const char *hextime) noexcept {
    return static_cast<long>(ReadHextime(hextime));
}

extern "C" int FMTFillHEXTime(char *out, long t) noexcept {
    if (out == nullptr) return 1;
    WriteHextime(out, t);
    return 0;
}

extern "C" int FMTMakeXATime(char *out, struct tm *local) noexcept {
    if (out == nullptr || local == nullptr) return 1;
    WriteHextime(out, TimeOfLocal(*local));
    return 0;
}

extern "C" int FMTHextime2Date(const char *hextime, char *out, unsigned outSize) noexcept {
    if (out == nullptr) return 65535;
    std::memset(out, 0, outSize);
    std::tm local{};
    if (!HextimeToLocal(hextime, &local)) return 65535;
    FMTGetStrTime(out, static_cast<int>(outSize > 0x7FFFFFFF ? 0x7FFFFFFF : outSize), "%m/%d/%Y",
                  &local);
    return 0;
}

extern "C" int FMTDate2Hextime(const char *date, char *out, unsigned outSize) noexcept {
    if (date == nullptr || out == nullptr) return 1;
    std::tm local{};
    FMTGetTMTime(date, "%m/%d/%Y", &local);
    std::memset(out, 0, outSize);
    char stamp[kHextimeSize];
    WriteHextime(stamp, TimeOfLocal(local));
    if (outSize > 0) cmnw::CopyBounded(out, outSize, stamp);
    return 0;
}

extern "C" int FMTHextime2Time(const char *hextime, char *out, unsigned outSize) noexcept {
    if (out == nullptr) return 1;
    std::memset(out, 0, outSize);
    std::tm local{};
    if (HextimeToLocal(hextime, &local))
        FMTGetStrTime(out, static_cast<int>(outSize > 0x7FFFFFFF ? 0x7FFFFFFF : outSize),
                      "%H:%M:%S", &local);
    return 0;
}

extern "C" int FMTHextime2TMTime(const char *hextime, struct tm *out) noexcept {
    if (out == nullptr) return 65535;
    std::memset(out, 0, sizeof *out);
    std::tm local{};
    if (!HextimeToLocal(hextime, &local)) return 65535;
    *out = local;
    return 0;
}

extern "C" int FMTGetDatetime(void *record) noexcept {
    if (record == nullptr) return 1;
    std::tm local{};
    if (!LocalTimeOf(std::time(nullptr), &local)) return 1;
    const FMTDateTimeRec rec = RecordOfLocal(local);
    std::memcpy(record, &rec, sizeof rec);
    return 0;
}
