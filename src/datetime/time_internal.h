// Internal time services shared by the time, date validation and date-time
// families: time descriptors, the time parser and formatter, hextime reading
// and writing, and small digit writers. Everything here is allocation-free
// and bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

#include "cmnw32/time.h"

namespace cmnw::datetime {

// ---- descriptors -----------------------------------------------------------

// Size of a descriptor buffer (31 characters and the NUL).
inline constexpr size_t kDescriptorBuffer = 32;
// Size of a time output template buffer.
inline constexpr size_t kTimeTemplateSize = 40;
// Size that holds any valid time text ("12:00:00 PM" and the NUL).
inline constexpr size_t kTimeTextSize = 12;
// Size that holds a time printed from any int values.
inline constexpr size_t kAnyTimeTextSize = 40;

// A decoded time descriptor.
struct TimeLayout {
    int fmtNum = 1;
    char sep = ':';
};

// Decodes a time descriptor (null reads as ""); never fails.
TimeLayout DecodeTimeDescriptor(const char *descriptor) noexcept;

inline bool IsTwelveHourFormat(int fmtNum) noexcept { return fmtNum == 2 || fmtNum == 4; }
inline bool HasSecondsField(int fmtNum) noexcept { return fmtNum != 3 && fmtNum != 4; }

// True for the five time separators ":-., ".
inline bool IsTimeSeparator(int ch) noexcept {
    return ch == ':' || ch == '-' || ch == '.' || ch == ',' || ch == ' ';
}

// Copies the stored default time descriptor into out (kDescriptorBuffer).
void StoredTimeDescriptor(char *out) noexcept;

// ---- parsing and making ----------------------------------------------------

// What the time parser read. marker is "AM", "PM" or "".
struct TimeValues {
    int hour = 0;
    int minute = 0;
    int second = 0;
    char marker[3] = "";
};

// The time parser behind FMTGetTimeFmtValues: reads at most textMax bytes of
// text (never more than 255) laid out as format fmtNum. Returns 0 for a
// valid time, 1 otherwise; v holds what was read up to the failing check.
int ParseTime(const char *text, size_t textMax, int fmtNum, TimeValues &v) noexcept;

// Prints a time under layout into out (outSize bytes, cut and terminated),
// exactly as snprintf with the layout's template would. Returns the length
// stored.
size_t MakeTime(char *out, size_t outSize, const TimeLayout &layout, int hour, int minute,
                int second) noexcept;

// The blank entry of a date or time field: the separator alone, or two
// separators with only blanks between them and nothing after. text is
// trimmed; isSep tells the field's separators.
bool IsBlankEntry(const char *text, bool (*isSep)(int)) noexcept;

// ---- hextime ---------------------------------------------------------------

inline constexpr uint32_t kHextimeOffset = 2085863296u;  // 0x7C53BF80
// A hextime text and its NUL.
inline constexpr size_t kHextimeSize = 9;

// Writes the hextime of t into out (kHextimeSize bytes).
void WriteHextime(char *out, int64_t t) noexcept;
// The time of a hextime text (up to 8 hexadecimal digits after white space):
// the value plus the offset modulo 2^32, 0 staying 0. Null reads as 0.
int64_t ReadHextime(const char *hextime) noexcept;
// The local broken-down time of a hextime. False when it has none.
bool HextimeToLocal(const char *hextime, std::tm *out) noexcept;
// The time of a local broken-down time, as mktime gives it (local is
// normalised in place). A local time that mktime cannot place, because the
// clock jumped over it, gives the first instant of its day, where the clock
// landed, and local becomes the local time of that instant. Only a date
// without any time gives mktime's -1.
int64_t TimeOfLocal(std::tm &local) noexcept;

// The date-time record of a local broken-down time (no fraction).
FMTDateTimeRec RecordOfLocal(const std::tm &local) noexcept;

// ---- digits ----------------------------------------------------------------

// Appends value as printf's "%0<width>d" (width 0 for "%d") at out, which
// has room for 12 characters; returns the count written (no NUL).
size_t WriteDecimal(char *out, int64_t value, int width) noexcept;

// Leading integer of text as atoi reads it (white space, sign, digits),
// saturated to the int range; reads no byte past the first non-digit.
int LeadingInt(const char *text) noexcept;

}  // namespace cmnw::datetime
