// The current locale, the locale each call works in, the default locale and
// the defaults derived from it.
#include "locale/locale.h"

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

#include "cmnw32/cfg.h"
#include "common/text.h"

namespace cmnw::locale {
namespace {

constexpr char kFallbackLocale[] = "USD";
using LocaleName = char[UTL_LOCALE_NAME_MAX + 1];

constinit const LocaleSettings kNoSettings{};
constinit const LocaleRecord kNoRecord{{}, {0, 0}, &kNoSettings, false, nullptr};

// Held by UTLSetLocale: switches take turns.
constinit std::mutex g_switchLock;
constinit std::once_flag g_firstChoice;

struct DefaultState {
    std::atomic<const char *> name;  // INI "Language"/"Locale": "" or a kept text
    std::atomic<bool> readName;      // name not yet read
    std::atomic<int32_t> dateFormat;  // -1: not computed
    std::atomic<int32_t> paperSize;   // -1: not computed
    std::atomic<const char *> spellDict;  // null: not computed
};
constinit DefaultState g_default{"", true, -1, -1, nullptr};
// Held while the default locale name is read or reset and while a derived
// default is computed. Taken after g_switchLock when both are held.
constinit std::mutex g_defaultLock;

static_assert(sizeof(LocaleName) == sizeof(uint64_t));

// The key of a locale name cut to UTL_LOCALE_NAME_MAX characters and padded
// with NULs (as MakeLocaleKey of it, without the walk).
LocaleKey KeyOfPaddedName(const LocaleName &name) noexcept {
    uint64_t word;
    std::memcpy(&word, name, sizeof word);
    return {FoldAsciiCapitals(word), 0};
}

// name cut to UTL_LOCALE_NAME_MAX characters and padded with NULs, as the
// word those bytes make in memory; built in a register, so that reading it
// back does not wait for byte stores. Unrolled: names are short and this
// runs on every call that takes a locale argument.
uint64_t NameWord(const char *name) noexcept {
    uint64_t word = 0;
#pragma GCC unroll 8
    for (unsigned i = 0; i < UTL_LOCALE_NAME_MAX; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c == '\0') break;
        const unsigned shift = std::endian::native == std::endian::little ? 8 * i : 56 - 8 * i;
        word |= uint64_t{c} << shift;
    }
    return word;
}

void PadName(LocaleName &out, const char *name) noexcept {
    const uint64_t word = NameWord(name);
    std::memcpy(out, &word, sizeof out);
}

// The locale argument this thread resolved last in an outermost call, so
// that a thread passing the same argument call after call skips the lookup:
// valid while the same record is current (the spelling kept depends on it).
struct LastArgument {
    uint64_t word;                // the name as passed, padded
    const LocaleRecord *current;  // the current locale it was resolved under; null: none
    const LocaleSettings *settings;
    uint64_t spelling;  // the name the call works in, padded
};
[[gnu::tls_model("initial-exec")]] constinit thread_local LastArgument t_lastArgument{0, nullptr,
                                                                                      nullptr, 0};

// The record of the locale named name (key key), made when there is none
// for this spelling yet; null when memory runs out. Under g_switchLock.
const LocaleRecord *RecordFor(const LocaleName &name, const LocaleKey &key) noexcept {
    for (const LocaleRecord *r = g_current.records; r != nullptr; r = r->next)
        if (r->cached && std::memcmp(r->name, name, sizeof name) == 0) return r;
    auto *record = new (std::nothrow) LocaleRecord{{}, key, nullptr, true, g_current.records};
    if (record == nullptr) return nullptr;
    LocaleSettings scratch;
    const LocaleSettings *settings = SettingsFor(name, key, &scratch);
    if (settings == &scratch) {
        settings = new (std::nothrow) LocaleSettings(scratch);
        record->cached = false;
    }
    if (settings == nullptr) {
        delete record;
        return nullptr;
    }
    std::memcpy(record->name, name, sizeof name);
    record->settings = settings;
    g_current.records = record;
    return record;
}

// The default locale name, read from the configuration the first time.
// Under g_defaultLock.
const char *DefaultNameLocked() noexcept {
    if (g_default.readName.load(std::memory_order_relaxed)) {
        g_default.readName.store(false, std::memory_order_release);
        if (g_default.name.load(std::memory_order_relaxed)[0] == '\0') {
            char name[UTL_DEF_LOCALE_MAX + 1] = {};
            CFGGetString("Language", "Locale", name, sizeof name);
            const char *kept = name[0] != '\0' ? KeepText(name) : nullptr;
            if (kept != nullptr) g_default.name.store(kept, std::memory_order_release);
        }
    }
    return g_default.name.load(std::memory_order_relaxed);
}

// One default derived from the default locale's settings into *out,
// computed once and kept in cache (unset while not computed). False when no
// default locale is configured.
template <typename T, typename Field>
bool DerivedDefault(std::atomic<T> &cache, T unset, Field field, T *out) noexcept {
    *out = cache.load(std::memory_order_acquire);
    if (*out != unset) return true;
    if (UTLGetDefLocale()[0] == '\0') return false;
    ChooseCurrentOnce();
    const std::lock_guard hold(g_defaultLock);
    const char *name = DefaultNameLocked();
    if (name[0] == '\0') return false;
    *out = cache.load(std::memory_order_relaxed);
    if (*out != unset) return true;
    LocaleSettings scratch;
    *out = field(*SettingsFor(name, &scratch));
    cache.store(*out, std::memory_order_release);
    return true;
}

}  // namespace

constinit CurrentState g_current{&kNoRecord, false, true, nullptr};
[[gnu::tls_model("initial-exec")]] constinit thread_local ThreadLocale t_locale{nullptr, {}};

void ChooseCurrentOnce() noexcept {
    if (g_current.chosen.load(std::memory_order_acquire)) return;
    std::call_once(g_firstChoice, [] {
        if (!g_current.chosen.load(std::memory_order_acquire)) UTLSetLocale("");
    });
}

void RearmConfigRead() noexcept {
    g_current.readConfig.store(true, std::memory_order_relaxed);
}

bool DefaultLocaleNameEmpty() noexcept {
    return g_default.name.load(std::memory_order_acquire)[0] == '\0';
}

void CallLocale::SwitchTo(const char *name) noexcept {
    const uint64_t word = NameWord(name);
    if (t_locale.settings == nullptr && word == t_lastArgument.word &&
        g_current.record.load(std::memory_order_acquire) == t_lastArgument.current) {
        settings_ = t_lastArgument.settings;
        t_locale.settings = settings_;
        std::memcpy(t_locale.name, &t_lastArgument.spelling, sizeof t_locale.name);
        return;
    }
    Resolve(word);
}

void CallLocale::Resolve(uint64_t word) noexcept {
    const LocaleKey key{FoldAsciiCapitals(word), 0};
    const bool outermost = t_locale.settings == nullptr;
    // The locale worked in already, named in other letter case, keeps its
    // spelling.
    if (!outermost && KeyOfPaddedName(t_locale.name) == key) {
        settings_ = t_locale.settings;
        return;
    }
    const LocaleRecord *current = outermost ? &Published() : nullptr;
    uint64_t spelling = word;
    if (outermost && current->key == key) {
        settings_ = current->settings;
        std::memcpy(&spelling, current->name, sizeof spelling);
    } else {
        LocaleName work;
        std::memcpy(work, &word, sizeof work);
        settings_ = SettingsFor(work, key, &scratch_);
    }
    t_locale.settings = settings_;
    std::memcpy(t_locale.name, &spelling, sizeof t_locale.name);
    if (outermost && settings_ != &scratch_) t_lastArgument = {word, current, settings_, spelling};
}

}  // namespace cmnw::locale

using cmnw::locale::g_current;
using cmnw::locale::g_default;

extern "C" void UTLSetLocale(const char *name) noexcept {
    cmnw::locale::LocaleName work = {};
    const std::lock_guard hold(cmnw::locale::g_switchLock);
    if (name != nullptr && name[0] != '\0') {
        cmnw::locale::PadName(work, name);
    } else if (g_current.readConfig.exchange(false, std::memory_order_relaxed)) {
        char configured[UTL_DEF_LOCALE_MAX + 1] = {};
        if (CFGGetString("Language", "Locale", configured, sizeof configured))
            cmnw::CopyBounded(work, sizeof work, configured);
    } else {
        cmnw::CopyBounded(work, sizeof work, UTLGetDefLocale());
    }
    if (work[0] == '\0') cmnw::CopyBounded(work, sizeof work, cmnw::locale::kFallbackLocale);

    // The same name in other letter case keeps the stored spelling.
    const cmnw::locale::LocaleKey key = cmnw::locale::KeyOfPaddedName(work);
    if (key == g_current.record.load(std::memory_order_relaxed)->key) return;
    const cmnw::locale::LocaleRecord *record = cmnw::locale::RecordFor(work, key);
    if (record == nullptr) return;  // out of memory: the current locale stays
    g_current.record.store(record, std::memory_order_release);
    g_current.chosen.store(true, std::memory_order_release);
}

extern "C" const char *UTLGetLocale(void) noexcept {
    if (cmnw::locale::t_locale.settings != nullptr) return cmnw::locale::t_locale.name;
    return cmnw::locale::Published().name;
}

extern "C" const char *UTLGetDefLocale(void) noexcept {
    if (!g_default.readName.load(std::memory_order_acquire))
        return g_default.name.load(std::memory_order_acquire);
    const std::lock_guard hold(cmnw::locale::g_defaultLock);
    return cmnw::locale::DefaultNameLocked();
}

extern "C" void UTLResetDefLocale(void) noexcept {
    const std::lock_guard hold(cmnw::locale::g_defaultLock);
    g_default.name.store("", std::memory_order_release);
    g_default.dateFormat.store(-1, std::memory_order_release);
    g_default.paperSize.store(-1, std::memory_order_release);
    g_default.spellDict.store(nullptr, std::memory_order_release);
    g_default.readName.store(true, std::memory_order_release);
}

extern "C" int32_t UTLGetDefDateFormat(void) noexcept {
    int32_t value;
    auto field = [](const LocaleSettings &s) { return s.dateFormat; };
    return cmnw::locale::DerivedDefault(g_default.dateFormat, int32_t{-1}, field, &value) ? value : 0;
}

extern "C" int32_t UTLGetDefPaperSize(void) noexcept {
    int32_t value;
    auto field = [](const LocaleSettings &s) { return s.paperSize; };
    return cmnw::locale::DerivedDefault(g_default.paperSize, int32_t{-1}, field, &value) ? value : 0;
}

extern "C" const char *UTLGetDefSpellDict(void) noexcept {
    const char *value;
    auto field = [](const LocaleSettings &s) { return s.spellDict; };
    const char *unset = nullptr;
    return cmnw::locale::DerivedDefault(g_default.spellDict, unset, field, &value) ? value : nullptr;
}
