// Numeric pictures and numbers in a locale's presentation.
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/number.h"
#include "common/text.h"
#include "format/numeric_picture.h"
#include "locale/locale.h"

namespace cmnw::number {
namespace {

// A bounded text being built; characters past the capacity are dropped.
template <size_t N>
struct Builder {
    char text[N] = {};
    size_t length = 0;
    void Put(char c) noexcept {
        if (length + 1 < N) text[length++] = c;
    }
    void Put(const char *s) noexcept {
        while (*s != '\0') Put(*s++);
    }
    void InsertAt(size_t at, const char *s) noexcept {
        const size_t add = std::strlen(s);
        if (at > length || length + add + 1 > N) return;
        std::memmove(text + at + add, text + at, length - at);
        std::memcpy(text + at, s, add);
        length += add;
    }
};

bool CurrencyOnRight(const LocaleSettings &ls) noexcept {
    return UTLtoupper(static_cast<unsigned char>(ls.currencyPlacement[0])) == 'R';
}

void PutFirst(Builder<160> &out, const char *field) noexcept {
    if (field[0] != '\0') out.Put(field[0]);
}

// Picture characters that stand for digits in a presentation.
bool IsDigitLike(char c) noexcept {
    return (c >= '0' && c <= '9') || c == 'Z' || c == 'z' || c == '*' || c == '$';
}

bool StartsWith(const char *text, const char *prefix) noexcept {
    const size_t n = std::strlen(prefix);
    return n > 0 && std::strncmp(text, prefix, n) == 0;
}

void ConvertPicture(const char *picture, const LocaleSettings &ls, unsigned size,
                    char *dst) noexcept {
    Builder<160> out;
    {
        const bool right = CurrencyOnRight(ls);
        bool dollarSeen = false;
        long firstMarker = -1;
        const size_t n = LengthBounded(picture, 64);
        for (size_t i = 0; i < n; ++i) {
            const char c = picture[i];
            const char next = i + 1 < n ? picture[i + 1] : '\0';
            if (c == '$') {
                if (dollarSeen) {
                    out.Put('$');
                } else if (!right) {
                    out.Put(ls.currency);
                }
                dollarSeen = true;
            } else if (c == ',') {
                PutFirst(out, ls.thousandSep);
            } else if (c == '.') {
                PutFirst(out, ls.decimalSep);
            } else if ((c == 'D' && (next == 'B' || next == 'R')) || (c == 'C' && next == 'R')) {
                if (firstMarker < 0) firstMarker = static_cast<long>(out.length);
                out.Put(c == 'C' ? ls.crValue : next == 'B' ? ls.dbValue : ls.drValue);
                ++i;
            } else {
                out.Put(c);
            }
        }
        if (right && dollarSeen && ls.currency[0] != '\0') {
            size_t at = firstMarker >= 0 ? static_cast<size_t>(firstMarker) : out.length;
            while (at > 0 && std::strchr("-+) ", out.text[at - 1]) != nullptr) --at;
            out.InsertAt(at, ls.currency);
        }
    }
    // A leading sign moves right, next to what follows it.
    const char lead = out.text[0];
    if (lead == '(' || lead == '-' || lead == '+') {
        out.text[0] = ' ';
        size_t k = 1;
        while (k < out.length && out.text[k] == ' ') ++k;
        if (k < out.length) out.text[k - 1] = lead;
    }
    if (size == 0) {
        dst[0] = '\0';
    } else if (out.length <= size) {
        std::memcpy(dst, out.text, out.length + 1);
    } else {
        CopyBoundedN(dst, size, out.text, out.length);
    }
}

void UnconvertPicture(char *text, const LocaleSettings &ls, unsigned size, char *dst) noexcept {
    Builder<kPictureMax + 8> out;
    {
        const bool left = !CurrencyOnRight(ls);
        const bool hasCurrency = ls.currency[0] != '\0' && std::strstr(text, ls.currency) != nullptr;
        TrimRightInPlace(text);
        bool digitSeen = false;
        bool afterNonDigit = true;
        const char *p = text;
        while (out.length <= static_cast<size_t>(kPictureMax)) {
            if (afterNonDigit)
                while (*p == ' ') {
                    out.Put(' ');
                    ++p;
                }
            if (*p == '\0') break;
            afterNonDigit = true;
            if (StartsWith(p, ls.currency)) {
                if (left || !digitSeen) out.Put('$');
                p += std::strlen(ls.currency);
            } else if (StartsWith(p, ls.crValue)) {
                out.Put("CR");
                p += std::strlen(ls.crValue);
            } else if (StartsWith(p, ls.dbValue)) {
                out.Put("DB");
                p += std::strlen(ls.dbValue);
            } else if (StartsWith(p, ls.drValue)) {
                out.Put("DR");
                p += std::strlen(ls.drValue);
            } else if (ls.thousandSep[0] != '\0' && *p == ls.thousandSep[0]) {
                out.Put(',');
                ++p;
            } else if (ls.decimalSep[0] != '\0' && *p == ls.decimalSep[0]) {
                out.Put('.');
                ++p;
            } else if (IsDigitLike(*p)) {
                if (!digitSeen && !left && hasCurrency) out.Put('$');
                digitSeen = true;
                afterNonDigit = false;
                out.Put(*p++);
            } else {
                out.Put(*p++);
            }
        }
    }
    size_t n = out.length < size ? out.length : size;
    std::memcpy(dst, out.text, n);
    dst[n] = '\0';
}

}  // namespace
}  // namespace cmnw::number

using namespace cmnw;

extern "C" void FMTConvertNumFormat(const char *picture, const char *localeArg, unsigned size,
                                    char *dst) noexcept {
    if (dst == nullptr) return;
    const locale::CallLocale call(localeArg);
    number::ConvertPicture(picture == nullptr ? "" : picture, call.Settings(), size, dst);
}

extern "C" void FMTUnconvertNumFormat(char *text, const char *localeArg, unsigned size,
                                      char *dst) noexcept {
    if (dst == nullptr) return;
    if (text == nullptr) {
        dst[0] = '\0';
        return;
    }
    const locale::CallLocale call(localeArg);
    number::UnconvertPicture(text, call.Settings(), size, dst);
}

extern "C" int FMTDeformatNum(char *text, const char *localeArg) noexcept {
    if (text == nullptr) return 0;
    const char *start = text;
    while (*start == ' ') ++start;
    char work[number::kPictureMax + 2];
    CopyBoundedN(work, number::kPictureMax + 1, start, number::kPictureMax);
    if (localeArg != nullptr) {
        char converted[number::kPictureMax + 2];
        const locale::CallLocale call(localeArg);
        number::UnconvertPicture(work, call.Settings(), number::kPictureMax + 1, converted);
        std::memcpy(work, converted, sizeof work);
    }
    TrimInPlace(work);
    const size_t n = std::strlen(work);
    const bool negative = (n > 0 && (work[0] == '-' || work[n - 1] == '-')) ||
                          (n > 1 && work[0] == '(' && work[n - 1] == ')') ||
                          (n > 1 && work[n - 2] == 'C' && work[n - 1] == 'R');
    // The plain number is never longer than the text it came from.
    char plain[sizeof work + 1];
    size_t out = 0;
    if (negative) plain[out++] = '-';
    bool point = false;
    for (size_t i = 0; i < n; ++i) {
        const char c = work[i];
        if (c >= '0' && c <= '9') {
            plain[out++] = c;
        } else if (c == '.' && !point) {
            point = true;
            plain[out++] = c;
        }
    }
    plain[out] = '\0';
    ReplaceIfChanged(text, plain);
    return 0;
}

extern "C" int UTLIsValidNumChar(unsigned char ch, const char *picture,
                                 const char *localeArg) noexcept {
    if (ch == 0) return 0;
    const locale::CallLocale call(localeArg);
    const LocaleSettings &ls = call.Settings();
    if (std::memchr(ls.validChars, ch, LengthBounded(ls.validChars, sizeof ls.validChars)))
        return 1;
    if (picture != nullptr && std::strchr(picture, '$') != nullptr &&
        std::memchr(ls.currency, ch, LengthBounded(ls.currency, sizeof ls.currency)))
        return 1;
    return 0;
}

extern "C" int UTLGetValidYesNo(unsigned char ch, const char *, const char *localeArg) noexcept {
    if (ch == 0) return 0;
    const locale::CallLocale call(localeArg);
    const LocaleSettings &ls = call.Settings();
    const int upper = UTLtoupper(ch);
    const int yes = UTLtoupper(static_cast<unsigned char>(ls.yesText[0]));
    const int no = UTLtoupper(static_cast<unsigned char>(ls.noText[0]));
    if ((yes != 0 && upper == yes) || (no != 0 && upper == no)) return upper;
    return 0;
}
