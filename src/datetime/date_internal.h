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

// ---- the date formats ------------------------------------------------------

// How a date format shows the month.
enum class MonthShow : uint8_t {
    Number,  // digits, padded as the row says
    Name,    // the name where a number would stand, parted by the separator
    Words,   // the name, a blank and the day ("May 5"); the separator and a
             // blank part the year from those two
    Alone,   // the name and nothing else
};

// How the month and day numbers of a date format are padded: printf's "%02d",
// "%-d" and "%2d". Day-of-year numbers are zero-padded to 3.
enum class NumberPad : uint8_t { Zero, None, Blank };

// One row of the date format table: everything the descriptor decoder, the
// template builder, the maker, the parser, the validator and the pictures
// know of a format.
struct DateFormat {
    char code;        // the descriptor character that selects it
    DateOrder order;  // order of the parts; a day of year takes the day's place
    MonthShow month;
    NumberPad pad;
    bool dayOfYear;  // the day of year (3 digits) stands for month and day
    bool abbrev;     // the month's abbreviation rather than its full name
    char separator;  // default separator; '\0' for none whatever the
                     // descriptor says; ',' also reads a "/" as ","

    // The format writes a month name (up to 63 characters) rather than numbers.
    constexpr bool ShowsName() const noexcept { return month != MonthShow::Number; }
    // Month, day and year as zero-padded numbers.
    constexpr bool ZeroPaddedNumbers() const noexcept {
        return month == MonthShow::Number && pad == NumberPad::Zero && !dayOfYear;
    }
};

// Index = format number 1..27; row 0 repeats format 1, which numbers outside
// 1..27 read as.
extern const DateFormat kDateFormats[28];

// The row of format fmtNum (format 1 for numbers outside 1..27).
inline const DateFormat &FormatOf(int fmtNum) noexcept {
    return kDateFormats[static_cast<unsigned>(fmtNum) <= 27u ? fmtNum : 0];
}

// The parts of a date as a format writes them, and what stands between two.
enum class DatePart : uint8_t { Month, Day, Year, DayOfYear };
enum class DateJoint : uint8_t {
    Separator,       // the separator (nothing for none)
    Blank,           // a blank
    SeparatorBlank,  // the separator and a blank, or one blank for " " or none
};
struct DateParts {
    DatePart part[3];
    DateJoint joint[2];  // joint[i] stands between part[i] and part[i + 1]
    int count;
};

// The parts of format f in its order: the day of year and the year for the
// day-of-year formats, else month, day and year (a format that shows the
// month alone still has three, as its picture shows them).
constexpr DateParts PartsOf(const DateFormat &f) noexcept {
    using P = DatePart;
    if (f.dayOfYear) {
        if (f.order == DateOrder::YearMonthDay) return {{P::Year, P::DayOfYear}, {}, 2};
        return {{P::DayOfYear, P::Year}, {}, 2};
    }
    const bool words = f.month == MonthShow::Words;
    const DateJoint nearYear = words ? DateJoint::SeparatorBlank : DateJoint::Separator;
    const DateJoint monthDay = words ? DateJoint::Blank : DateJoint::Separator;
    switch (f.order) {
        case DateOrder::DayMonthYear:
            return {{P::Day, P::Month, P::Year}, {monthDay, nearYear}, 3};
        case DateOrder::YearMonthDay:
            return {{P::Year, P::Month, P::Day}, {nearYear, monthDay}, 3};
        default:
            return {{P::Month, P::Day, P::Year}, {monthDay, nearYear}, 3};
    }
}

// PartsOf each format, index = format number as in kDateFormats.
extern const std::array<DateParts, 28> kDateParts;
inline const DateParts &PartsOfFormat(int fmtNum) noexcept {
    return kDateParts[static_cast<unsigned>(fmtNum) <= 27u ? fmtNum : 0];
}

// Bit n set for each format n whose row says ZeroPaddedNumbers: the formats
// the maker's fast path takes.
extern const uint32_t kZeroPaddedNumberFormats;

// What a descriptor's first character selects (any letter case): the format
// number (1 for a character that selects none) and that format's default
// separator, copied from its row so that decoding takes one look-up.
struct DescriptorCode {
    uint8_t fmtNum;
    char separator;
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
