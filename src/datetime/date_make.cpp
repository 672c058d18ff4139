// Printing a date under a descriptor. The output is byte for byte what
// snprintf gives with the format's template (BuildDateTemplate), produced
// directly: no template is built or interpreted per call.
#include <array>
#include <cstdint>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "common/text.h"
#include "datetime/date_internal.h"

namespace cmnw::datetime {
namespace {

// Builds the text in a buffer large enough for any date (names are at most
// 63 characters, numbers at most 11): the caller's own when it is large
// enough for the format, else a local one handed over bounded.
class DateWriter {
public:
    explicit DateWriter(char *buf) noexcept : buf_(buf) {}
    // Puts c; a NUL character puts nothing.
    void Put(char c) noexcept {
        buf_[length_] = c;
        length_ += c != '\0';
    }
    void Put(const char *text) noexcept {
        if (text == nullptr) return;
        const size_t n = LengthBounded(text, kMaxName);
        std::memcpy(buf_ + length_, text, n);
        length_ += n;
    }
    // As printf "%d" with a minimum width: zeroPad gives "%0<width>d",
    // otherwise "%<width>d" (blank-padded on the left).
    void PutInt(int value, int width, bool zeroPad) noexcept {
        if (value >= 0 && value < 10000) {
            // The common case: at most four digits.
            const int n = value >= 1000 ? 4 : value >= 100 ? 3 : value >= 10 ? 2 : 1;
            if (width > n) {
                // width is at most 4 here, so four fill bytes always cover the padding.
                const int pad = width > 4 ? 0 : width - n;
                std::memcpy(buf_ + length_, zeroPad ? "0000" : "    ", 4);
                length_ += pad;
            }
            char *p = buf_ + length_ + n;
            unsigned v = static_cast<unsigned>(value);
            do {
                *--p = static_cast<char>('0' + v % 10);
                v /= 10;
            } while (v != 0);
            length_ += n;
            return;
        }
        char digits[12];
        int n = 0;
        uint32_t v = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        const int used = n + (value < 0 ? 1 : 0);
        int pad = width > used ? width - used : 0;
        if (!zeroPad) {
            while (pad-- > 0) Put(' ');
        }
        if (value < 0) Put('-');
        while (pad-- > 0) Put('0');
        while (n > 0) Put(digits[--n]);
    }
    size_t CopyTo(char *out, size_t outSize) const noexcept {
        if (outSize == 0) return 0;
        const size_t n = length_ < outSize ? length_ : outSize - 1;
        if (out != buf_) std::memcpy(out, buf_, n);
        out[n] = '\0';
        return n;
    }

    static constexpr size_t kMaxName = 63;
    // Room for any date: three fields of names or numbers and separators.
    static constexpr size_t kBufferSize = 256;
    // The longest date of numbers alone: three of 11 characters, two
    // separators.
    static constexpr size_t kMaxNumericDate = 3 * 11 + 2;

private:
    char *buf_;
    size_t length_ = 0;
};

// Formats that print a month name or abbreviation.
bool PrintsMonthName(int fmtNum) noexcept {
    return (fmtNum == 4) || (fmtNum >= 14 && fmtNum <= 16) || (fmtNum >= 19 && fmtNum <= 27);
}

// A numeric field of a template: width and padding.
struct Field {
    int width;
    bool zeroPad;
};

int AdjustYear(int year, int yrLen) noexcept {
    switch (yrLen) {
        case 4: case -4:
            return WidenYear(year);
        case 2:
            return WidenYear(year % 100) == year ? year % 100 : year;
        case -2:
            return year % 100;
        default:
            return year;
    }
}

// "00" to "99", two characters each.
constexpr auto kTwoDigits = [] {
    std::array<char, 200> digits{};
    for (int i = 0; i < 100; ++i) {
        digits[2 * i] = static_cast<char>('0' + i / 10);
        digits[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return digits;
}();

// Formats 1-3 and 11-13 ("%02d", "%02d" and the year zero-padded to width 2
// or 4, in the format's order) written straight into out, which holds at
// least DateWriter::kMaxNumericDate + 1 bytes. Takes month and day within 0..99 and year
// within 0..9999 only; returns 0, writing nothing, for anything else.
size_t MakePaddedNumbers(char *out, const DateLayout &layout, int month, int day,
                         int year) noexcept {
    const int fmt = layout.fmtNum;
    if (!((fmt >= 1 && fmt <= 3) || (fmt >= 11 && fmt <= 13))) return 0;
    if (static_cast<unsigned>(month) > 99 || static_cast<unsigned>(day) > 99 ||
        static_cast<unsigned>(year) > 9999) {
        return 0;
    }
    const bool wideYear = layout.yrLen == 4 || layout.yrLen == -4;
    char *p = out;
    auto putTwo = [&p](int value) {
        std::memcpy(p, &kTwoDigits[2 * value], 2);
        p += 2;
    };
    auto putYear = [&]() {
        if (year >= 1000 || wideYear) {
            putTwo(year / 100);
        } else if (year >= 100) {
            *p++ = static_cast<char>('0' + year / 100);
        }
        putTwo(year % 100);
    };
    auto putSeparator = [&p, sep = layout.sep]() {
        *p = sep;
        p += sep != '\0';
    };
    const int fmtInGroup = fmt > 10 ? fmt - 10 : fmt;
    if (fmtInGroup == 3) {
        putYear();
        putSeparator();
    }
    putTwo(fmtInGroup == 2 ? day : month);
    putSeparator();
    putTwo(fmtInGroup == 2 ? month : day);
    if (fmtInGroup != 3) {
        putSeparator();
        putYear();
    }
    *p = '\0';
    return static_cast<size_t>(p - out);
}

// Any format; MakeDate below tries MakePaddedNumbers first. year is adjusted
// to the year length already.
[[gnu::noinline]] size_t MakeAnyDate(char *out, size_t outSize, const DateLayout &layout,
                                     int month, int day, int year) noexcept {
    const int fmt = layout.fmtNum;
    const bool direct = outSize > DateWriter::kMaxNumericDate && !PrintsMonthName(fmt);
    char local[DateWriter::kBufferSize];
    DateWriter w(direct ? out : local);
    const Field yearField{layout.yrLen == 0 ? 2 : (layout.yrLen < 0 ? -layout.yrLen : layout.yrLen),
                          true};
    const char sepText[2] = {layout.sep, '\0'};
    // Name formats follow the separator with a blank unless it is one.
    const char nameSep[3] = {layout.sep, layout.sep == ' ' ? '\0' : ' ', '\0'};
    const char *namedSep = layout.sep == '\0' ? " " : nameSep;
    const Field plain{0, false};
    const Field two{2, true};

    auto putNumbers = [&w, &sepText, year, yearWidth = yearField.width](
                          int a, int b, Field ab, bool yearFirst) __attribute__((always_inline)) {
        if (yearFirst) {
            w.PutInt(year, yearWidth, true);
            w.Put(sepText[0]);
        }
        w.PutInt(a, ab.width, ab.zeroPad);
        w.Put(sepText[0]);
        w.PutInt(b, ab.width, ab.zeroPad);
        if (!yearFirst) {
            w.Put(sepText[0]);
            w.PutInt(year, yearWidth, true);
        }
    };

    switch (fmt) {
        case 4: case 24:
            w.Put(fmt == 4 ? FMTMonthName(month) : FMTMonthName3(month));
            w.Put(' ');
            w.PutInt(day, plain.width, plain.zeroPad);
            w.Put(namedSep);
            w.PutInt(year, yearField.width, true);
            break;
        case 19: case 25:
            w.PutInt(day, plain.width, plain.zeroPad);
            w.Put(' ');
            w.Put(fmt == 19 ? FMTMonthName(month) : FMTMonthName3(month));
            w.Put(namedSep);
            w.PutInt(year, yearField.width, true);
            break;
        case 20: case 26:
            w.PutInt(year, yearField.width, true);
            w.Put(namedSep);
            w.Put(fmt == 20 ? FMTMonthName(month) : FMTMonthName3(month));
            w.Put(' ');
            w.PutInt(day, plain.width, plain.zeroPad);
            break;
        case 27:
            w.Put(FMTMonthName(month));
            break;
        case 14: case 21:
            w.Put(FMTMonthName3(month));
            w.Put(sepText);
            w.PutInt(day, two.width, two.zeroPad);
            w.Put(sepText);
            w.PutInt(year, yearField.width, true);
            break;
        case 15: case 22:
            w.PutInt(day, two.width, two.zeroPad);
            w.Put(sepText);
            w.Put(FMTMonthName3(month));
            w.Put(sepText);
            w.PutInt(year, yearField.width, true);
            break;
        case 16: case 23:
            w.PutInt(year, yearField.width, true);
            w.Put(sepText);
            w.Put(FMTMonthName3(month));
            w.Put(sepText);
            w.PutInt(day, two.width, two.zeroPad);
            break;
        case 17: case 18: {
            const int dayOfYear = DayOfYearFromDate(month, day, year);
            if (fmt == 17) w.PutInt(dayOfYear, 3, true);
            if (fmt == 17) w.Put(sepText);
            w.PutInt(year, yearField.width, true);
            if (fmt == 18) w.Put(sepText);
            if (fmt == 18) w.PutInt(dayOfYear, 3, true);
            break;
        }
        case 5: putNumbers(month, day, plain, false); break;
        case 6: putNumbers(day, month, plain, false); break;
        case 7: putNumbers(month, day, plain, true); break;
        case 8: putNumbers(month, day, Field{2, false}, false); break;
        case 9: putNumbers(day, month, Field{2, false}, false); break;
        case 10: putNumbers(month, day, Field{2, false}, true); break;
        case 2: case 12: putNumbers(day, month, two, false); break;
        case 3: case 13: putNumbers(month, day, two, true); break;
        default: putNumbers(month, day, two, false); break;  // 1, 11
    }
    const size_t length = w.CopyTo(out, outSize);
    if (outSize > 0) {
        if (layout.caseFlag == CaseFlag::Lower) UTLstrlwr(out);
        if (layout.caseFlag == CaseFlag::Upper) UTLstrupr(out);
    }
    return length;
}

}  // namespace

size_t MakeDate(char *out, size_t outSize, const DateLayout &layout, int month, int day,
                int year) noexcept {
    year = AdjustYear(year, layout.yrLen);
    // Numbers alone carry no letters: the case flag changes nothing.
    if (outSize > DateWriter::kMaxNumericDate) {
        if (const size_t n = MakePaddedNumbers(out, layout, month, day, year)) return n;
    }
    return MakeAnyDate(out, outSize, layout, month, day, year);
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTMakeDate(char *out, const char *descriptor, int month, int day,
                           int year) noexcept {
    if (out == nullptr) return 1;
    MakeDate(out, kMaxDateText, DecodeDescriptor(descriptor), month, day, year);
    return 0;
}
