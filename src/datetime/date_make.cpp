// Printing a date under a descriptor. The output is byte for byte what
// snprintf gives with the format's template (BuildDateTemplate), produced
// directly: no template is built or interpreted per call.
#include <cstdint>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "datetime/date_internal.h"

namespace cmnw::datetime {
namespace {

// Appends to a fixed buffer, dropping whatever does not fit (one byte is
// always kept for the terminator).
class BoundedWriter {
public:
    BoundedWriter(char *out, size_t size) noexcept : out_(out), size_(size) {}

    void Put(char c) noexcept {
        if (length_ + 1 < size_) out_[length_] = c;
        ++length_;
    }
    void Put(const char *text) noexcept {
        if (text == nullptr) return;
        while (*text != '\0') Put(*text++);
    }
    // As printf "%d" with a minimum width: zeroPad gives "%0<width>d",
    // otherwise "%<width>d" (blank-padded on the left).
    void PutInt(int value, int width, bool zeroPad) noexcept {
        char digits[16];
        int n = 0;
        int64_t v = value;
        const bool negative = v < 0;
        if (negative) v = -v;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        const int used = n + (negative ? 1 : 0);
        const int pad = width > used ? width - used : 0;
        if (!zeroPad) {
            for (int i = 0; i < pad; ++i) Put(' ');
        }
        if (negative) Put('-');
        if (zeroPad) {
            for (int i = 0; i < pad; ++i) Put('0');
        }
        while (n > 0) Put(digits[--n]);
    }
    size_t Finish() noexcept {
        if (size_ == 0) return 0;
        const size_t stored = length_ < size_ ? length_ : size_ - 1;
        out_[stored] = '\0';
        return stored;
    }

private:
    char *out_;
    size_t size_;
    size_t length_ = 0;
};

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

}  // namespace

size_t MakeDate(char *out, size_t outSize, const DateLayout &layout, int month, int day,
                int year) noexcept {
    BoundedWriter w(out, outSize);
    const int fmt = layout.fmtNum;
    year = AdjustYear(year, layout.yrLen);
    const Field yearField{layout.yrLen == 0 ? 2 : (layout.yrLen < 0 ? -layout.yrLen : layout.yrLen),
                          true};
    const char sepText[2] = {layout.sep, '\0'};
    // Name formats follow the separator with a blank unless it is one.
    const char nameSep[3] = {layout.sep, layout.sep == ' ' ? '\0' : ' ', '\0'};
    const char *namedSep = layout.sep == '\0' ? " " : nameSep;
    const Field plain{0, false};
    const Field two{2, true};

    auto putNumbers = [&](int a, int b, Field ab, bool yearFirst) {
        if (yearFirst) {
            w.PutInt(year, yearField.width, true);
            w.Put(sepText);
        }
        w.PutInt(a, ab.width, ab.zeroPad);
        w.Put(sepText);
        w.PutInt(b, ab.width, ab.zeroPad);
        if (!yearFirst) {
            w.Put(sepText);
            w.PutInt(year, yearField.width, true);
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
    const size_t length = w.Finish();
    if (outSize > 0) {
        if (layout.caseFlag == CaseFlag::Lower) UTLstrlwr(out);
        if (layout.caseFlag == CaseFlag::Upper) UTLstrupr(out);
    }
    return length;
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTMakeDate(char *out, const char *descriptor, int month, int day,
                           int year) noexcept {
    if (out == nullptr) return 1;
    MakeDate(out, kMaxDateText, DecodeDescriptor(descriptor), month, day, year);
    return 0;
}
