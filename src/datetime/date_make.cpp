// Printing a date under a descriptor. The output is byte for byte what
// snprintf gives with the format's template (BuildDateTemplate), produced
// directly: no template is built or interpreted per call.
#include <cstdint>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "common/text.h"
#include "datetime/date_internal.h"

namespace cmnw::datetime {
namespace {

// Builds the text in a local buffer large enough for any date (names are
// at most 19 characters, numbers at most 11), then hands it over bounded.
class DateWriter {
public:
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
        std::memcpy(out, buf_, n);
        out[n] = '\0';
        return n;
    }

private:
    static constexpr size_t kMaxName = 63;
    char buf_[256];
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
    DateWriter w;
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

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTMakeDate(char *out, const char *descriptor, int month, int day,
                           int year) noexcept {
    if (out == nullptr) return 1;
    MakeDate(out, kMaxDateText, DecodeDescriptor(descriptor), month, day, year);
    return 0;
}
