// The locale family's internal header, and its front door for the date,
// time, number and mask families: the locale a call works in, and the
// settings cache behind UTLGetLocaleSettings.
//
// Every call that reads locale settings works with one record from start to
// end: the locale its argument names, or the current locale as it was when
// the call began. The record is immutable and is never freed, so another
// thread that changes the current locale meanwhile changes nothing for the
// call. No call switches the process-wide current locale for its own use.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>

#include "cmnw32/locale.h"

namespace cmnw::locale {

// Makes the first implicit choice of the current locale when none has been
// made yet (once, even when threads race to it).
void ChooseCurrentOnce() noexcept;

// Makes the next UTLSetLocale("") read the configuration again.
void RearmConfigRead() noexcept;

// True while the default locale name is empty (not read, or not configured).
bool DefaultLocaleNameEmpty() noexcept;

// A locale name as the cache keys it: cut to UTL_SETTINGS_NAME_MAX
// characters, ASCII letters folded to lower case, NUL-padded to 16 bytes and
// read as two words. Equal keys mean names equal without regard to case.
struct LocaleKey {
    uint64_t lo;
    uint64_t hi;
    bool operator==(const LocaleKey &) const = default;
};

// Adds 0x20 to every byte of word that is an ASCII capital letter.
inline uint64_t FoldAsciiCapitals(uint64_t word) noexcept {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    uint64_t low7 = word & (0x7F * kOnes);
    uint64_t aboveZ = low7 + (0x25 * kOnes);  // bit 7 set for bytes above 'Z'
    uint64_t fromA = low7 + (0x3F * kOnes);   // bit 7 set for bytes from 'A' up
    uint64_t capitals = (fromA ^ aboveZ) & ~word & (0x80 * kOnes);
    return word | (capitals >> 2);
}

inline LocaleKey MakeLocaleKey(const char *name) noexcept {
    unsigned char bytes[16] = {};
    for (size_t i = 0; i < UTL_SETTINGS_NAME_MAX && name[i] != '\0'; ++i)
        bytes[i] = static_cast<unsigned char>(name[i]);
    LocaleKey key;
    std::memcpy(&key.lo, bytes, 8);
    std::memcpy(&key.hi, bytes + 8, 8);
    return {FoldAsciiCapitals(key.lo), FoldAsciiCapitals(key.hi)};
}

// A current locale as published: the name as it was set and its settings.
// Immutable once published and never freed, so a reader may keep using a
// record after another thread has made a different one current. One record
// per spelling of a cached locale; a locale the cache could not keep gets a
// record of its own each time.
struct LocaleRecord {
    char name[UTL_LOCALE_NAME_MAX + 1];
    LocaleKey key;
    const LocaleSettings *settings;
    bool cached;
    LocaleRecord *next;  // every record made, newest first
};

struct CurrentState {
    std::atomic<const LocaleRecord *> record;  // the current locale
    std::atomic<bool> chosen;                  // a locale has been made current
    std::atomic<bool> readConfig;              // next empty-name switch reads the configuration
    LocaleRecord *records;                     // under the switch lock
};
extern constinit CurrentState g_current;

// The locale a thread works in for the span of a call; settings null when
// the thread follows the current locale.
struct ThreadLocale {
    const LocaleSettings *settings;
    char name[UTL_LOCALE_NAME_MAX + 1];
};
[[gnu::tls_model("initial-exec")]] extern constinit thread_local ThreadLocale t_locale;

// The current locale's record, choosing the locale first when none has been
// chosen yet (as UTLGetLocale does).
inline const LocaleRecord &Published() noexcept {
    if (!g_current.chosen.load(std::memory_order_acquire)) [[unlikely]]
        ChooseCurrentOnce();
    return *g_current.record.load(std::memory_order_acquire);
}

// The settings record the calling thread works with: that of the innermost
// CallLocale alive on this thread, else the current locale's. The record
// stays valid and unchanged for the life of the process; pointers into it
// (month names ...) read the same for ever.
inline const LocaleSettings &Current() noexcept {
    if (const LocaleSettings *settings = t_locale.settings) return *settings;
    return *Published().settings;
}

// The locale one call works in, resolved once when the call starts: the
// locale a locale argument names (" DEM": the first character is ignored),
// or, for a null argument or one that names nothing, the current locale.
// While it lives, Current() and UTLGetLocale on this thread give its locale,
// so that helpers and a notify function called meanwhile see the argument's
// locale as before; other threads are not affected. Lives on the stack of
// one entry point; nests.
//
//     int FMTSomething(const char *text, const char *localeArg) noexcept {
//         const cmnw::locale::CallLocale call(localeArg);
//         const LocaleSettings &ls = call.Settings();
//         ...
//     }
class CallLocale {
public:
    explicit CallLocale(const char *localeArg = nullptr) noexcept : saved_(t_locale) {
        if (localeArg != nullptr && localeArg[0] != '\0' && localeArg[1] != '\0') {
            SwitchTo(localeArg + 1);  // makes the first choice of a current locale too
        } else if (saved_.settings != nullptr) {
            settings_ = saved_.settings;
        } else {
            const LocaleRecord &current = Published();
            settings_ = current.settings;
            t_locale.settings = settings_;
            std::memcpy(t_locale.name, current.name, sizeof t_locale.name);
        }
    }
    ~CallLocale() { t_locale = saved_; }
    CallLocale(const CallLocale &) = delete;
    CallLocale &operator=(const CallLocale &) = delete;

    const LocaleSettings &Settings() const noexcept { return *settings_; }

    // Works in the locale name (not a locale argument: no character is
    // skipped) for the rest of the call.
    void SwitchTo(const char *name) noexcept;

private:
    // SwitchTo for a name not resolved last time on this thread; word is
    // the name padded.
    [[gnu::noinline]] void Resolve(uint64_t word) noexcept;

    ThreadLocale saved_;  // what this thread worked in before
    const LocaleSettings *settings_;
    LocaleSettings scratch_;  // only for a locale the cache cannot keep
};

// The settings of the locale name (no leading character to skip), whose key
// is key. A named locale is built once and cached; the result then points
// into the cache and stays valid and unchanged for the life of the process.
// The empty name, and any name when the cache cannot grow, are built into
// *scratch and scratch is returned. Allocates only when a locale is built
// for the first time. Safe on any number of threads at once: a cached
// locale is found without a lock, and a locale is built by one thread while
// the others wait for it.
const LocaleSettings *SettingsFor(const char *name, const LocaleKey &key,
                                  LocaleSettings *scratch) noexcept;

inline const LocaleSettings *SettingsFor(const char *name, LocaleSettings *scratch) noexcept {
    return SettingsFor(name, MakeLocaleKey(name), scratch);
}

// A copy of text that stays readable for the life of the process (one per
// distinct text), or null when memory runs out. Thread-safe.
const char *KeepText(const char *text) noexcept;

}  // namespace cmnw::locale
