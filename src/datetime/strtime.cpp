// Text timestamps: a broken-down time written under a percent-coded format
// with the current locale's names, case flags and an in-format locale
// switch.
#include <cstdint>
#include <cstring>
#include <ctime>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/time_internal.h"
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

enum class NameCase : uint8_t { AsIs, Lower, Upper, Capitalised };

void ApplyCase(char *text, NameCase nameCase) noexcept {
    switch (nameCase) {
        case NameCase::AsIs: break;
        case NameCase::Lower: UTLstrlwr(text); break;
        case NameCase::Upper: UTLstrupr(text); break;
        case NameCase::Capitalised:
            UTLstrlwr(text);
            if (text[0] != '\0') text[0] = static_cast<char>(UTLtoupper(static_cast<unsigned char>(text[0])));
            break;
    }
}

// The number a numeric conversion prints and its zero-padded width, or false
// for a letter that is not a numeric conversion.
bool NumericConversion(char letter, const std::tm &t, int64_t &value, int &width,
                       bool &honoursNoPad) noexcept {
    honoursNoPad = true;
    switch (letter) {
        case 'H': value = t.tm_hour; width = 2; return true;
        case 'I': value = t.tm_hour > 12 ? int64_t{t.tm_hour} - 12 : t.tm_hour; width = 2; return true;
        case 'M': value = t.tm_min; width = 2; return true;
        case 'S': value = t.tm_sec; width = 2; return true;
        case 'd': value = t.tm_mday; width = 2; return true;
        case 'j': value = int64_t{t.tm_yday} + 1; width = 3; return true;
        case 'm': value = int64_t{t.tm_mon} + 1; width = 2; return true;
        case 'w': value = t.tm_wday; width = 1; return true;
        case 'Y':
            value = int64_t{t.tm_year} + 1900;
            width = 4;
            honoursNoPad = false;
            return true;
        case 'y':
            value = (int64_t{t.tm_year} + 1900) % 100;
            width = 2;
            honoursNoPad = false;
            return true;
        default: return false;
    }
}

// The name a name conversion prints: day or month names of ls, or the fixed
// AM/PM markers. Null for a day or month out of range; sets *isName false
// for letters that are no name conversion.
const char *NameConversion(char letter, const std::tm &t, const LocaleSettings &ls,
                           bool *isName) noexcept {
    *isName = true;
    switch (letter) {
        case 'A': return t.tm_wday >= 0 && t.tm_wday <= 6 ? ls.dayName[t.tm_wday] : nullptr;
        case 'B': return t.tm_mon >= 0 && t.tm_mon <= 11 ? ls.monthName[t.tm_mon] : nullptr;
        case 'b': return t.tm_mon >= 0 && t.tm_mon <= 11 ? ls.monthAbbrev[t.tm_mon] : nullptr;
        case 'p': return t.tm_hour >= 12 ? "PM" : "AM";
        default: *isName = false; return nullptr;
    }
}

// The flags of a format that last beyond one conversion: "#" until the next
// numeric conversion, "<", ">" and "<>" until the next name.
struct StrTimeFlags {
    bool noPad = false;
    NameCase nameCase = NameCase::AsIs;
};

// Reads the flags after a "%"; returns the position after them.
[[gnu::always_inline]] inline const char *ReadFlags(const char *f, StrTimeFlags &flags) noexcept {
    if (*f == '#') {
        flags.noPad = true;
        ++f;
    }
    if (*f == '<') {
        ++f;
        flags.nameCase = NameCase::Lower;
        if (*f == '>') {
            flags.nameCase = NameCase::Capitalised;
            ++f;
        }
    } else if (*f == '>') {
        flags.nameCase = NameCase::Upper;
        ++f;
    }
    return f;
}

// Writes the conversion of letter into piece (32 bytes) and returns its
// length; -1 for a name out of range. A letter that is no conversion stands
// for itself.
[[gnu::always_inline]] inline int WriteConversion(char letter, const std::tm &time,
                                                  const LocaleSettings &ls, StrTimeFlags &flags,
                                                  char *piece) noexcept {
    int64_t value;
    int width;
    bool honoursNoPad;
    bool isName;
    if (NumericConversion(letter, time, value, width, honoursNoPad)) {
        if (flags.noPad && honoursNoPad) width = 0;
        flags.noPad = false;
        return static_cast<int>(WriteDecimal(piece, value, width));
    }
    if (const char *name = NameConversion(letter, time, ls, &isName); isName) {
        if (name == nullptr) return -1;
        const size_t length = CopyBounded(piece, 32, name);
        ApplyCase(piece, flags.nameCase);
        flags.nameCase = NameCase::AsIs;
        return static_cast<int>(length);
    }
    piece[0] = letter;
    return 1;
}

// FMTGetStrTime into out (limit bytes, already zeroed).
[[gnu::always_inline]] inline int FormatStrTime(char *out, size_t limit, const char *format,
                                                const std::tm &time) noexcept {
    // Names come from the current locale, or from the locale a "%@" names
    // for the rest of the format.
    cmnw::locale::CallLocale locale;
    size_t count = 0;
    StrTimeFlags flags;
    const char *f = format;
    while (*f != '\0') {
        if (*f != '%') {
            if (count + 1 >= limit) return static_cast<int>(count);
            out[count++] = *f++;
            continue;
        }
        f = ReadFlags(f + 1, flags);
        if (*f == '@') {
            ++f;
            if (UTLisalpha(static_cast<unsigned char>(*f))) {
                if (f[1] == '\0' || f[2] == '\0') break;
                const char name[4] = {f[0], f[1], f[2], '\0'};
                locale.SwitchTo(name);
                f += 3;
                continue;
            }
        }
        if (*f == '\0') break;
        char piece[32];
        const int length = WriteConversion(*f++, time, locale.Settings(), flags, piece);
        if (length < 0) return 0;
        if (count + length >= limit) return static_cast<int>(count + length);
        std::memcpy(out + count, piece, length);
        count += length;
    }
    return static_cast<int>(count);
}

}  // namespace
}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" int FMTGetStrTime(char *out, int outSize, const char *format,
                             const struct tm *time) noexcept {
    if (out == nullptr || format == nullptr || time == nullptr || outSize <= 0) return 0;
    std::memset(out, 0, static_cast<size_t>(outSize));
    return FormatStrTime(out, static_cast<size_t>(outSize), format, *time);
}
