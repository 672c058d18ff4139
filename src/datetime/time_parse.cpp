// Reading and printing time texts: the time parser, the formatter, typed
// time validation and deformatting.
#include <climits>
#include <cstdio>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/time.h"
#include "common/text.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

constexpr size_t kMaxTimeInput = 255;
// Typed times are read up to this many characters.
constexpr size_t kMaxTypedTime = 14;

bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

// The leading integer of [p, end) as atoi reads it, saturated.
int LeadingIntIn(const char *p, const char *end) noexcept {
    while (p < end && IsBlankChar(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    long long value = 0;
    while (p < end && IsDigit(*p)) {
        if (value <= INT_MAX) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Reads a time written without separators: hhmmss under formats 1 and 2,
// hhmm under 3 and 4, two characters a field as "%2d" scans them.
bool ParseWithoutSeparators(const char *text, int fmtNum, TimeValues &v) noexcept {
    const size_t length = std::strlen(text);
    if (length == 6 && (fmtNum == 1 || fmtNum == 2)) {
        std::sscanf(text, "%2d%2d%2d", &v.hour, &v.minute, &v.second);
        return true;
    }
    if (length == 4 && (fmtNum == 3 || fmtNum == 4)) {
        std::sscanf(text, "%2d%2d", &v.hour, &v.minute);
        return true;
    }
    return false;
}

struct Token {
    const char *begin = nullptr;
    const char *end = nullptr;
};

// The next run of characters that are not time separators, from p.
Token NextTimeToken(const char *&p) noexcept {
    while (*p != '\0' && IsTimeSeparator(static_cast<unsigned char>(*p))) ++p;
    Token token{p, p};
    while (*p != '\0' && !IsTimeSeparator(static_cast<unsigned char>(*p))) ++p;
    token.end = p;
    return token;
}

// The first two characters of token into word (3 bytes).
void TakeMarkerWord(Token token, bool trim, char *word) noexcept {
    if (trim) {
        while (token.begin < token.end && IsBlankChar(static_cast<unsigned char>(*token.begin)))
            ++token.begin;
        while (token.end > token.begin && IsBlankChar(static_cast<unsigned char>(token.end[-1])))
            --token.end;
    }
    size_t n = 0;
    while (n < 2 && token.begin + n < token.end) {
        word[n] = token.begin[n];
        ++n;
    }
    word[n] = '\0';
}

}  // namespace

int LeadingInt(const char *text) noexcept {
    return LeadingIntIn(text, text + LengthBounded(text, 64));
}

size_t WriteDecimal(char *out, int64_t value, int width) noexcept {
    char digits[24];
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    char *p = out;
    if (value < 0) *p++ = '-';
    for (int pad = width - static_cast<int>(n) - (value < 0 ? 1 : 0); pad > 0; --pad) *p++ = '0';
    while (n > 0) *p++ = digits[--n];
    return static_cast<size_t>(p - out);
}

int ParseTime(const char *text, size_t textMax, int fmtNum, TimeValues &v) noexcept {
    v = TimeValues{};
    char buffer[kMaxTimeInput + 1];
    CopyBoundedN(buffer, sizeof buffer, text, textMax < kMaxTimeInput ? textMax : kMaxTimeInput);
    TrimInPlace(buffer);
    const int result = IsDigit(buffer[0]) ? 0 : 1;

    bool hasSeparator = false;
    for (const char *p = buffer; *p != '\0'; ++p) {
        if (IsTimeSeparator(static_cast<unsigned char>(*p))) {
            hasSeparator = true;
            break;
        }
    }

    char word[3] = "";
    bool wordTaken = false;
    if (!hasSeparator) {
        if (!ParseWithoutSeparators(buffer, fmtNum, v)) return 1;
    } else {
        const char *p = buffer;
        const Token tokens[4] = {NextTimeToken(p), NextTimeToken(p), NextTimeToken(p),
                                 NextTimeToken(p)};
        auto present = [](const Token &t) { return t.begin != t.end; };
        if (present(tokens[0])) v.hour = LeadingIntIn(tokens[0].begin, tokens[0].end);
        if (present(tokens[1])) v.minute = LeadingIntIn(tokens[1].begin, tokens[1].end);
        if (present(tokens[2])) {
            if (IsDigit(*tokens[2].begin)) {
                v.second = LeadingIntIn(tokens[2].begin, tokens[2].end);
            } else {
                TakeMarkerWord(tokens[2], true, word);
                wordTaken = true;
            }
        }
        if (present(tokens[3])) {
            TakeMarkerWord(tokens[3], false, word);
            wordTaken = true;
        }
    }

    if (v.hour < 0 || v.hour > 23 || v.minute < 0 || v.minute > 59 || v.second < 0 ||
        v.second > 59)
        return 1;

    if (wordTaken) {
        if (UTLstricmp(word, "AM") == 0) {
            std::memcpy(v.marker, "AM", 3);
            if (v.hour == 12) v.hour = 0;
            if (v.hour > 11) return 1;
        } else if (UTLstricmp(word, "PM") == 0) {
            std::memcpy(v.marker, "PM", 3);
            if (v.hour < 12) v.hour += 12;
        } else {
            return 1;
        }
    }
    return result;
}

size_t MakeTime(char *out, size_t outSize, const TimeLayout &layout, int hour, int minute,
                int second) noexcept {
    if (out == nullptr || outSize == 0) return 0;
    const char *marker = nullptr;
    int64_t shownHour = hour;
    if (IsTwelveHourFormat(layout.fmtNum)) {
        marker = FMTHour12Name(hour);
        if (shownHour > 12) shownHour -= 12;
        if (shownHour == 0) shownHour = 12;
    }
    char text[kAnyTimeTextSize + 8];
    char *p = text;
    p += WriteDecimal(p, shownHour, 2);
    *p++ = layout.sep;
    p += WriteDecimal(p, minute, 2);
    if (HasSecondsField(layout.fmtNum)) {
        *p++ = layout.sep;
        p += WriteDecimal(p, second, 2);
    }
    if (marker != nullptr) {
        *p++ = ' ';
        while (*marker != '\0') *p++ = *marker++;
    }
    *p = '\0';
    return CopyBounded(out, outSize, text);
}

bool IsBlankEntry(const char *text, bool (*isSep)(int)) noexcept {
    if (!isSep(static_cast<unsigned char>(text[0]))) return false;
    const char *p = text + 1;
    while (IsBlankChar(static_cast<unsigned char>(*p))) ++p;
    if (*p == '\0') return true;
    return isSep(static_cast<unsigned char>(*p)) && p[1] == '\0';
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

namespace {

bool IsTimeSepChar(int ch) { return IsTimeSeparator(ch); }

// Copies at most min(maxLen, 14) characters of text and trims them.
void CopyTypedTime(char (&buffer)[kMaxTypedTime + 1], const char *text, unsigned maxLen) noexcept {
    cmnw::CopyBoundedN(buffer, sizeof buffer, text, maxLen < kMaxTypedTime ? maxLen : kMaxTypedTime);
    cmnw::TrimInPlace(buffer);
}

}  // namespace

extern "C" int FMTGetTimeFmtValues(const char *text, int fmtNum, const char * /*sep*/,
                                   char *marker, int *hour, int *minute, int *second) noexcept {
    TimeValues v;
    const int result = text == nullptr ? 1 : ParseTime(text, kMaxTimeInput, fmtNum, v);
    if (marker != nullptr) std::memcpy(marker, v.marker, sizeof v.marker);
    if (hour != nullptr) *hour = v.hour;
    if (minute != nullptr) *minute = v.minute;
    if (second != nullptr) *second = v.second;
    return result;
}

extern "C" int FMTValTime(char *text, unsigned maxLen, const char *descriptor) noexcept {
    if (text == nullptr) return 1;
    const TimeLayout layout = DecodeTimeDescriptor(descriptor);
    char buffer[kMaxTypedTime + 1];
    CopyTypedTime(buffer, text, maxLen);
    if (buffer[0] == '\0') return 0;
    char canonical[kTimeTextSize];
    if (IsBlankEntry(buffer, IsTimeSepChar)) {
        const char sep[2] = {layout.sep, '\0'};
        if (HasSecondsField(layout.fmtNum))
            cmnw::FormatBounded(canonical, sizeof canonical, "  %s  %s  ", sep, sep);
        else
            cmnw::FormatBounded(canonical, sizeof canonical, "  %s  ", sep);
        cmnw::ReplaceIfChanged(text, canonical);
        return 0;
    }
    TimeValues v;
    if (ParseTime(buffer, sizeof buffer, layout.fmtNum, v) != 0) return 1;
    const size_t length = MakeTime(canonical, sizeof canonical, layout, v.hour, v.minute, v.second);
    cmnw::ReplaceIfChanged(text, canonical, length);
    return 0;
}

extern "C" int FMTDeformatTime(char *text, unsigned maxLen, const char *descriptor) noexcept {
    if (text == nullptr) return 1;
    const TimeLayout layout = DecodeTimeDescriptor(descriptor);
    char buffer[kMaxTypedTime + 1];
    CopyTypedTime(buffer, text, maxLen);
    TimeValues v;
    if (ParseTime(buffer, sizeof buffer, layout.fmtNum, v) != 0) return 1;
    char canonical[kTimeTextSize];
    const size_t length = MakeTime(canonical, sizeof canonical, layout, v.hour, v.minute, v.second);
    cmnw::ReplaceIfChanged(text, canonical, length);
    return 0;
}

extern "C" int FMTMakeTime(char *out, const char *descriptor, int hour, int minute,
                           int second) noexcept {
    if (out == nullptr) return 1;
    MakeTime(out, kAnyTimeTextSize, DecodeTimeDescriptor(descriptor), hour, minute, second);
    return 0;
}
