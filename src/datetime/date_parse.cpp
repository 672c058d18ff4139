// Reading a date text under a date format number: tokens at the date
// separators, month names, runs of digits, day-of-year formats, and the
// final checks of the year and day.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "datetime/date_internal.h"

namespace cmnw::datetime {
namespace {

constexpr size_t kMaxDateInput = 255;

// Stands for the year preset from the clock until the text supplies one.
constexpr int kYearNotRead = INT_MIN;

bool IsDigit(char c) noexcept { return HasCharClass(c, kCharDigit); }
bool IsWhite(char c) noexcept { return HasCharClass(c, kCharWhite); }
bool IsSeparator(char c) noexcept { return HasCharClass(c, kCharDateSeparator); }

// A run of characters [begin, end) of the work text.
struct Span {
    const char *begin = nullptr;
    const char *end = nullptr;
    bool empty() const noexcept { return begin == end; }
};

// The next token at the date separators: runs of separators count as one and
// leading ones are skipped. An empty span when none is left.
Span NextDateToken(const char *&cursor, const char *end) noexcept {
    while (cursor < end && IsSeparator(*cursor)) ++cursor;
    Span token{cursor, cursor};
    while (cursor < end && !IsSeparator(*cursor)) ++cursor;
    token.end = cursor;
    return token;
}

// Accumulates a decimal digit; past 10 digits the value only saturates
// (Saturated clamps it to INT_MAX).
void AddDigit(int64_t &value, char digit) noexcept {
    if (value < 10000000000) value = value * 10 + (digit - '0');
}
int Saturated(int64_t value) noexcept { return value > INT_MAX ? INT_MAX : static_cast<int>(value); }

// As atoi of [p, end): white space, an optional sign, then digits; saturates
// instead of overflowing.
int LeadingInteger(const char *p, const char *end) noexcept {
    while (p < end && IsWhite(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    int64_t value = 0;
    while (p < end && IsDigit(*p)) AddDigit(value, *p++);
    return negative ? -Saturated(value) : Saturated(value);
}

// As one sscanf "%<width>d" conversion (width 0: unlimited) at p: skips white
// space, then reads an optional sign and digits within the width. False (and
// p unchanged) when no digit is there.
bool ScanInteger(const char *&p, const char *end, int width, int *out) noexcept {
    const char *q = p;
    while (q < end && IsWhite(*q)) ++q;
    int left = width > 0 ? width : INT_MAX;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-') && left > 0) {
        negative = *q++ == '-';
        --left;
    }
    int64_t value = 0;
    int digits = 0;
    while (q < end && left > 0 && IsDigit(*q)) {
        AddDigit(value, *q++);
        --left;
        ++digits;
    }
    if (digits == 0) return false;
    *out = negative ? -Saturated(value) : Saturated(value);
    p = q;
    return true;
}

// A token's number: its leading integer, or the month of the name it begins
// with; 0 from a token that does not begin with "0" becomes -1 (invalid).
int TokenValue(int value, const Span &token) noexcept {
    return (value == 0 && *token.begin != '0') ? -1 : value;
}

// The checks every reading of a date ends with: day-of-year formats, ranges,
// the year length. Stores the date (or zeros when it is rejected) and
// returns 0 for a valid date, 1 otherwise.
int CheckDate(int m, int d, int y, bool dayOfYear, int yrLen, bool tooManyParts, int *month,
              int *day, int *year) noexcept {
    auto reject = [&]() {
        *month = *day = *year = 0;
        return 1;
    };
    if (dayOfYear && m == 0 && y >= 0 && d >= 1) {
        if (!DateFromDayOfYear(d, y, &m, &d)) return reject();
    }
    if (m < 1 || m > 12 || d < 1) return reject();
    if (!(y < 100 || (y >= 1800 && y <= 3000))) return reject();
    if (yrLen == -2 && y > 99) return reject();
    if (yrLen == -4 && y < 1800) return reject();
    if (yrLen == 4) y = WidenYear(y);
    if (d > DaysInMonth(m, y)) return reject();
    if (yrLen == 2 && WidenYear(y % 100) == y) y %= 100;
    if (tooManyParts) return reject();
    *month = m;
    *day = d;
    *year = y;
    return 0;
}

// The value of the digit c, or a value above 9 for any other character.
inline unsigned DigitValue(char c) noexcept { return static_cast<unsigned char>(c) - 48u; }

// Reads a run of digits at p and moves p past it. False for no digit or more
// than nine.
inline bool ReadDigitRun(const char *&p, unsigned *value) noexcept {
    const char *start = p;
    unsigned v = 0;
    for (unsigned digit; (digit = DigitValue(*p)) <= 9; ++p) v = v * 10 + digit;
    *value = v;
    return p != start && p - start <= 9;
}

// Reads the commonest shapes of typed dates in one pass over text: three
// runs of one to nine digits, each pair parted by one date separator
// ("12/31/1999", "1-2-03"), or one to eight digits alone ("19991231"), with
// nothing before or after. Stores the three parts in the format's order
// exactly as ParseDateText would read them (0 for a month or day and
// kYearNotRead for a year the text does not give) and returns true; returns
// false, storing nothing, for any other text.
// Kept beside ParseDateText because it pays: without it Date/ours/0 takes
// 1.8 times as long (35 -> 63 ns) and IntlValDate/ours 1.75 times (52 -> 91 ns).
bool ReadPlainDate(const char *text, DateOrder order, int *m, int *d, int *y) noexcept {
    const char *p = text;
    unsigned first, second, third;
    if (!ReadDigitRun(p, &first)) return false;
    int values[3];
    if (*p == '\0') {
        // Digits alone: fixed widths, the year four digits wide from seven
        // digits on.
        const ptrdiff_t length = p - text;
        if (length > 8) return false;
        // A class table that calls a digit a letter sends the text to the
        // name matcher.
        const uint16_t *table = GetCTypeTable();
        unsigned classes = 0;
        for (int c = '0'; c <= '9'; ++c) classes |= table[c];
        if ((classes & CT_ALPHA) != 0) return false;
        const bool yearFirst = order == DateOrder::YearMonthDay;
        if (length == 8 && !yearFirst) {
            // The commonest lengths split by arithmetic: 2+2+4 digits here,
            // 4+2+2 or 2+2+2 below.
            values[0] = static_cast<int>(first / 1000000);
            values[1] = static_cast<int>(first / 10000 % 100);
            values[2] = static_cast<int>(first % 10000);
        } else if (length == 8 || length == 6) {
            values[0] = static_cast<int>(first / 10000);
            values[1] = static_cast<int>(first / 100 % 100);
            values[2] = static_cast<int>(first % 100);
        } else {
            const int yearWidth = length < 7 ? 2 : 4;
            // The widths of the three parts, covering the length digits.
            int widths[3];
            widths[0] = std::min<int>(yearFirst ? yearWidth : 2, static_cast<int>(length));
            widths[1] = std::min<int>(2, static_cast<int>(length) - widths[0]);
            widths[2] = static_cast<int>(length) - widths[0] - widths[1];
            const char *q = text;
            for (int i = 0; i < 3; ++i) {
                int value = widths[i] == 0 ? kYearNotRead : 0;
                for (int n = 0; n < widths[i]; ++n) value = value * 10 + (*q++ - '0');
                values[i] = value;
            }
        }
    } else {
        if (!IsSeparator(*p++) || !ReadDigitRun(p, &second)) return false;
        if (!IsSeparator(*p++) || !ReadDigitRun(p, &third) || *p != '\0') return false;
        values[0] = static_cast<int>(first);
        values[1] = static_cast<int>(second);
        values[2] = static_cast<int>(third);
    }
    auto part = [&values](int i) { return values[i] == kYearNotRead ? 0 : values[i]; };
    switch (order) {
        case DateOrder::MonthDayYear: *m = part(0); *d = part(1); *y = values[2]; break;
        case DateOrder::DayMonthYear: *d = part(0); *m = part(1); *y = values[2]; break;
        case DateOrder::YearMonthDay: *y = values[0]; *m = part(1); *d = part(2); break;
    }
    return true;
}

// What the reading of a date text has found so far. slot[i] is where the
// text's i-th part goes, by the order the text turns out to have.
struct DateReading {
    int m = 0;
    int d = 0;
    // The year is preset from the clock (years since 1900), so that a text
    // without a year fails the year check; the clock is read only then.
    int y = kYearNotRead;
    DateOrder order = DateOrder::MonthDayYear;
    int *slot[3] = {};
    bool tooManyParts = false;

    explicit DateReading(DateOrder o) noexcept { SetOrder(o); }
    DateReading(const DateReading &) = delete;
    void SetOrder(DateOrder o) noexcept {
        order = o;
        switch (o) {
            case DateOrder::MonthDayYear: slot[0] = &m; slot[1] = &d; slot[2] = &y; break;
            case DateOrder::DayMonthYear: slot[0] = &d; slot[1] = &m; slot[2] = &y; break;
            case DateOrder::YearMonthDay: slot[0] = &y; slot[1] = &m; slot[2] = &d; break;
        }
    }
    int Year() const noexcept { return y == kYearNotRead ? CurrentLocalYear() - 1900 : y; }
};

// The work text: at most 255 characters of text, white space trimmed at both
// ends.
Span WorkText(const char *text) noexcept {
    const char *begin = text != nullptr ? text : "";
    const char *end = begin + strnlen(begin, kMaxDateInput);
    while (begin < end && IsWhite(*begin)) ++begin;
    while (end > begin && IsWhite(end[-1])) --end;
    return {begin, end};
}

// The month of the name a token begins with, as TokenValue reads it.
int TokenMonth(const Span &token) noexcept {
    return TokenValue(MonthNumberFromName(token.begin, token.end - token.begin, nullptr), token);
}

// The second token of a text with separators; a name there after a number
// makes that number the day or the year. False when the text cannot be a
// date.
bool ReadSecondToken(const Span &token, bool nameSeen, DateReading &r) noexcept {
    if (IsDigit(*token.begin)) {
        *r.slot[1] = TokenValue(LeadingInteger(token.begin, token.end), token);
        return true;
    }
    if (nameSeen) return false;
    if (r.order == DateOrder::MonthDayYear) {
        const int number = *r.slot[0];
        if (number >= 1 && number <= 31) {
            r.d = number;
            r.slot[2] = &r.y;
        } else {
            r.y = number;
            r.slot[2] = &r.d;
        }
    }
    r.m = TokenMonth(token);
    return true;
}

// A text with date separators: up to three tokens, a name among the first
// two. False when it cannot be a date.
bool ReadSeparatedParts(const Span &work, bool dayOfYear, DateReading &r) noexcept {
    const char *cursor = work.begin;
    const Span first = NextDateToken(cursor, work.end);
    if (first.empty()) return false;
    const bool nameFirst = !IsDigit(*first.begin);
    if (nameFirst) {
        r.SetOrder(DateOrder::MonthDayYear);
        *r.slot[0] = TokenMonth(first);
    } else {
        *r.slot[0] = TokenValue(LeadingInteger(first.begin, first.end), first);
    }
    const Span second = NextDateToken(cursor, work.end);
    if (!second.empty() && !ReadSecondToken(second, nameFirst, r)) return false;
    const Span third = NextDateToken(cursor, work.end);
    if (third.empty()) {
        if (dayOfYear) {
            *r.slot[2] = *r.slot[1];
            *r.slot[1] = 0;
        }
    } else {
        if (!IsDigit(*third.begin)) return false;
        *r.slot[2] = TokenValue(LeadingInteger(third.begin, third.end), third);
    }
    r.tooManyParts = !NextDateToken(cursor, work.end).empty();
    return true;
}

// A text without separators holding a letter at letter: a month name with
// numbers before or after it. False when it cannot be a date.
bool ReadNameRun(const Span &work, const char *letter, DateReading &r) noexcept {
    size_t nameLength = 0;
    const int named = MonthNumberFromName(letter, work.end - letter, &nameLength);
    if (named == 0) return false;
    r.m = named;
    const char *afterName = letter + nameLength;
    if (IsDigit(*work.begin)) {
        const int leading = LeadingInteger(work.begin, work.end);
        const int trailing = LeadingInteger(afterName, work.end);
        r.d = r.order == DateOrder::DayMonthYear ? leading : trailing;
        r.y = r.order == DateOrder::DayMonthYear ? trailing : leading;
    } else if (letter == work.begin) {
        const char *p = afterName;
        if (!ScanInteger(p, work.end, 2, &r.d)) return false;
        ScanInteger(p, work.end, 0, &r.y);
    }
    return true;
}

// A text of digits alone: fixed widths, the year four digits wide from
// seven characters on.
void ReadDigitsAlone(const Span &work, DateReading &r) noexcept {
    const ptrdiff_t length = work.end - work.begin;
    if (length > 8) r.tooManyParts = true;
    const int yearWidth = length < 7 ? 2 : 4;
    const bool yearFirst = r.order == DateOrder::YearMonthDay;
    const int widths[3] = {yearFirst ? yearWidth : 2, 2, yearFirst ? 2 : yearWidth};
    const char *p = work.begin;
    for (int i = 0; i < 3; ++i) {
        if (!ScanInteger(p, work.end, widths[i], r.slot[i])) break;
    }
}

// Reads a work text into r. False when it cannot be a date.
bool ReadDateParts(const Span &work, bool dayOfYear, DateReading &r) noexcept {
    unsigned classes = 0;
    for (const char *p = work.begin; p < work.end; ++p)
        classes |= kDateCharClasses[static_cast<unsigned char>(*p)];
    if ((classes & kCharTokenAtCommaBlank) == 0) return false;
    if ((classes & kCharDateSeparator) != 0) return ReadSeparatedParts(work, dayOfYear, r);
    const uint16_t *table = GetCTypeTable();
    const char *letter = work.begin;
    while (letter < work.end && (table[static_cast<unsigned char>(*letter)] & CT_ALPHA) == 0)
        ++letter;
    if (letter < work.end) return ReadNameRun(work, letter, r);
    ReadDigitsAlone(work, r);
    return true;
}

// Reads any text; ParseDate below tries ReadPlainDate first.
[[gnu::noinline]] int ParseDateText(const char *text, const DateFormat &f, int yrLen, int *month,
                                    int *day, int *year) noexcept {
    DateReading r(f.order);
    if (!ReadDateParts(WorkText(text), f.dayOfYear, r)) {
        *month = r.m;
        *day = r.d;
        *year = r.Year();
        return 1;
    }
    return CheckDate(r.m, r.d, r.Year(), f.dayOfYear, yrLen, r.tooManyParts, month, day, year);
}

}  // namespace

int ParseDate(const char *text, int fmtNum, int yrLen, int *month, int *day, int *year) noexcept {
    const DateFormat &f = FormatOf(fmtNum);
    int m = 0, d = 0, y = 0;
    if (text != nullptr && ReadPlainDate(text, f.order, &m, &d, &y)) {
        if (y == kYearNotRead) y = CurrentLocalYear() - 1900;
        return CheckDate(m, d, y, f.dayOfYear, yrLen, false, month, day, year);
    }
    return ParseDateText(text, f, yrLen, month, day, year);
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTGetDateFmtValues(const char *text, int fmtNum, const char * /*sep*/, int yrLen,
                                   int *month, int *day, int *year) noexcept {
    int m, d, y;
    const int result = ParseDate(text, fmtNum, yrLen, &m, &d, &y);
    if (month != nullptr) *month = m;
    if (day != nullptr) *day = d;
    if (year != nullptr) *year = y;
    return result;
}
