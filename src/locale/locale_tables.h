// Constant data of the locale family: the built-in locale table, the month,
// day and yes/no words of each language group, and the ICU id table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cmnw32/ctype.h"

namespace cmnw::locale {

enum class LanguageGroup : uint8_t {
    English,
    French,
    German,
    Spanish,
    Italian,
    Dutch,
    Danish,
    Finnish,
    Icelandic,
    Indonesian,
    Norwegian,
    Portuguese,
    Swedish,
};
inline constexpr size_t kLanguageGroupCount = 13;

// One built-in locale. Texts are ISO 8859-1.
struct LocaleRow {
    const char *name;
    LanguageGroup group;
    const char *decimalSep;
    const char *thousandSep;
    const char *currency;
    const char *currencyPlacement;
    const char *dbValue;
    const char *drValue;
    const char *crValue;
    int32_t dateFormat;
    int32_t paperSize;
    const char *spellDict;
};

// Names of one language group. A null yes or no word keeps "Yes" / "No".
struct LanguageNames {
    const char *monthName[12];
    const char *monthAbbrev[12];
    const char *dayName[7];
    const char *yesText;
    const char *noText;
};

struct IcuIdRow {
    const char *name;
    const char *icuId;
};

inline constexpr size_t kLocaleRowCount = 46;
inline constexpr size_t kIcuIdRowCount = 49;

// In compare order; row 0 is "USD", the values of unknown names.
extern const LocaleRow kLocaleRows[kLocaleRowCount];
// Indexed by LanguageGroup.
extern const LanguageNames kLanguageNames[kLanguageGroupCount];
// January of the German group for "ATS".
extern const char kAustrianJanuary[];
// In compare order; the first equal name gives the id.
extern const IcuIdRow kIcuIdRows[kIcuIdRowCount];

// Locale names match without regard to letter case, by the class table.
inline bool SameLocaleName(const char *a, const char *b) noexcept {
    return UTLstricmp(a, b) == 0;
}

}  // namespace cmnw::locale
