// Month and day names of the current locale, the host locale, and the
// month-name matcher used by the date and time parsers.
#include <cstdint>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/datetime_state.h"
#include "locale/locale.h"

namespace cmnw::datetime {
namespace {

// Index of the first name of names[count] that text begins with, compared
// without regard to case, or -1. *length receives the name's length.
// The first letters are compared through the lower-case block first, which
// rules most names out without a full comparison.
template <size_t Width>
int MatchName(const char (*names)[Width], int count, const char *text, size_t textLength,
              size_t *length) noexcept {
    const uint16_t *lower = GetCTypeTable() + CT_LOWER_MAP;
    const uint16_t first = lower[textLength > 0 ? static_cast<unsigned char>(text[0]) : 0];
    for (int i = 0; i < count; ++i) {
        const size_t n = LengthBounded(names[i], Width);
        if (n > textLength) continue;
        if (n > 0 && lower[static_cast<unsigned char>(names[i][0])] != first) continue;
        if (UTLstrnicmp(text, names[i], n) == 0) {
            *length = n;
            return i;
        }
    }
    return -1;
}

int MatchIn(const LocaleSettings &ls, const char *text, size_t textLength,
            size_t *length) noexcept {
    int i = MatchName(ls.monthName, 12, text, textLength, length);
    if (i < 0) i = MatchName(ls.monthAbbrev, 12, text, textLength, length);
    return i + 1;
}

}  // namespace

int MonthNumberFromName(const char *text, size_t textMax, size_t *nameLength) noexcept {
    if (text == nullptr) return 0;
    if (text[0] >= '0' && text[0] <= '9') return 0;
    const size_t textLength = LengthBounded(text, textMax);
    size_t length = 0;
    int month;
    char host[kHostLocaleMax + 1];
    LoadHostLocale(host);
    if (host[0] != '\0') {
        cmnw::locale::ChooseCurrentOnce();
        LocaleSettings scratch;
        month = MatchIn(*cmnw::locale::SettingsFor(host, &scratch), text, textLength, &length);
    } else {
        month = MatchIn(cmnw::locale::Current(), text, textLength, &length);
    }
    if (nameLength != nullptr) *nameLength = month > 0 ? length : 0;
    return month;
}

}  // namespace cmnw::datetime

using namespace cmnw::datetime;

extern "C" void FMTSetHostLocale(const char *name) noexcept {
    StoreHostLocale(name);
}

extern "C" char *FMTGetHostLocale(char *dst) noexcept {
    // Without a buffer of the caller's, the name goes into one of the
    // calling thread's.
    static constinit thread_local char own[kHostLocaleMax + 1];
    char host[kHostLocaleMax + 1];
    LoadHostLocale(host);
    char *out = dst != nullptr ? dst : own;
    std::memcpy(out, host, std::strlen(host) + 1);
    return out;
}

extern "C" const char *FMTMonthName(int month) noexcept {
    if (month < 1 || month > 12) return nullptr;
    return cmnw::locale::Current().monthName[month - 1];
}

extern "C" const char *FMTMonthName3(int month) noexcept {
    if (month < 1 || month > 12) return nullptr;
    return cmnw::locale::Current().monthAbbrev[month - 1];
}

extern "C" const char *FMTDayName(int day) noexcept {
    if (day < 1 || day > 7) return nullptr;
    return cmnw::locale::Current().dayName[day - 1];
}
