// Keyword option parsing: KEYWORD(value) entries and bare flags taken one at
// a time from the front of a caller's text, cut in place.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "cmnw32/ctype.h"
#include "cmnw32/errors.h"
#include "cmnw32/keyword.h"
#include "common/text.h"

namespace cmnw::keyword {
namespace {

// Reports are formatted into buffers of this size; quoted caller text is cut
// to fit.
constexpr size_t kMessageSize = 256;

inline bool IsBlank(char c) { return IsBlankChar(static_cast<unsigned char>(c)); }

inline char *SkipBlanks(char *p) {
    while (IsBlank(*p)) ++p;
    return p;
}

// Reports "<lead><quoted><trail>" under where, the quoted text cut so the
// whole message fits kMessageSize - 1 characters.
void Report(const char *where, const char *lead, const char *quoted) {
    static constexpr char kTrail[] = ">.\n";
    char message[kMessageSize];
    const size_t room = kMessageSize - 1 - std::strlen(lead) - (sizeof kTrail - 1);
    FormatBounded(message, sizeof message, "%s%.*s%s", lead, static_cast<int>(room), quoted,
                  kTrail);
    UTLPlatformError(where, 0, 0, message);
}

// The position right after keyword when text starts with it (case ignored
// through the class table's upper-case map), else null.
char *AfterKeyword(char *text, const char *keyword) {
    size_t i = 0;
    for (; keyword[i] != '\0'; ++i) {
        if (text[i] == '\0' || UTLtoupper(static_cast<unsigned char>(text[i])) !=
                                   UTLtoupper(static_cast<unsigned char>(keyword[i]))) {
            return nullptr;
        }
    }
    return text + i;
}

bool UsableArguments(char **cursor, const void *out, const char *keyword) {
    return cursor != nullptr && out != nullptr && keyword != nullptr && keyword[0] != '\0' &&
           *cursor != nullptr && (*cursor)[0] != '\0';
}

// Takes "keyword ( value )" from *cursor: cuts the value in place and
// returns it, moving the cursor past the entry and one comma. Null when the
// keyword does not start the text (nothing touched) or when the entry is
// malformed (reported, cursor moved).
char *TakeValue(char **cursor, const char *keyword, const char *where) {
    char *const start = *cursor;
    char *p = AfterKeyword(start, keyword);
    if (p == nullptr || (!IsBlank(*p) && *p != '(')) return nullptr;
    p = SkipBlanks(p);
    if (*p != '(') {
        Report(where, "Error: Invalid parameter <", start);
        *cursor = p;
        return nullptr;
    }
    char *const open = p;
    char *close = open + 1;
    for (int depth = 1; *close != '\0'; ++close) {
        if (*close == '(') {
            ++depth;
        } else if (*close == ')' && --depth == 0) {
            break;
        }
    }
    if (*close == '\0') {
        Report(where, "Error: Unbalanced parentheses on <", start);
        *cursor = open + 1;
        return nullptr;
    }
    *close = '\0';
    for (char *end = close; end > open + 1 && IsBlank(end[-1]);) *--end = '\0';
    char *next = SkipBlanks(close + 1);
    if (*next == ',') ++next;
    *cursor = SkipBlanks(next);
    return SkipBlanks(open + 1);
}

int32_t TakeInteger(char **cursor, int32_t *out, const char *keyword, const char *where) {
    if (!UsableArguments(cursor, out, keyword)) return 0;
    const char *value = TakeValue(cursor, keyword, where);
    if (value == nullptr) return 0;
    char *end = nullptr;
    const long long v = std::strtoll(value, &end, 10);
    if (*end != '\0') {
        Report(where, "Error: Invalid interger value <", value);
        return 0;
    }
    if (v > INT32_MAX) {
        Report(where, "Error: Interger value is too large <", value);
        return 0;
    }
    if (v < INT32_MIN) {
        Report(where, "Error: Interger value is too small <", value);
        return 0;
    }
    *out = static_cast<int32_t>(v);
    return 1;
}

// strtod in the "C" locale, whatever locale the caller's program chose.
double StrtodC(const char *text, char **end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return cLocale != static_cast<locale_t>(nullptr) ? strtod_l(text, end, cLocale)
                                                     : std::strtod(text, end);
}

int32_t ParseString(char **cursor, char **out, const char *keyword) noexcept {
    if (!UsableArguments(cursor, out, keyword)) return 0;
    char *value = TakeValue(cursor, keyword, "UTLParseKeywordStr");
    if (value == nullptr) return 0;
    *out = value;
    return 1;
}

int32_t ParseInt(char **cursor, int32_t *out, const char *keyword) noexcept {
    return TakeInteger(cursor, out, keyword, "UTLParseKeywordInt");
}

int32_t ParseLong(char **cursor, int32_t *out, const char *keyword) noexcept {
    return TakeInteger(cursor, out, keyword, "UTLParseKeywordLong");
}

int32_t ParseFlag(char **cursor, int32_t *out, const char *keyword) noexcept {
    if (!UsableArguments(cursor, out, keyword)) return 0;
    char *p = AfterKeyword(*cursor, keyword);
    if (p == nullptr || (!IsBlank(*p) && *p != ',' && *p != '\0')) return 0;
    p = SkipBlanks(p);
    if (*p == ',') ++p;
    *cursor = SkipBlanks(p);
    *out = 1;
    return 1;
}

int32_t ParseDouble(char **cursor, double *out, const char *keyword) noexcept {
    static constexpr char kWhere[] = "UTLParseKeywordDouble";
    if (!UsableArguments(cursor, out, keyword)) return 0;
    const char *value = TakeValue(cursor, keyword, kWhere);
    if (value == nullptr) return 0;
    // Decimal numbers only: no hexadecimal, infinity or NaN spellings.
    const bool decimal = value[std::strspn(value, "0123456789+-.eE")] == '\0';
    char *end = nullptr;
    const double v = StrtodC(value, &end);
    if (!decimal || *end != '\0') {
        Report(kWhere, "Error: Invalid double value <", value);
        return 0;
    }
    if (std::isinf(v)) {
        Report(kWhere, "Error: Value out of range <", value);
        return 0;
    }
    *out = v;
    return 1;
}

}  // namespace
}  // namespace cmnw::keyword

using namespace cmnw::keyword;

extern "C" int32_t UTLParseKeywordStr(char **cursor, char **value, const char *keyword) noexcept {
    return ParseString(cursor, value, keyword);
}

extern "C" int32_t UTLParseKeywordInt(char **cursor, int32_t *value, const char *keyword) noexcept {
    return ParseInt(cursor, value, keyword);
}

extern "C" int32_t UTLParseKeywordLong(char **cursor, int32_t *value,
                                       const char *keyword) noexcept {
    return ParseLong(cursor, value, keyword);
}

extern "C" int32_t UTLParseKeywordBool(char **cursor, int32_t *value,
                                       const char *keyword) noexcept {
    return ParseFlag(cursor, value, keyword);
}

extern "C" int32_t UTLParseKeywordDouble(char **cursor, double *value,
                                         const char *keyword) noexcept {
    return ParseDouble(cursor, value, keyword);
}
