// The current locale, the default locale and the defaults derived from it.
#include "locale/locale_current.h"

#include <atomic>
#include <cstring>
#include <mutex>

#include "cmnw32/cfg.h"
#include "common/text.h"
#include "locale/locale_settings.h"

namespace cmnw::locale {
namespace {

constexpr char kFallbackLocale[] = "USD";

struct CurrentState {
    char name[UTL_LOCALE_NAME_MAX + 1];    // empty until a locale is chosen
    LocaleKey key;                         // of name
    const LocaleSettings *settings;        // the current locale's record
    LocaleKey previousKey;                 // the locale current before this one,
    const LocaleSettings *previous;        // and its cached record (null: none)
    LocaleSettings uncached;               // holds a record the cache could not keep
    bool readConfig;                       // next empty-name switch reads the configuration
    char defName[UTL_DEF_LOCALE_MAX + 1];  // INI "Language"/"Locale"
    bool readDefName;                      // defName not yet read
    int32_t defDateFormat;                 // -1: not computed
    int32_t defPaperSize;                  // -1: not computed
    const char *defSpellDict;              // null: not computed
};

constinit const LocaleSettings kNoSettings{};

constinit CurrentState g_current{
    {}, {0, 0}, &kNoSettings, {0, 0}, nullptr, {}, true, {}, true, -1, -1, nullptr,
};

static_assert(UTL_LOCALE_NAME_MAX + 1 == sizeof(uint64_t));

// The key of a locale name cut to UTL_LOCALE_NAME_MAX characters and padded
// with NULs in work (as MakeLocaleKey of it, without the walk).
LocaleKey KeyOfPaddedName(const char (&work)[UTL_LOCALE_NAME_MAX + 1]) noexcept {
    uint64_t word;
    std::memcpy(&word, work, sizeof word);
    return {FoldAsciiCapitals(word), 0};
}

// Makes the locale of key (named work) current. A switch back to the locale
// current before takes its record without a cache lookup, so that a call
// that switches for its span and back costs little.
void MakeCurrent(const char (&work)[UTL_LOCALE_NAME_MAX + 1], const LocaleKey &key) noexcept {
    const LocaleSettings *settings = key == g_current.previousKey ? g_current.previous : nullptr;
    if (settings == nullptr) settings = SettingsFor(work, key, &g_current.uncached);
    const bool cached = g_current.settings != &g_current.uncached && g_current.settings != &kNoSettings;
    g_current.previousKey = g_current.key;
    g_current.previous = cached ? g_current.settings : nullptr;
    std::memcpy(g_current.name, work, sizeof g_current.name);
    g_current.key = key;
    g_current.settings = settings;
}

// The settings of the default locale, read without changing the current
// locale; false when no default locale is configured.
bool DefaultLocaleSettings(LocaleSettings *settings) noexcept {
    const char *defName = UTLGetDefLocale();
    if (defName[0] == '\0') return false;
    UTLGetLocale();
    const LocaleSettings *found = SettingsFor(defName, settings);
    if (found != settings) std::memcpy(settings, found, sizeof *settings);
    return true;
}

// Set once a locale has been chosen. The first choice made implicitly (by
// the first read) happens once even when several threads read at once.
constinit std::atomic<bool> g_chosen{false};
constinit std::once_flag g_firstChoice;

void ChooseFirstLocale() noexcept {
    if (g_chosen.load(std::memory_order_acquire)) return;
    std::call_once(g_firstChoice, [] {
        if (!g_chosen.load(std::memory_order_acquire)) UTLSetLocale("");
    });
}

}  // namespace

const LocaleSettings &Current() noexcept {
    ChooseFirstLocale();
    return *g_current.settings;
}

void RearmConfigRead() noexcept {
    g_current.readConfig = true;
}

bool DefaultLocaleNameEmpty() noexcept {
    return g_current.defName[0] == '\0';
}

}  // namespace cmnw::locale

using cmnw::locale::g_current;

extern "C" void UTLSetLocale(const char *name) noexcept {
    char work[UTL_LOCALE_NAME_MAX + 1] = {};
    if (name != nullptr && name[0] != '\0') {
        for (size_t i = 0; i < UTL_LOCALE_NAME_MAX && name[i] != '\0'; ++i) work[i] = name[i];
    } else if (g_current.readConfig) {
        g_current.readConfig = false;
        char configured[UTL_DEF_LOCALE_MAX + 1] = {};
        if (CFGGetString("Language", "Locale", configured, sizeof configured))
            cmnw::CopyBounded(work, sizeof work, configured);
    } else {
        cmnw::CopyBounded(work, sizeof work, UTLGetDefLocale());
    }
    if (work[0] == '\0') cmnw::CopyBounded(work, sizeof work, cmnw::locale::kFallbackLocale);

    // The same name in other letter case keeps the stored spelling.
    const cmnw::locale::LocaleKey key = cmnw::locale::KeyOfPaddedName(work);
    if (key == g_current.key) return;
    cmnw::locale::MakeCurrent(work, key);
    cmnw::locale::g_chosen.store(true, std::memory_order_release);
}

extern "C" const char *UTLGetLocale(void) noexcept {
    cmnw::locale::ChooseFirstLocale();
    return g_current.name;
}

extern "C" const char *UTLGetDefLocale(void) noexcept {
    if (g_current.readDefName) {
        g_current.readDefName = false;
        if (g_current.defName[0] == '\0')
            CFGGetString("Language", "Locale", g_current.defName, sizeof g_current.defName);
    }
    return g_current.defName;
}

extern "C" void UTLResetDefLocale(void) noexcept {
    std::memset(g_current.defName, 0, sizeof g_current.defName);
    g_current.readDefName = true;
    g_current.defDateFormat = -1;
    g_current.defPaperSize = -1;
    g_current.defSpellDict = nullptr;
}

extern "C" int32_t UTLGetDefDateFormat(void) noexcept {
    if (g_current.defDateFormat != -1) return g_current.defDateFormat;
    LocaleSettings settings;
    if (!cmnw::locale::DefaultLocaleSettings(&settings)) return 0;
    g_current.defDateFormat = settings.dateFormat;
    return g_current.defDateFormat;
}

extern "C" int32_t UTLGetDefPaperSize(void) noexcept {
    if (g_current.defPaperSize != -1) return g_current.defPaperSize;
    LocaleSettings settings;
    if (!cmnw::locale::DefaultLocaleSettings(&settings)) return 0;
    g_current.defPaperSize = settings.paperSize;
    return g_current.defPaperSize;
}

extern "C" const char *UTLGetDefSpellDict(void) noexcept {
    if (g_current.defSpellDict != nullptr) return g_current.defSpellDict;
    LocaleSettings settings;
    if (!cmnw::locale::DefaultLocaleSettings(&settings)) return nullptr;
    g_current.defSpellDict = settings.spellDict;
    return g_current.defSpellDict;
}
