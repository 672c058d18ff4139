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

}  // namespace

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
    WriteHextime(out, static_cast<int64_t>(std::mktime(local)));
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
    WriteHextime(stamp, static_cast<int64_t>(std::mktime(&local)));
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
    FMTDateTimeRec rec{};
    rec.year = static_cast<int16_t>(local.tm_year + 1900);
    rec.month = static_cast<uint16_t>(local.tm_mon + 1);
    rec.day = static_cast<uint16_t>(local.tm_mday);
    rec.hour = static_cast<uint16_t>(local.tm_hour);
    rec.minute = static_cast<uint16_t>(local.tm_min);
    rec.second = static_cast<uint16_t>(local.tm_sec);
    rec.fraction = 0;
    std::memcpy(record, &rec, sizeof rec);
    return 0;
}
