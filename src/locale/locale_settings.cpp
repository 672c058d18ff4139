// UTLGetLocaleSettings: builds a locale's settings from the built-in table
// and its configuration section, and keeps each named locale's record in a
// cache for the life of the process.
#include "locale/locale.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
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

// Open-addressed hash table of entries. Readers probe it without a lock;
// one writer at a time (holding buildLock) adds entries. Entries never move
// or go away, and a table outgrown by a larger one is kept (never freed),
// since a reader may still be probing it: the retired tables together hold
// fewer slots than the one in use.
struct SlotTable {
    size_t mask;  // capacity - 1; capacity is a power of two
    SlotTable *retired;
    std::atomic<CacheEntry *> *slots;
};

struct SettingsState {
    std::atomic<SlotTable *> table;
    size_t count;  // entries; written under buildLock
    KeptText *keptTexts;  // under g_keepLock
};

constinit SettingsState g_settings{nullptr, 0, nullptr};
// Held while a locale is built and entered, so that each is built once.
constinit std::mutex g_buildLock;
// Held while a text is kept.
constinit std::mutex g_keepLock;

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
    const SlotTable *table = g_settings.table.load(std::memory_order_acquire);
    if (table == nullptr) return nullptr;
    for (size_t i = SlotOf(key, table->mask);; i = (i + 1) & table->mask) {
        CacheEntry *entry = table->slots[i].load(std::memory_order_acquire);
        if (entry == nullptr) return nullptr;
        if (entry->key == key) return entry;
    }
}

void PlaceEntry(SlotTable *table, CacheEntry *entry) noexcept {
    size_t i = SlotOf(entry->key, table->mask);
    while (table->slots[i].load(std::memory_order_relaxed) != nullptr) i = (i + 1) & table->mask;
    table->slots[i].store(entry, std::memory_order_release);
}

SlotTable *NewTable(size_t capacity) noexcept {
    auto *slots = new (std::nothrow) std::atomic<CacheEntry *>[capacity];
    if (slots == nullptr) return nullptr;
    auto *table = new (std::nothrow) SlotTable{capacity - 1, nullptr, slots};
    if (table == nullptr) {
        delete[] slots;
        return nullptr;
    }
    for (size_t i = 0; i < capacity; ++i) slots[i].store(nullptr, std::memory_order_relaxed);
    return table;
}

// Makes room for one more entry (load at most one half); false when memory
// runs out, in which case the table is unchanged. Called under buildLock.
bool ReserveSlot() noexcept {
    SlotTable *table = g_settings.table.load(std::memory_order_relaxed);
    const size_t capacity = table == nullptr ? 0 : table->mask + 1;
    if ((g_settings.count + 1) * 2 <= capacity) return true;
    SlotTable *grown = NewTable(capacity == 0 ? kInitialCapacity : capacity * 2);
    if (grown == nullptr) return false;
    for (size_t i = 0; i < capacity; ++i)
        if (CacheEntry *entry = table->slots[i].load(std::memory_order_relaxed))
            PlaceEntry(grown, entry);
    grown->retired = table;
    g_settings.table.store(grown, std::memory_order_release);
    return true;
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
    if (const CacheEntry *entry = FindEntry(key)) return &entry->settings;

    char cut[UTL_SETTINGS_NAME_MAX + 1];
    CopyBounded(cut, sizeof cut, name);
    const std::lock_guard hold(g_buildLock);
    if (const CacheEntry *entry = FindEntry(key)) return &entry->settings;
    CacheEntry *entry = ReserveSlot() ? new (std::nothrow) CacheEntry : nullptr;
    if (entry == nullptr) {
        BuildSettings(cut, scratch);
        return scratch;
    }
    BuildSettings(cut, &entry->settings);
    entry->key = key;
    PlaceEntry(g_settings.table.load(std::memory_order_relaxed), entry);
    ++g_settings.count;
    return &entry->settings;
}

const char *KeepText(const char *text) noexcept {
    const std::lock_guard hold(g_keepLock);
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
