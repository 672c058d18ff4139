// Internal access to the current locale for the date, time, number and mask
// families.
//
// Every call that reads locale settings works with one record from start to
// end: the locale its argument names, or the current locale as it was when
// the call began. The record is immutable and is never freed, so another
// thread that changes the current locale meanwhile changes nothing for the
// call. No call switches the process-wide current locale for its own use.
#pragma once

#include "cmnw32/locale.h"

namespace cmnw::locale {

// The settings record the calling thread works with: that of the innermost
// CallLocale alive on this thread, else the current locale's (choosing the
// locale first when none has been chosen yet, as UTLGetLocale does). The
// record stays valid and unchanged for the life of the process; pointers
// into it (month names ...) read the same for ever.
const LocaleSettings &Current() noexcept;

// Makes the first implicit choice of the current locale when none has been
// made yet (once, even when threads race to it).
void ChooseCurrentOnce() noexcept;

// Makes the next UTLSetLocale("") read the configuration again.
void RearmConfigRead() noexcept;

// True while the default locale name is empty (not read, or not configured).
bool DefaultLocaleNameEmpty() noexcept;

// The locale a thread works in for the span of a call; settings null when
// the thread follows the current locale.
struct ThreadLocale {
    const LocaleSettings *settings;
    char name[UTL_LOCALE_NAME_MAX + 1];
};

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
    explicit CallLocale(const char *localeArg = nullptr) noexcept;
    ~CallLocale();
    CallLocale(const CallLocale &) = delete;
    CallLocale &operator=(const CallLocale &) = delete;

    const LocaleSettings &Settings() const noexcept { return *settings_; }

    // Works in the locale name (not a locale argument: no character is
    // skipped) for the rest of the call.
    void SwitchTo(const char *name) noexcept;

private:
    ThreadLocale saved_;  // what this thread worked in before
    const LocaleSettings *settings_;
    LocaleSettings scratch_;  // only for a locale the cache cannot keep
};

}  // namespace cmnw::locale
