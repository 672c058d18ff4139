// Internal date services shared by the date, time and date-time families:
// calendar rules, descriptor decoding, the date parser and formatter, and the
// month-name matcher. Everything here is allocation-free and bounded: no
// function reads past a terminator or writes past the size it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>

namespace cmnw::datetime {

// ---- calendar --------------------------------------------------------------

// WidenYear of a year below 1000: reads the century window.
int WidenShortYear(int year) noexcept;
// The full year of a year value, as FMTCentury.
inline int WidenYear(int year) noexcept { return year >= 1000 ? year : WidenShortYear(year); }
// Gregorian leap year of the widened year, limited to 1800..3000.
bool IsLeapYear(int year) noexcept;
// Length of month 1..12 of year (widened); 0 for other months.
inline int DaysInMonth(int month, int year) noexcept {
    if (month == 2) return IsLeapYear(year) ? 29 : 28;
    if (month < 1 || month > 12) return 0;
    // 31 days in January, March, May, July, August, October and December.
    return 30 + ((month + (month >> 3)) & 1);
}
// 366 or 365.
inline int DaysInYear(int year) noexcept { return IsLeapYear(year) ? 366 : 365; }

// Day of year of a date: 0 when day is 0, else day plus the lengths of the
// months before month in the widened year (months past 12 add nothing). The
// sum saturates at INT32_MAX/MIN instead of overflowing.
int DayOfYearFromDate(int month, int day, int year) noexcept;

// Month and day of day of year dayOfYear in the widened year. False for a day
// of year below 1 or beyond the year's length; *month is then 0 when the
// walk ran past December. Outputs may be null.
bool DateFromDayOfYear(int dayOfYear, int year, int *month, int *day) noexcept;

// The current local year (tm_year + 1900) of the clock, computed from the
// local time at most once per local year boundary; cheap enough to call per
// parsed date. Thread-safe.
int CurrentLocalYear() noexcept;

// localtime_r of t, the time zone taken from the environment on the first
// call in the process. False when t cannot be converted.
bool LocalTimeOf(std::time_t t, std::tm *out) noexcept;

// ---- descriptors -----------------------------------------------------------

// Longest descriptor the library reads; characters beyond it are ignored.
inline constexpr size_t kMaxDescriptor = 31;
// Size of a date output template buffer.
inline constexpr size_t kTemplateSize = 40;
// Size the date formatter needs for any output (63 characters and the NUL).
inline constexpr size_t kMaxDateText = 64;

enum class DateOrder : uint8_t { MonthDayYear, DayMonthYear, YearMonthDay };
enum class CaseFlag : uint8_t { None, Lower, Upper };

// A decoded descriptor. sep is the separator character, or '\0' for none.
struct DateLayout {
    int fmtNum = 1;
    char sep = '/';
    int yrLen = 0;
    CaseFlag caseFlag = CaseFlag::None;
};

// Decodes descriptor (null reads as ""); never fails.
DateLayout DecodeDescriptor(const char *descriptor) noexcept;
int DecodeFormatNumber(const char *descriptor) noexcept;
char DecodeSeparator(const char *descriptor) noexcept;  // '\0' for none
int DecodeYearLength(const char *descriptor) noexcept;

// The order of the three date parts of format fmtNum (month-day-year for
// numbers outside 1..27). Formats 17 and 18 report day-month-year and
// year-month-day: their day slot holds the day of year.
DateOrder OrderOfFormat(int fmtNum) noexcept;

// The code character of each format, index = format number ("1".."9",
// "A".."R"; index 0 unused).
extern const char kFormatCodes[28];
// The order of the date parts of each format, index = format number.
extern const DateOrder kFormatOrders[28];

// What the first character of a descriptor selects (any letter case): the
// format number and how the second character gives the separator.
enum class SeparatorRule : uint8_t {
    Given,     // the second character's separator, else fallback
    Name,      // as Given, but "/" reads as ","
    None,      // no separator at all
};
struct DescriptorCode {
    uint8_t fmtNum;
    SeparatorRule rule;
    char fallback;
};
extern const std::array<DescriptorCode, 256> kDescriptorCodes;
// The separator a descriptor character stands for: " " for "b" or "B", the
// character itself for one of "/-., ", '\0' for any other.
extern const std::array<char, 256> kDescriptorSeparators;
// The year length a descriptor character stands for: 2 for "2", -2 for "3",
// 4 for "4", -4 for "5", 0 for any other.
extern const std::array<int8_t, 256> kDescriptorYearLengths;

// Classes of the bytes of a date text (bits of kDateCharClasses).
inline constexpr uint8_t kCharDateSeparator = 0x01;     // one of "/-., "
inline constexpr uint8_t kCharWhite = 0x02;             // blank, tab, CR, LF, VT, FF
inline constexpr uint8_t kCharDigit = 0x04;             // "0".."9"
inline constexpr uint8_t kCharTokenAtCommaBlank = 0x08; // not ",", " " or NUL
extern const std::array<uint8_t, 256> kDateCharClasses;
inline bool HasCharClass(char c, uint8_t bits) noexcept {
    return (kDateCharClasses[static_cast<unsigned char>(c)] & bits) != 0;
}

// True for the five date separators "/-., ".
inline bool IsDateSeparator(int ch) noexcept {
    return ch == '/' || ch == '-' || ch == '.' || ch == ',' || ch == ' ';
}

// ---- formatting and parsing ------------------------------------------------

// Writes the printf template of FMTGetDateFmtSprintf into out (outSize
// bytes, cut and terminated); returns the length stored.
size_t BuildDateTemplate(char *out, size_t outSize, int fmtNum, const char *sep,
                         int yrLen) noexcept;

// Prints the date under layout into out (outSize bytes, cut and terminated),
// exactly as snprintf with the layout's template would, then applies the
// case flag. Returns the length stored.
size_t MakeDate(char *out, size_t outSize, const DateLayout &layout, int month, int day,
                int year) noexcept;

// The date parser behind FMTGetDateFmtValues: reads text (at most 255
// characters) as format fmtNum with year length yrLen. Returns 0 for a valid
// date, 1 otherwise; the three outputs are always written (see date.h for
// their values on failure).
int ParseDate(const char *text, int fmtNum, int yrLen, int *month, int *day, int *year) noexcept;

// Matches the beginning of text against the month names of the host locale
// (the current locale when no host locale is set): the twelve full names
// first, then the twelve abbreviations, case-insensitively, the first match
// winning. Returns the month 1..12 and the length of the matched name in
// *nameLength (when not null), or 0 when text begins with a digit or no name
// matches. At most textMax bytes of text are read.
int MonthNumberFromName(const char *text, size_t textMax, size_t *nameLength) noexcept;

}  // namespace cmnw::datetime
