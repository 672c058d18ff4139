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
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

// Builds the text in a buffer large enough for any date (names are at most
// 19 characters, numbers at most 11): the caller's own when it is large
// enough for the format, else a local one handed over bounded.
class DateWriter {
public:
    explicit DateWriter(char *buf) noexcept : buf_(buf) {}
    // Puts c; a NUL character puts nothing.
    void Put(char c) noexcept {
        buf_[length_] = c;
        length_ += c != '\0';
    }
    // Puts a name kept in a fixed array (a locale's month names): the whole
    // array is copied, then the length counted.
    template <size_t N>
    void PutName(const char (&name)[N]) noexcept {
        std::memcpy(buf_ + length_, name, N);
        length_ += LengthInArray(name);
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

    // Room for any date: three fields of names or numbers and separators.
    static constexpr size_t kBufferSize = 256;
    // The longest date of numbers alone: three of 11 characters, two
    // separators.
    static constexpr size_t kMaxNumericDate = 3 * 11 + 2;

private:
    char *buf_;
    size_t length_ = 0;
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

// Formats of zero-padded numbers ("%02d", "%02d" and the year zero-padded to
// width 2 or 4, in the format's order) written straight into out, which holds at
// least DateWriter::kMaxNumericDate + 1 bytes. Takes month and day within 0..99 and year
// within 0..9999 only; returns 0, writing nothing, for anything else.
// Kept beside MakeAnyDate because it pays: without it Date/ours/0 takes 1.7
// times as long (35 -> 60 ns) and IntlValDate/ours 1.5 times (52 -> 78 ns).
size_t MakePaddedNumbers(char *out, const DateLayout &layout, int month, int day,
                         int year) noexcept {
    const unsigned fmt = static_cast<unsigned>(layout.fmtNum);
    if (fmt > 27 || ((kZeroPaddedNumberFormats >> fmt) & 1) == 0) return 0;
    const DateOrder order = kDateFormats[fmt].order;
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
    const bool dayFirst = order == DateOrder::DayMonthYear;
    const bool yearFirst = order == DateOrder::YearMonthDay;
    if (yearFirst) {
        putYear();
        putSeparator();
    }
    putTwo(dayFirst ? day : month);
    putSeparator();
    putTwo(dayFirst ? month : day);
    if (!yearFirst) {
        putSeparator();
        putYear();
    }
    *p = '\0';
    return static_cast<size_t>(p - out);
}

// The month's name (abbreviated or not) in the call's locale; nothing for a
// month outside 1..12, as FMTMonthName gives no name for it.
void PutMonthName(DateWriter &w, int month, bool abbrev) noexcept {
    if (month < 1 || month > 12) return;
    const LocaleSettings &ls = locale::Current();
    if (abbrev)
        w.PutName(ls.monthAbbrev[month - 1]);
    else
        w.PutName(ls.monthName[month - 1]);
}

// Writes one part of a date of format f: month, day or year (adjusted to the
// year length already) or the day of year.
void PutPart(DateWriter &w, const DateFormat &f, const DateLayout &layout, DatePart part, int month,
             int day, int year) noexcept {
    static constexpr struct {
        int width;
        bool zeroPad;
    } kPads[] = {{2, true}, {0, false}, {2, false}};
    const auto pad = kPads[static_cast<int>(f.pad)];
    switch (part) {
        case DatePart::Month:
            if (f.ShowsName())
                PutMonthName(w, month, f.abbrev);
            else
                w.PutInt(month, pad.width, pad.zeroPad);
            break;
        case DatePart::Day:
            w.PutInt(day, pad.width, pad.zeroPad);
            break;
        case DatePart::Year: {
            const int yrLen = layout.yrLen;
            w.PutInt(year, yrLen == 0 ? 2 : (yrLen < 0 ? -yrLen : yrLen), true);
            break;
        }
        case DatePart::DayOfYear:
            w.PutInt(DayOfYearFromDate(month, day, year), 3, true);
            break;
    }
}

void PutJoint(DateWriter &w, DateJoint joint, char sep) noexcept {
    if (joint != DateJoint::Blank) w.Put(sep);
    if (joint == DateJoint::Blank || (joint == DateJoint::SeparatorBlank && sep != ' ')) w.Put(' ');
}

// Any format; MakeDate below tries MakePaddedNumbers first. year is adjusted
// to the year length already.
[[gnu::noinline]] size_t MakeAnyDate(char *out, size_t outSize, const DateLayout &layout,
                                     int month, int day, int year) noexcept {
    const DateFormat &f = FormatOf(layout.fmtNum);
    const bool direct = outSize > DateWriter::kMaxNumericDate && !f.ShowsName();
    char local[DateWriter::kBufferSize];
    DateWriter w(direct ? out : local);
    if (f.month == MonthShow::Alone) {
        PutMonthName(w, month, false);
    } else {
        const DateParts &parts = PartsOfFormat(layout.fmtNum);
        for (int i = 0; i < parts.count; ++i) {
            if (i > 0) PutJoint(w, parts.joint[i - 1], layout.sep);
            PutPart(w, f, layout, parts.part[i], month, day, year);
        }
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
