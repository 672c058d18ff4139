// Fitting a plain number into a numeric picture.
#include <algorithm>
#include <cstring>

#include "cmnw32/number.h"
#include "common/text.h"
#include "format/numeric_picture.h"

namespace cmnw::number {
namespace {

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }
bool IsDigit19(char c) noexcept { return c >= '1' && c <= '9'; }
bool IsBlank(char c) noexcept { return IsBlankChar(static_cast<unsigned char>(c)); }

// "-" followed only by digits and "." (and trailing blanks).
bool IsPlainNegative(const char *text) noexcept {
    if (text[0] != '-') return false;
    size_t body = std::strspn(text + 1, "0123456789.");
    if (body == 0) return false;
    for (const char *p = text + 1 + body; *p != '\0'; ++p)
        if (!IsBlank(*p)) return false;
    return true;
}

// The "R" at index i belongs to a "DR" marker (in either reading direction).
bool IsDebitR(const char *picture, int n, int i) noexcept {
    return (i > 0 && picture[i - 1] == 'D') || (i + 1 < n && picture[i + 1] == 'D');
}

// How a sign or marker position after the digits shows for an amount of the
// given sign: CR, "-" and parentheses only for negative amounts; DB and DR
// for the others, CR in their place for negative ones; "+" shows the sign.
char TrailingMarker(const char *picture, int n, int i, bool negative) noexcept {
    switch (picture[i]) {
        case 'C': return negative ? 'C' : ' ';
        case 'R': return negative || IsDebitR(picture, n, i) ? 'R' : ' ';
        case 'D': return negative ? 'C' : 'D';
        case 'B': return negative ? 'R' : 'B';
        case '+': return negative ? '-' : '+';
        case '-': return negative ? '-' : ' ';
        case '(': case ')': return negative ? picture[i] : ' ';
        default: return picture[i];
    }
}

// A plain number read from a value text.
struct Number {
    char digits[kPictureMax + 1];
    int count = 0;         // digits collected
    int integerCount = 0;  // of those, before the "."
    char sign = 0;         // 0, '-' or '+'
};

// What FitDigits reads of a picture before laying digits into it.
struct FitPicture {
    const char *picture;
    int n;
    int dollars = 0;            // "$" positions
    int capacity = 0;           // digit positions
    bool star = false;          // a "*" fill
    bool nine = false;          // a "9" position
    bool signPosition = false;  // a sign or marker position of its own
};

FitPicture ReadFitPicture(const char *picture, int n) noexcept {
    FitPicture p{picture, n};
    for (int i = 0; i < n; ++i) {
        const char c = picture[i];
        if (IsDigitPosition(c)) ++p.capacity;
        if (c == '$') ++p.dollars;
        if (c == '*') p.star = true;
        if (c == '9') p.nine = true;
        if (IsSignOrMarker(c)) p.signPosition = true;
    }
    return p;
}

// Places the digits from the right, "Z" positions blanking zeros; picture
// characters between them are copied. Returns the position of the leftmost
// digit placed (n for none).
int PlaceDigits(const FitPicture &p, const char *digits, int count, char *out) noexcept {
    int placedStart = p.n;
    for (int i = p.n - 1, j = count - 1; i >= 0 && j >= 0; --i) {
        const char c = p.picture[i];
        if (IsDigitPosition(c)) {
            out[i] = ((c == 'Z' || c == 'z') && digits[j] == '0') ? ' ' : digits[j];
            placedStart = i;
            --j;
        } else {
            out[i] = c;
        }
    }
    return placedStart;
}

// Zeros after the first significant digit show again. Returns the position
// of that digit, or -1.
int ShowInnerZeros(const FitPicture &p, int placedStart, char *out) noexcept {
    int firstSignificant = -1;
    for (int k = placedStart; k < p.n; ++k)
        if (IsDigit19(out[k])) {
            firstSignificant = k;
            break;
        }
    if (firstSignificant >= 0)
        for (int k = firstSignificant + 1; k < p.n; ++k)
            if (out[k] == ' ' && IsDigitPosition(p.picture[k])) out[k] = '0';
    return firstSignificant;
}

// Without a sign position of its own the picture shows the sign just left
// of the first digit. Returns where it went, or -1.
int PlaceFloatingSign(const FitPicture &p, char sign, int placedStart, int firstSignificant,
                      char *out) noexcept {
    if (sign == 0 || p.signPosition) return -1;
    int firstDigit = firstSignificant;
    for (int k = placedStart; firstDigit < 0 && k < p.n; ++k)
        if (IsDigit(out[k])) firstDigit = k;
    if (firstDigit < 0) firstDigit = placedStart;
    const int signAt = firstDigit - 1;
    if (signAt >= 0) out[signAt] = sign;
    return signAt;
}

// Lays out the positions left of the first significant digit (leftEnd),
// but signAt: fill characters, a floating "$", zeros of "9" and the markers
// by the amount's sign.
void LayOutLeftSide(const FitPicture &p, int leftEnd, int signAt, bool negative,
                    char *out) noexcept {
    const char *picture = p.picture;
    int floatAt = -1;  // where a single floating "$" lands
    if (p.dollars == 1 && !p.star)
        for (int i = leftEnd - 1; i >= 0 && floatAt < 0; --i)
            if (i != signAt && (picture[i] == 'Z' || picture[i] == 'z' || picture[i] == '$'))
                floatAt = i;
    const bool leadingSign =
        p.n > 0 && (picture[0] == '-' || picture[0] == '+' || picture[0] == '(');
    for (int i = leftEnd - 1; i >= 0; --i) {
        if (i == signAt) continue;
        const char c = picture[i];
        switch (c) {
            case 'Z': case 'z': case '$': case '*':
                if (c == '*') {
                    out[i] = '*';
                } else if (p.dollars >= 2) {
                    out[i] = '$';
                } else if (p.star) {
                    const bool exempt = i == 0 || (i == 1 && leadingSign);
                    out[i] = !exempt ? '*' : (c == '$' ? '$' : ' ');
                } else {
                    out[i] = i == floatAt ? '$' : ' ';
                }
                break;
            case '9': out[i] = '0'; break;
            case '-': case '(': case ')': out[i] = negative ? c : ' '; break;
            case '+': out[i] = negative ? '-' : '+'; break;
            case 'C': out[i] = ' '; break;
            case 'R':
                out[i] = IsDebitR(picture, p.n, i) ? 'R' : ' ';
                break;
            default: out[i] = c; break;
        }
    }
}

// Fill characters spread over separators left of the digits; a single "$"
// slides up to the first digit; separators after blanks vanish.
void SpreadFill(const FitPicture &p, char *out) noexcept {
    for (int i = 0; i + 1 < p.n; ++i) {
        const char next = out[i + 1];
        if (out[i] == '$' || out[i] == '*') {
            if (IsDigit19(next) || (next == '0' && p.nine) || IsSignOrMarker(next)) continue;
            if (p.dollars >= 2) {
                out[i + 1] = '$';
            } else if (p.star) {
                out[i + 1] = '*';
            } else if (out[i] == '$' && next != '0') {
                out[i + 1] = '$';
                out[i] = ' ';
            }
        } else if (out[i] == ' ') {
            if (!IsDigit(next) && !IsSignOrMarker(next) && next != '$') out[i + 1] = ' ';
        }
    }
}

// Moves a "-" shown inside the field to its front.
void MoveMinusToFront(int n, char *out) noexcept {
    if (n < 2) return;
    const char *minus =
        static_cast<const char *>(std::memchr(out + 1, '-', static_cast<size_t>(n - 1)));
    if (minus == nullptr) return;
    const int at = static_cast<int>(minus - out);
    std::memmove(out + 1, out, at);
    out[0] = '-';
}

// Lays digits (count of them) and an optional sign into the n positions of
// picture, right-aligned, as a field of that picture shows them; out receives
// n characters. Returns 0, or 2 when the digits do not fit.
int FitDigits(const char *picture, int n, const char *digits, int count, char sign,
              char *out) noexcept {
    const FitPicture p = ReadFitPicture(picture, n);
    if (count + (p.dollars > 0 ? 1 : 0) > p.capacity) return 2;
    const int placedStart = PlaceDigits(p, digits, count, out);
    const int firstSignificant = ShowInnerZeros(p, placedStart, out);
    const int signAt = PlaceFloatingSign(p, sign, placedStart, firstSignificant, out);
    const bool negative = sign == '-';
    LayOutLeftSide(p, firstSignificant >= 0 ? firstSignificant : n, signAt, negative, out);
    SpreadFill(p, out);
    if (negative && !p.signPosition) MoveMinusToFront(n, out);
    return 0;
}

// Lays value over a mask picture position by position.
int ApplyMask(const char *picture, int n, const char *value, char *out) noexcept {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char p = picture[i];
        const char c = value[v];
        if (!(IsDigit(c) || (c != '\0' && std::strchr(" -+_()/:.", c) != nullptr) ||
              (c != '\0' && c == p)))
            return 1;
        switch (p) {
            case '0': case 'Z': case 'z':
                out[i] = c == '0' ? ' ' : c;
                ++v;
                break;
            case '9':
                out[i] = c == ' ' ? '0' : c;
                ++v;
                break;
            case 'B': case 'b':
                out[i] = ' ';
                if (c == ' ') ++v;
                break;
            default:
                out[i] = p;
                if (c == p) ++v;
                break;
        }
    }
    for (; value[v] != '\0'; ++v)
        if (value[v] != ' ') return 1;
    return 0;
}

// Reads a trimmed plain number. Returns 0 or 1.
int ReadNumber(const char *text, bool pictureHasPoint, Number *num) noexcept {
    if (std::strstr(text, "..") != nullptr) return 1;
    bool point = false;
    num->integerCount = -1;
    for (const char *p = text; *p != '\0'; ++p) {
        const char c = *p;
        if (IsDigit(c)) {
            num->digits[num->count++] = c;
        } else if (c == '+' || c == '-') {
            if (num->sign != 0) return 1;
            num->sign = c;
        } else if (c == '.') {
            if (!pictureHasPoint) break;
            if (point) return 1;
            point = true;
            num->integerCount = num->count;
        } else {
            return 1;
        }
    }
    if (num->integerCount < 0) num->integerCount = num->count;
    return 0;
}

// Pictures without "." (and the top level of those with one): sign and marker
// positions after the last digit position show by the amount's sign.
void ShowTrailingMarkers(const char *picture, int n, bool negative, char *out) noexcept {
    int last = n - 1;
    while (last >= 0 && !IsDigitPosition(picture[last])) --last;
    for (int i = last + 1; i < n; ++i)
        if (IsSignOrMarker(picture[i])) out[i] = TrailingMarker(picture, n, i, negative);
}

// Lays the fraction digits of num into the fl positions of fraction, out
// receiving fl characters. The fraction is laid out mirrored, so that "0"
// positions suppress trailing zeros as "Z" suppresses leading ones. Digits
// beyond the fraction's positions are dropped.
void FitFraction(const char *fraction, int fl, const Number &num, char *out) noexcept {
    char mirrored[kPictureMax + 1];
    int fractionCapacity = 0;
    for (int i = 0; i < fl; ++i) {
        const char c = fraction[fl - 1 - i];
        mirrored[i] = c == '0' ? 'Z' : c;
        if (IsDigitPosition(mirrored[i])) ++fractionCapacity;
    }
    const int fractionCount = std::min(num.count - num.integerCount, fractionCapacity);
    char reversedDigits[kPictureMax + 1];
    for (int i = 0; i < fractionCount; ++i)
        reversedDigits[i] = num.digits[num.integerCount + fractionCount - 1 - i];
    FitDigits(mirrored, fl, reversedDigits, fractionCount, 0, out);
    std::reverse(out, out + fl);
}

// Trailing blank positions take what the fraction picture shows there;
// trailing markers already shown are set by the amount's sign.
void ShowFractionEnd(const char *fraction, int fl, int n, bool negative, char *out) noexcept {
    const int p = n - fl - 1;
    const bool hasMinus = std::memchr(out, '-', n) != nullptr;
    int d = 0;
    for (; d < fl && out[n - 1 - d] == ' '; ++d) {
        const int fi = fl - 1 - d;
        const char c = fraction[fi];
        if (c == '9') {
            out[n - 1 - d] = '0';
        } else if (IsSignOrMarker(c) && !(c == '-' && hasMinus)) {
            out[n - 1 - d] = TrailingMarker(fraction, fl, fi, negative);
        }
    }
    if (d == 0)
        for (int fi = fl - 1; fi >= 0 && IsSignOrMarker(fraction[fi]); --fi)
            out[p + 1 + fi] = TrailingMarker(fraction, fl, fi, negative);
}

bool AllBlank(const char *text, int n) noexcept {
    for (int i = 0; i < n; ++i)
        if (text[i] != ' ') return false;
    return true;
}

int FormatWithPoint(const char *pic, int n, const PictureInfo &info, const Number &num,
                    char *out) noexcept {
    const int p = info.point;
    const char *fraction = pic + p + 1;
    const int fl = n - p - 1;
    const bool fractionHasMarker = info.fractionSigns > 0;
    const bool integerHasMarker = info.signs > info.fractionSigns;
    const int needed = num.integerCount + (info.dollars > 0 ? 1 : 0) +
                       (num.sign != 0 && !fractionHasMarker ? 1 : 0);
    if (needed > p) return 2;

    char integerSign = 0;
    if (num.sign != 0 && num.integerCount < p && (integerHasMarker || !fractionHasMarker))
        integerSign = num.sign;
    const int rc = FitDigits(pic, p, num.digits, num.integerCount, integerSign, out);
    if (rc != 0) return rc;
    char fractionOut[kPictureMax + 1];
    FitFraction(fraction, fl, num, fractionOut);

    const bool fractionHasZero = std::memchr(fraction, '0', fl > 0 ? fl : 0) != nullptr;
    const bool blankJoint = AllBlank(fractionOut, fl) && (fractionHasZero || AllBlank(out, p));
    out[p] = blankJoint ? ' ' : '.';
    std::memcpy(out + p + 1, fractionOut, fl);

    bool significant = false;
    for (int i = 0; i < n; ++i) significant = significant || IsDigit19(out[i]);
    if (info.nines == 0 && !significant) {
        std::memset(out, ' ', n);
        return 0;
    }
    if (blankJoint) return 0;
    ShowFractionEnd(fraction, fl, n, num.sign == '-', out);
    if (num.sign != 0 && info.signs == 0 && std::memchr(out, '-', n) == nullptr &&
        std::memchr(out, '+', n) == nullptr) {
        if (out[0] == '$' && n > 1) out[1] = '$';
        out[0] = num.sign;
    }
    return 0;
}

// Negative amounts in a picture without sign or marker positions and with
// two or more "Z": the first "Z" gives its place to a leading "-" (when a ","
// follows that "Z", the "," goes instead).
void MakeSignedPicture(char *pic, int n) noexcept {
    int z = 0;
    while (z < n && pic[z] != 'Z' && pic[z] != 'z') ++z;
    if (z == n) return;
    const int drop = (z + 1 < n && pic[z + 1] == ',') ? z + 1 : z;
    std::memmove(pic + 1, pic, drop);
    pic[0] = '-';
}

int FormatValue(int len, char *picture, char *value) noexcept {
    if (value[0] == '\0') return 0;
    if (len > kPictureMax) return 1;
    const size_t pictureLength = std::strcspn(picture, " ");
    StoreIfChanged(picture[pictureLength], '\0');
    if (len < 0) return 3;
    if (strnlen(value, len) == static_cast<size_t>(len)) StoreIfChanged(value[len], '\0');
    if (pictureLength != static_cast<size_t>(len)) return 3;

    const int n = len;
    char pic[kPictureMax + 1];
    std::memcpy(pic, picture, n);
    pic[n] = '\0';
    PictureInfo info;
    if (!ScanPicture(pic, n, ScanMode::Format, &info)) return 3;

    char text[kPictureMax + 1];
    std::strcpy(text, value);
    char *start = text;
    while (IsBlank(*start)) ++start;

    if (info.signs == 0 && info.literals == 0 && info.zeds >= 2 && IsPlainNegative(start)) {
        MakeSignedPicture(pic, n);
        if (start[1] == '0') std::memmove(start + 1, start + 2, std::strlen(start + 1));
        if (!ScanPicture(pic, n, ScanMode::Format, &info)) return 3;
    }

    char out[kPictureMax + 1];
    if (info.literals > 0) {
        const int rc = ApplyMask(pic, n, value, out);
        if (rc != 0) return rc;
    } else {
        size_t end = std::strlen(start);
        while (end > 0 && IsBlank(start[end - 1])) --end;
        start[end] = '\0';
        Number num;
        if (ReadNumber(start, info.point >= 0, &num) != 0) return 1;
        int rc;
        if (info.point < 0) {
            rc = FitDigits(pic, n, num.digits, num.integerCount, num.sign, out);
            if (rc == 0) ShowTrailingMarkers(pic, n, num.sign == '-', out);
        } else {
            rc = FormatWithPoint(pic, n, info, num, out);
        }
        if (rc != 0) return rc;
    }
    out[n] = '\0';
    ReplaceIfChanged(value, out);
    return 0;
}

}  // namespace
}  // namespace cmnw::number

extern "C" int FMTValNumFormat(int len, char *picture, char *value) noexcept {
    if (picture == nullptr || value == nullptr) return 3;
    return cmnw::number::FormatValue(len, picture, value);
}
