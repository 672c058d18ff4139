// Reading a date text under a date format number: tokens at the date
// separators, month names, runs of digits, day-of-year formats, and the
// final checks of the year and day.
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

bool IsDayOfYearFormat(int fmtNum) noexcept { return fmtNum == 17 || fmtNum == 18; }

}  // namespace

int ParseDate(const char *text, int fmtNum, int yrLen, int *month, int *day, int *year) noexcept {
    int m = 0;
    int d = 0;
    // The year is preset from the clock (years since 1900), so that a text
    // without a year fails the year check; the clock is read only then.
    int y = kYearNotRead;
    auto stop = [&](int result) {
        if (y == kYearNotRead) y = CurrentLocalYear() - 1900;
        *month = m;
        *day = d;
        *year = y;
        return result;
    };
    auto reject = [&]() {
        m = d = y = 0;
        return stop(1);
    };

    // The work text: at most 255 characters, white space trimmed at both ends.
    const char *begin = text != nullptr ? text : "";
    const char *end = begin + strnlen(begin, kMaxDateInput);
    while (begin < end && IsWhite(*begin)) ++begin;
    while (end > begin && IsWhite(end[-1])) --end;

    unsigned classes = 0;
    for (const char *p = begin; p < end; ++p) classes |= kDateCharClasses[static_cast<unsigned char>(*p)];
    const bool hasSeparator = (classes & kCharDateSeparator) != 0;
    if ((classes & kCharTokenAtCommaBlank) == 0) return stop(1);

    DateOrder order = OrderOfFormat(fmtNum);
    int *slot[3];
    auto setSlots = [&](DateOrder o) {
        switch (o) {
            case DateOrder::MonthDayYear: slot[0] = &m; slot[1] = &d; slot[2] = &y; break;
            case DateOrder::DayMonthYear: slot[0] = &d; slot[1] = &m; slot[2] = &y; break;
            case DateOrder::YearMonthDay: slot[0] = &y; slot[1] = &m; slot[2] = &d; break;
        }
    };
    setSlots(order);
    bool tooManyParts = false;

    if (hasSeparator) {
        const char *cursor = begin;
        const Span first = NextDateToken(cursor, end);
        if (first.empty()) return stop(1);
        bool nameSeen = false;
        if (!IsDigit(*first.begin)) {
            order = DateOrder::MonthDayYear;
            setSlots(order);
            nameSeen = true;
            *slot[0] = TokenValue(
                MonthNumberFromName(first.begin, first.end - first.begin, nullptr), first);
        } else {
            *slot[0] = TokenValue(LeadingInteger(first.begin, first.end), first);
        }
        const Span second = NextDateToken(cursor, end);
        if (!second.empty()) {
            if (IsDigit(*second.begin)) {
                *slot[1] = TokenValue(LeadingInteger(second.begin, second.end), second);
            } else {
                if (nameSeen) return stop(1);
                if (order == DateOrder::MonthDayYear) {
                    // A name after a number: the number was the day or the year.
                    const int number = *slot[0];
                    if (number >= 1 && number <= 31) {
                        d = number;
                        slot[2] = &y;
                    } else {
                        y = number;
                        slot[2] = &d;
                    }
                }
                m = TokenValue(
                    MonthNumberFromName(second.begin, second.end - second.begin, nullptr), second);
                nameSeen = true;
            }
        }
        const Span third = NextDateToken(cursor, end);
        if (third.empty()) {
            if (IsDayOfYearFormat(fmtNum)) {
                *slot[2] = *slot[1];
                *slot[1] = 0;
            }
        } else {
            if (!IsDigit(*third.begin)) return stop(1);
            *slot[2] = TokenValue(LeadingInteger(third.begin, third.end), third);
        }
        if (!NextDateToken(cursor, end).empty()) tooManyParts = true;
    } else {
        const uint16_t *table = GetCTypeTable();
        const char *letter = begin;
        while (letter < end && (table[static_cast<unsigned char>(*letter)] & CT_ALPHA) == 0) {
            ++letter;
        }
        if (letter < end) {
            size_t nameLength = 0;
            const int named = MonthNumberFromName(letter, end - letter, &nameLength);
            if (named == 0) return stop(1);
            m = named;
            const char *afterName = letter + nameLength;
            if (IsDigit(*begin)) {
                const int leading = LeadingInteger(begin, end);
                const int trailing = LeadingInteger(afterName, end);
                if (order == DateOrder::DayMonthYear) {
                    d = leading;
                    y = trailing;
                } else {
                    y = leading;
                    d = trailing;
                }
            } else if (letter == begin) {
                const char *p = afterName;
                if (!ScanInteger(p, end, 2, &d)) return stop(1);
                ScanInteger(p, end, 0, &y);
            }
        } else {
            const ptrdiff_t length = end - begin;
            if (length > 8) tooManyParts = true;
            const int yearWidth = length < 7 ? 2 : 4;
            const int widths[3] = {order == DateOrder::YearMonthDay ? yearWidth : 2, 2,
                                   order == DateOrder::YearMonthDay ? 2 : yearWidth};
            const char *p = begin;
            for (int i = 0; i < 3; ++i) {
                if (!ScanInteger(p, end, widths[i], slot[i])) break;
            }
        }
    }

    if (y == kYearNotRead) y = CurrentLocalYear() - 1900;
    if (IsDayOfYearFormat(fmtNum) && m == 0 && y >= 0 && d >= 1) {
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
    return stop(0);
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
