// Arithmetic on time texts: the parts of a time, differences, adding to a
// time, the current time and conversion between time layouts.
#include <climits>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <utility>

#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

constexpr size_t kMaxTimeInput = 255;

TimeValues ParseUnder(const char *text, const char *descriptor, int *result = nullptr) noexcept {
    TimeValues v;
    const int r = text == nullptr ? 1 : ParseTime(text, kMaxTimeInput, FMTGetTimeFmtNum(descriptor), v);
    if (result != nullptr) *result = r;
    return v;
}

// Seconds between two times of day, or -1 when either does not parse.
int DiffSeconds(const char *text1, const char *descriptor1, const char *text2,
                const char *descriptor2) noexcept {
    int r1 = 1, r2 = 1;
    const TimeValues a = ParseUnder(text1, descriptor1, &r1);
    const TimeValues b = ParseUnder(text2, descriptor2, &r2);
    if (r1 != 0 || r2 != 0) return -1;
    const int sa = a.hour * 3600 + a.minute * 60 + a.second;
    const int sb = b.hour * 3600 + b.minute * 60 + b.second;
    return sa > sb ? sa - sb : sb - sa;
}

int ClampToInt(int64_t v) noexcept {
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

}  // namespace
}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTHourOfTime(const char *text, const char *descriptor) noexcept {
    return ParseUnder(text, descriptor).hour;
}

extern "C" int FMTMinuteOfTime(const char *text, const char *descriptor) noexcept {
    return ParseUnder(text, descriptor).minute;
}

extern "C" int FMTSecondOfTime(const char *text, const char *descriptor) noexcept {
    return ParseUnder(text, descriptor).second;
}

extern "C" int FMTDiffSeconds(const char *text1, const char *descriptor1, const char *text2,
                              const char *descriptor2) noexcept {
    return DiffSeconds(text1, descriptor1, text2, descriptor2);
}

extern "C" int FMTDiffMinutes(const char *text1, const char *descriptor1, const char *text2,
                              const char *descriptor2) noexcept {
    const int seconds = DiffSeconds(text1, descriptor1, text2, descriptor2);
    return seconds < 0 ? -1 : seconds / 60;
}

extern "C" int FMTDiffHours(const char *text1, const char *descriptor1, const char *text2,
                            const char *descriptor2) noexcept {
    const int seconds = DiffSeconds(text1, descriptor1, text2, descriptor2);
    return seconds < 0 ? -1 : seconds / 3600;
}

extern "C" int FMTTimeAdd(char *text, const char *descriptor, int seconds, int minutes,
                          int hours) noexcept {
    int result = 1;
    const TimeValues v = ParseUnder(text, descriptor, &result);
    if (result != 0) return 65535;
    int64_t second = int64_t{v.second} + seconds;
    int64_t minute = v.minute;
    int64_t hour = v.hour;
    if (second > 59) {
        second -= 60;
        ++minute;
    }
    minute += minutes;
    if (minute > 59) {
        minute -= 60;
        ++hour;
    }
    hour += hours;
    if (hour > 23) hour -= 24;
    char sum[kAnyTimeTextSize];
    MakeTime(sum, sizeof sum, DecodeTimeDescriptor(descriptor), ClampToInt(hour),
             ClampToInt(minute), ClampToInt(second));
    cmnw::ReplaceIfChanged(text, sum);
    return 0;
}

extern "C" int FMTTime(char *out, const char *descriptor) noexcept {
    if (out == nullptr) return 1;
    std::tm local{};
    LocalTimeOf(std::time(nullptr), &local);
    MakeTime(out, kTimeTextSize, DecodeTimeDescriptor(descriptor), local.tm_hour, local.tm_min,
             local.tm_sec);
    return 0;
}

extern "C" int FMTTime2Time(const char *text, const char *fromDescriptor, char *out,
                            const char *toDescriptor) noexcept {
    if (text == nullptr || out == nullptr) return 1;
    char fromStored[kDescriptorBuffer];
    char toStored[kDescriptorBuffer];
    if (fromDescriptor == nullptr) {
        StoredTimeDescriptor(fromStored);
        fromDescriptor = fromStored;
    }
    if (toDescriptor == nullptr) {
        StoredTimeDescriptor(toStored);
        toDescriptor = toStored;
    }
    TimeValues v;
    if (fromDescriptor[0] == 'X' || fromDescriptor[0] == 'x') {
        // The local time of day of the stamp, checked as its "%H:%M:%S" text
        // would be (a leap second does not read).
        std::tm local{};
        if (!HextimeToLocal(text, &local)) return 1;
        if (local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 59) return 1;
        v.hour = local.tm_hour;
        v.minute = local.tm_min;
        v.second = local.tm_sec;
    } else if (ParseTime(text, kMaxTimeInput, FMTGetTimeFmtNum(fromDescriptor), v) != 0) {
        return 1;
    }
    MakeTime(out, kTimeTextSize, DecodeTimeDescriptor(toDescriptor), v.hour, v.minute, v.second);
    return 0;
}
