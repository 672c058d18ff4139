// Honours a locale argument for the span of one call: switches the current
// locale to the one the argument names and switches back to the previous one
// when the scope ends, on every way out.
//
//     int FMTSomething(const char *text, const char *localeArg) noexcept {
//         cmnw::ScopedLocale scoped(localeArg);
//         const LocaleSettings &ls = cmnw::locale::Current();
//         ...  // any return restores the previous locale
//     }
//
// A locale argument follows the library's convention: its first character is
// ignored and the remainder names the locale (" DEM"). A null argument, an
// empty one, or one whose remainder is empty switches nothing. Switching
// between locales already built costs a cache lookup and allocates nothing.
#pragma once

#include <cstring>

#include "cmnw32/locale.h"

namespace cmnw {

class ScopedLocale {
public:
    explicit ScopedLocale(const char *localeArg) noexcept {
        if (localeArg == nullptr || localeArg[0] == '\0' || localeArg[1] == '\0') return;
        const char *current = UTLGetLocale();
        std::memcpy(saved_, current, sizeof saved_);
        saved_[sizeof saved_ - 1] = '\0';
        switched_ = true;
        UTLSetLocale(localeArg + 1);
    }
    ~ScopedLocale() {
        if (switched_) UTLSetLocale(saved_);
    }
    ScopedLocale(const ScopedLocale &) = delete;
    ScopedLocale &operator=(const ScopedLocale &) = delete;

    // True when the constructor switched (the argument named a locale).
    bool Switched() const noexcept { return switched_; }

private:
    char saved_[UTL_LOCALE_NAME_MAX + 1];
    bool switched_ = false;
};

}  // namespace cmnw
