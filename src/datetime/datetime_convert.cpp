// Combined date-time conversion: one point in time between the hextime, the
// C broken-down time, the date-time record, the DB2 timestamp text and date
// and time texts joined under a combined descriptor. Everything but the
// direct DB2/record pair goes through the hextime.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/date_validate.h"
#include "datetime/datetime_state.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

// Source texts and forms must be shorter than these.
constexpr size_t kMaxSourceText = 80;
constexpr size_t kMaxForm = 67;
// Room of a text target.
constexpr size_t kTextTarget = 80;
// The time part of a combined text is read up to this many characters.
constexpr size_t kMaxTimePart = 15;

enum class Form { Hextime, Tm, Record, Db2, Combined };

Form FormOf(const char *form) noexcept {
    if (form[0] == 'X' || form[0] == 'x') return Form::Hextime;
    if (UTLstrnicmp(form, "S1", 2) == 0) return Form::Tm;
    if (UTLstrnicmp(form, "S2", 2) == 0) return Form::Record;
    if (UTLstrnicmp(form, "DB2", 3) == 0) return Form::Db2;
    return Form::Combined;
}

bool IsTextForm(Form form) noexcept { return form != Form::Tm && form != Form::Record; }

// The "S1" form is the nine int fields that open struct tm.
constexpr size_t kTmFieldBytes = 9 * sizeof(int);
static_assert(offsetof(std::tm, tm_isdst) == 8 * sizeof(int), "struct tm opens with nine ints");

void ReadTmFields(const void *source, std::tm &t) noexcept {
    t = std::tm{};
    std::memcpy(&t, source, kTmFieldBytes);
}

void WriteTmFields(void *target, const std::tm &t) noexcept {
    std::memcpy(target, &t, kTmFieldBytes);
}

static_assert(sizeof(FMTDateTimeRec) == 16, "the date-time record is 16 bytes");

FMTDateTimeRec RecordFromDb2(const char *source) noexcept {
    char text[kMaxSourceText];
    CopyBoundedN(text, sizeof text, source, kMaxSourceText - 1);
    FMTDateTimeRec rec{};
    unsigned long fraction = 0;
    std::sscanf(text, "%hd-%hu-%hu-%hu.%hu.%hu.%lu", &rec.year, &rec.month, &rec.day, &rec.hour,
                &rec.minute, &rec.second, &fraction);
    rec.fraction = static_cast<uint32_t>(fraction);
    return rec;
}

// A combined descriptor taken apart; "N" parts replaced by the stored
// defaults.
struct CombinedForm {
    char date[kDescriptorBuffer] = "";
    char separator = '\0';
    char time[kDescriptorBuffer] = "";
};

bool SplitCombinedForm(const char *form, CombinedForm &c) noexcept {
    const char *percent = std::strchr(form, '%');
    if (percent == nullptr || percent[1] == '\0') return false;
    const size_t dateLength = static_cast<size_t>(percent - form);
    CopyBoundedN(c.date, sizeof c.date, form, dateLength < kMaxDescriptor ? dateLength : kMaxDescriptor);
    c.separator = percent[1];
    CopyBoundedN(c.time, sizeof c.time, percent + 2, kMaxDescriptor);
    if (c.date[0] == 'N' || c.date[0] == 'n')
        KeepDefaultDescriptor(DescriptorKind::Date, c.date, 'G');
    if (c.time[0] == 'N' || c.time[0] == 'n') StoredTimeDescriptor(c.time);
    return true;
}

int HextimeOfLocal(std::tm &local, char *hextime) noexcept {
    WriteHextime(hextime, TimeOfLocal(local));
    return 0;
}

// The time that a hextime of t reads back as: t modulo 2^32, and 0 for the
// zero stamp.
int64_t ThroughHextime(int64_t t) noexcept {
    const uint32_t value = static_cast<uint32_t>(static_cast<uint64_t>(t) - kHextimeOffset);
    return value == 0 ? 0 : static_cast<uint32_t>(value + kHextimeOffset);
}

// The standard-time offset of the local zone per year, worked out once per
// thread and year under the TZ in force then; a change of TZ empties it.
// mktime of a midnight without daylight saving is the UTC midnight less the
// zone's standard offset, so a year whose offset is the same on the first of
// January of it and its neighbours and on the first of July needs no mktime.
constexpr size_t kYearSlots = 64;
constexpr size_t kZoneNameSize = 64;

struct ZoneMemo {
    char zone[kZoneNameSize];     // TZ when the entries were made; "" when unset
    bool zoneUsable;              // false until first used, and for a name too long
    int32_t year[kYearSlots];     // 0 for an empty slot
    bool steady[kYearSlots];      // one standard offset all year
    int32_t offset[kYearSlots];   // seconds east of UTC
};

thread_local constinit ZoneMemo t_zone{};

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int year, int month, int day) noexcept {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Local midnight of a date without daylight saving, as the hextime of a
// local time has it (a midnight the clock jumped over gives the first
// instant of the day).
int64_t MktimeMidnight(int year, int month, int day) noexcept {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    return TimeOfLocal(local);
}

// The memo, emptied when TZ has changed since it was filled; null when TZ is
// too long to remember.
ZoneMemo *CurrentZone() noexcept {
    ZoneMemo &memo = t_zone;
    const char *zone = secure_getenv("TZ");
    if (zone == nullptr) zone = "";
    if (memo.zoneUsable && std::strcmp(memo.zone, zone) == 0) return &memo;
    const size_t length = std::strlen(zone);
    std::memset(memo.year, 0, sizeof memo.year);
    memo.zoneUsable = length < sizeof memo.zone;
    if (!memo.zoneUsable) return nullptr;
    std::memcpy(memo.zone, zone, length + 1);
    return &memo;
}

// Local midnight of a date without daylight saving, as MktimeMidnight gives
// it.
int64_t LocalMidnight(int year, int month, int day) noexcept {
    ZoneMemo *memo = CurrentZone();
    if (memo == nullptr) return MktimeMidnight(year, month, day);
    const size_t slot = static_cast<size_t>(year) % kYearSlots;
    if (memo->year[slot] != year) {
        auto offsetOn = [](int y, int m) {
            return DaysFromCivil(y, m, 1) * 86400 - MktimeMidnight(y, m, 1);
        };
        const int64_t offset = offsetOn(year, 1);
        memo->year[slot] = year;
        memo->offset[slot] = static_cast<int32_t>(offset);
        memo->steady[slot] = offset == offsetOn(year, 7) && offset == offsetOn(year - 1, 1) &&
                             offset == offsetOn(year + 1, 1) && offset > -86400 && offset < 86400;
    }
    if (!memo->steady[slot]) return MktimeMidnight(year, month, day);
    return DaysFromCivil(year, month, day) * 86400 - memo->offset[slot];
}

// Local midnight of a validated date, as its hextime text would give it: a
// year of two digits through the century window, as its text reads back.
int64_t MidnightOf(const char *date, const char *descriptor, const DateFields &f) noexcept {
    const bool shortYear = f.year >= 0 && f.year < 100;
    const bool fullYear = f.year >= 1000 && f.year <= 9999 && WidenYear(f.year % 100) == f.year;
    if (f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 31 && (shortYear || fullYear)) {
        return ThroughHextime(LocalMidnight(WidenYear(f.year), f.month, f.day));
    }
    // Dates outside the calendar go the long way, as their text reads back.
    char midnight[kTextTarget];
    FMTDate2Date(date, descriptor, midnight, "X");
    return ReadHextime(midnight);
}

// Combined text to hextime: the date part is the text before the first
// separator whose left part is a valid date; the time part follows it.
int HextimeOfCombinedText(const char *source, const char *fromForm, char *hextime) noexcept {
    CombinedForm form;
    if (!SplitCombinedForm(fromForm, form)) return 1;
    char text[kMaxSourceText];
    CopyBoundedN(text, sizeof text, source, kMaxSourceText - 1);
    char date[kMaxDateText];
    DateFields fields;
    const char *timePart = nullptr;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p != form.separator) continue;
        const size_t length = static_cast<size_t>(p - text);
        CopyBoundedN(date, sizeof date, text, length);
        if (ValidateDateEntry(date, static_cast<unsigned>(length), form.date, &fields) ==
            DateEntry::Date) {
            timePart = p + 1;
            break;
        }
    }
    if (timePart == nullptr) return 1;
    const int64_t midnight = MidnightOf(date, form.date, fields);
    TimeValues v;
    if (ParseTime(timePart, kMaxTimePart, FMTGetTimeFmtNum(form.time), v) != 0) return 1;
    WriteHextime(hextime, midnight + int64_t{v.hour} * 3600 + v.minute * 60 + v.second);
    return 0;
}

// Any form but a hextime into a hextime (kHextimeSize bytes).
int ToHextime(const void *source, Form from, const char *fromForm, char *hextime) noexcept {
    std::tm local{};
    switch (from) {
        case Form::Tm:
            ReadTmFields(source, local);
            return HextimeOfLocal(local, hextime);
        case Form::Record:
        case Form::Db2: {
            FMTDateTimeRec rec;
            if (from == Form::Db2) rec = RecordFromDb2(static_cast<const char *>(source));
            else std::memcpy(&rec, source, sizeof rec);
            local.tm_year = rec.year - 1900;
            local.tm_mon = rec.month - 1;
            local.tm_mday = rec.day;
            local.tm_hour = rec.hour;
            local.tm_min = rec.minute;
            local.tm_sec = rec.second;
            return HextimeOfLocal(local, hextime);
        }
        case Form::Combined:
            return HextimeOfCombinedText(static_cast<const char *>(source), fromForm, hextime);
        case Form::Hextime:
            break;
    }
    CopyBoundedN(hextime, kHextimeSize, static_cast<const char *>(source), kHextimeSize - 1);
    return 0;
}

// A hextime into any form but a hextime.
int FromHextime(const char *hextime, Form to, const char *toForm, void *target) noexcept {
    std::tm local{};
    const bool hasLocal = HextimeToLocal(hextime, &local);
    if (!hasLocal) local = std::tm{};
    switch (to) {
        case Form::Tm:
            WriteTmFields(target, local);
            return 0;
        case Form::Record: {
            const FMTDateTimeRec rec = RecordOfLocal(local);
            std::memcpy(target, &rec, sizeof rec);
            return 0;
        }
        case Form::Db2:
            FormatBounded(static_cast<char *>(target), kTextTarget, "%d-%d-%d-%d.%d.%d.0",
                          local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec);
            return 0;
        case Form::Combined: {
            CombinedForm form;
            if (!SplitCombinedForm(toForm, form) || !hasLocal) return 1;
            if (local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 59) return 1;
            char *out = static_cast<char *>(target);
            size_t length = MakeDateOfLocal(local, form.date, out, kTextTarget - 1);
            out[length++] = form.separator;
            MakeTime(out + length, kTextTarget - length, DecodeTimeDescriptor(form.time),
                     local.tm_hour, local.tm_min, local.tm_sec);
            return 0;
        }
        case Form::Hextime:
            break;
    }
    CopyBoundedN(static_cast<char *>(target), kHextimeSize, hextime, kHextimeSize - 1);
    return 0;
}

}  // namespace
}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTDateTime2DateTime(const void *source, const char *fromForm, void *target,
                                    const char *toForm) noexcept {
    if (source == nullptr || fromForm == nullptr || target == nullptr || toForm == nullptr)
        return 1;
    if (cmnw::LengthBounded(fromForm, kMaxForm) >= kMaxForm ||
        cmnw::LengthBounded(toForm, kMaxForm) >= kMaxForm)
        return 1;
    const Form from = FormOf(fromForm);
    const Form to = FormOf(toForm);
    if (IsTextForm(from) &&
        cmnw::LengthBounded(static_cast<const char *>(source), kMaxSourceText) >= kMaxSourceText)
        return 1;

    if (std::strcmp(fromForm, toForm) == 0) {
        if (from == Form::Tm) std::memcpy(target, source, kTmFieldBytes);
        else if (from == Form::Record) std::memcpy(target, source, sizeof(FMTDateTimeRec));
        else if (from == Form::Hextime)
            cmnw::CopyBoundedN(static_cast<char *>(target), kHextimeSize, static_cast<const char *>(source),
                         kHextimeSize - 1);
        else cmnw::CopyBounded(static_cast<char *>(target), kTextTarget, static_cast<const char *>(source));
        return 0;
    }
    if (from == Form::Db2 && to == Form::Record) {
        const FMTDateTimeRec rec = RecordFromDb2(static_cast<const char *>(source));
        std::memcpy(target, &rec, sizeof rec);
        return 0;
    }
    if (from == Form::Record && to == Form::Db2) {
        FMTDateTimeRec rec;
        std::memcpy(&rec, source, sizeof rec);
        cmnw::FormatBounded(static_cast<char *>(target), kTextTarget, "%hd-%hu-%hu-%hu.%hu.%hu.%lu",
                            rec.year, rec.month, rec.day, rec.hour, rec.minute, rec.second,
                            static_cast<unsigned long>(rec.fraction));
        return 0;
    }
    if (from == Form::Hextime) return FromHextime(static_cast<const char *>(source), to, toForm, target);
    if (to == Form::Hextime) return ToHextime(source, from, fromForm, static_cast<char *>(target));
    char hextime[kTextTarget];
    if (ToHextime(source, from, fromForm, hextime) != 0) return 1;
    return FromHextime(hextime, to, toForm, target);
}
