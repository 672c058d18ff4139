// UTLGetLocaleSettings: builds a locale's settings from the built-in table
// and its configuration section, and keeps each named locale's record in a
// cache for the life of the process.
#include "locale/locale_settings.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "cmnw32/cfg.h"
#include "common/text.h"
#include "locale/locale_tables.h"

namespace cmnw::locale {
namespace {

struct CacheEntry {
    LocaleSettings settings;
    LocaleKey key;
};

// A configured spelling dictionary list, kept for the life of the process so
// that every record pointing to it stays readable.
struct KeptText {
    KeptText *next;
    char text[1];
};

// Open-addressed hash table of entries; entries never move or go away.
struct SettingsState {
    CacheEntry **slots;
    size_t mask;  // capacity - 1; capacity is a power of two
    size_t count;
    KeptText *keptTexts;
};

constinit SettingsState g_settings{nullptr, 0, 0, nullptr};

constexpr size_t kInitialCapacity = 128;

constexpr const char *kDayKeys[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
constexpr const char *kMonthKeys[12] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
// The abbreviation of May shares the key of its full name.
constexpr const char *kAbbrevKeys[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

size_t SlotOf(const LocaleKey &key, size_t mask) noexcept {
    uint64_t h = key.lo * 0x9E3779B97F4A7C15ull ^ key.hi * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    return static_cast<size_t>(h) & mask;
}

CacheEntry *FindEntry(const LocaleKey &key) noexcept {
    if (g_settings.slots == nullptr) return nullptr;
    for (size_t i = SlotOf(key, g_settings.mask);; i = (i + 1) & g_settings.mask) {
        CacheEntry *entry = g_settings.slots[i];
        if (entry == nullptr) return nullptr;
        if (entry->key == key) return entry;
    }
}

void PlaceEntry(CacheEntry **slots, size_t mask, CacheEntry *entry) noexcept {
    size_t i = SlotOf(entry->key, mask);
    while (slots[i] != nullptr) i = (i + 1) & mask;
    slots[i] = entry;
}

// Makes room for one more entry (load at most one half); false when memory
// runs out, in which case the table is unchanged.
bool ReserveSlot() noexcept {
    size_t capacity = g_settings.slots == nullptr ? 0 : g_settings.mask + 1;
    if ((g_settings.count + 1) * 2 <= capacity) return true;
    size_t grown = capacity == 0 ? kInitialCapacity : capacity * 2;
    auto **slots = new (std::nothrow) CacheEntry *[grown]();
    if (slots == nullptr) return false;
    for (size_t i = 0; i < capacity; ++i)
        if (g_settings.slots[i] != nullptr) PlaceEntry(slots, grown - 1, g_settings.slots[i]);
    delete[] g_settings.slots;
    g_settings.slots = slots;
    g_settings.mask = grown - 1;
    return true;
}

// A process-lifetime copy of text (one per distinct text), or null when
// memory runs out.
const char *KeepText(const char *text) noexcept {
    for (KeptText *kept = g_settings.keptTexts; kept != nullptr; kept = kept->next)
        if (std::strcmp(kept->text, text) == 0) return kept->text;
    size_t length = std::strlen(text);
    void *block = ::operator new(sizeof(KeptText) + length, std::nothrow);
    if (block == nullptr) return nullptr;
    auto *kept = static_cast<KeptText *>(block);
    std::memcpy(kept->text, text, length + 1);
    kept->next = g_settings.keptTexts;
    g_settings.keptTexts = kept;
    return kept->text;
}

// atoi without its undefined overflow: leading white space, an optional
// sign, then digits; saturates at the int32 range; 0 when there are none.
int32_t ParseConfiguredNumber(const char *text) noexcept {
    while (IsBlankChar(static_cast<unsigned char>(*text))) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) {
            value = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

template <size_t N>
void CopyText(char (&dst)[N], const char *src) noexcept {
    CopyBounded(dst, N, src);
}

// The built-in table row of name, or null when the table has none.
const LocaleRow *BuiltInRow(const char *name) noexcept {
    if (name[0] == '\0') return nullptr;
    for (const LocaleRow &candidate : kLocaleRows)
        if (SameLocaleName(name, candidate.name)) return &candidate;
    return nullptr;
}

// True when the configuration section of name sets any settings key.
bool SectionSetsAnyKey(const char *name) noexcept {
    static constexpr const char *kOtherKeys[] = {
        "DecimalSep",        "ThousandSep", "Currency", "DBValue", "DRValue", "CRValue",
        "CurrencyPlacement", "ValidChars",  "Yes",      "No",      "AM",      "PM",
        "PaperSize",         "DateFormat",  "SpellDict"};
    char section[32];
    FormatBounded(section, sizeof section, "Language:%s", name);
    char value[2];
    const auto sets = [&section, &value](const char *key) {
        return CFGGetString(section, key, value, sizeof value) != 0;
    };
    for (const char *key : kOtherKeys)
        if (sets(key)) return true;
    for (const char *key : kDayKeys)
        if (sets(key)) return true;
    for (size_t i = 0; i < 12; ++i)
        if (sets(kMonthKeys[i]) || sets(kAbbrevKeys[i])) return true;
    return false;
}

// The record of step one: the built-in values of the table row that name
// matches ("USD" when none does), before the configuration is consulted.
void BuildBuiltIn(const char *name, LocaleSettings *out) noexcept {
    const LocaleRow *row = BuiltInRow(name);
    if (row == nullptr) row = &kLocaleRows[0];
    std::memset(out, 0, sizeof *out);
    CopyText(out->decimalSep, row->decimalSep);
    CopyText(out->thousandSep, row->thousandSep);
    CopyText(out->currency, row->currency);
    CopyText(out->currencyPlacement, row->currencyPlacement);
    CopyText(out->crValue, row->crValue);
    CopyText(out->dbValue, row->dbValue);
    CopyText(out->drValue, row->drValue);
    CopyText(out->validChars, "0123456789-+");
    AppendBounded(out->validChars, sizeof out->validChars, row->thousandSep);
    AppendBounded(out->validChars, sizeof out->validChars, row->decimalSep);

    const LanguageNames &names = kLanguageNames[static_cast<size_t>(row->group)];
    CopyText(out->yesText, names.yesText != nullptr ? names.yesText : "Yes");
    CopyText(out->noText, names.noText != nullptr ? names.noText : "No");
    CopyText(out->amText, "AM");
    CopyText(out->pmText, "PM");
    for (size_t i = 0; i < 12; ++i) {
        CopyText(out->monthName[i], names.monthName[i]);
        CopyText(out->monthAbbrev[i], names.monthAbbrev[i]);
    }
    for (size_t i = 0; i < 7; ++i) CopyText(out->dayName[i], names.dayName[i]);
    if (row->group == LanguageGroup::German && SameLocaleName(name, "ATS"))
        CopyText(out->monthName[0], kAustrianJanuary);

    out->dateFormat = row->dateFormat;
    out->paperSize = row->paperSize;
    out->spellDict = row->spellDict;
}

template <size_t N>
void ReadText(const char *section, const char *key, char (&dst)[N], const char (&def)[N]) noexcept {
    CFGGetStringDef(section, key, dst, N, def);
}

// The built-in record of name with every value its configuration section
// sets, written over *out completely.
void BuildSettings(const char *name, LocaleSettings *out) noexcept {
    LocaleSettings builtIn;
    BuildBuiltIn(name, &builtIn);

    char section[32];
    FormatBounded(section, sizeof section, "Language:%s", name);

    std::memset(out, 0, sizeof *out);
    ReadText(section, "DecimalSep", out->decimalSep, builtIn.decimalSep);
    ReadText(section, "ThousandSep", out->thousandSep, builtIn.thousandSep);
    ReadText(section, "Currency", out->currency, builtIn.currency);
    ReadText(section, "DBValue", out->dbValue, builtIn.dbValue);
    ReadText(section, "DRValue", out->drValue, builtIn.drValue);
    ReadText(section, "CRValue", out->crValue, builtIn.crValue);
    ReadText(section, "CurrencyPlacement", out->currencyPlacement, builtIn.currencyPlacement);
    ReadText(section, "ValidChars", out->validChars, builtIn.validChars);
    ReadText(section, "Yes", out->yesText, builtIn.yesText);
    ReadText(section, "No", out->noText, builtIn.noText);
    for (size_t i = 0; i < 7; ++i)
        ReadText(section, kDayKeys[i], out->dayName[i], builtIn.dayName[i]);
    for (size_t i = 0; i < 12; ++i)
        ReadText(section, kMonthKeys[i], out->monthName[i], builtIn.monthName[i]);
    for (size_t i = 0; i < 12; ++i)
        ReadText(section, kAbbrevKeys[i], out->monthAbbrev[i], builtIn.monthAbbrev[i]);
    ReadText(section, "AM", out->amText, builtIn.amText);
    ReadText(section, "PM", out->pmText, builtIn.pmText);

    char text[128] = {};
    CFGGetString(section, "PaperSize", text, sizeof text);
    out->paperSize = text[0] != '\0' ? ParseConfiguredNumber(text) : builtIn.paperSize;
    std::memset(text, 0, sizeof text);
    CFGGetString(section, "DateFormat", text, sizeof text);
    out->dateFormat = text[0] != '\0' ? ParseConfiguredNumber(text) : builtIn.dateFormat;
    std::memset(text, 0, sizeof text);
    CFGGetString(section, "SpellDict", text, sizeof text);
    const char *kept = text[0] != '\0' ? KeepText(text) : nullptr;
    out->spellDict = kept != nullptr ? kept : builtIn.spellDict;
}

}  // namespace

const LocaleSettings *SettingsFor(const char *name, const LocaleKey &key,
                                  LocaleSettings *scratch) noexcept {
    if (name[0] == '\0') {
        BuildSettings("", scratch);
        return scratch;
    }
    if (CacheEntry *entry = FindEntry(key)) return &entry->settings;

    char cut[UTL_SETTINGS_NAME_MAX + 1];
    CopyBounded(cut, sizeof cut, name);
    CacheEntry *entry = ReserveSlot() ? new (std::nothrow) CacheEntry : nullptr;
    if (entry == nullptr) {
        BuildSettings(cut, scratch);
        return scratch;
    }
    BuildSettings(cut, &entry->settings);
    entry->key = key;
    PlaceEntry(g_settings.slots, g_settings.mask, entry);
    ++g_settings.count;
    return &entry->settings;
}

}  // namespace cmnw::locale

extern "C" void UTLGetLocaleSettings(const char *localeArg, LocaleSettings *settings) noexcept {
    if (localeArg == nullptr || settings == nullptr) return;
    const char *name = localeArg[0] != '\0' ? localeArg + 1 : "";
    const LocaleSettings *found = cmnw::locale::SettingsFor(name, settings);
    if (found != settings) std::memcpy(settings, found, sizeof *settings);
}

extern "C" int32_t UTLGetLocaleOrigin(const char *localeArg) noexcept {
    if (localeArg == nullptr || localeArg[0] == '\0' || localeArg[1] == '\0') return 0;
    char name[UTL_SETTINGS_NAME_MAX + 1];
    cmnw::CopyBounded(name, sizeof name, localeArg + 1);
    int32_t origin = cmnw::locale::BuiltInRow(name) != nullptr ? UTL_LOCALE_BUILT_IN : 0;
    if (cmnw::locale::SectionSetsAnyKey(name)) origin |= UTL_LOCALE_CONFIGURED;
    return origin;
}
