// Internal access to the current locale for the date, time, number and mask
// families.
#pragma once

#include "cmnw32/locale.h"

namespace cmnw::locale {

// The settings record of the current locale, choosing the locale first when
// none has been chosen yet (as UTLGetLocale does). The reference stays valid
// and unchanged until the current locale changes; callers that return
// pointers into it (month names ...) hand out text that reads the same until
// then. To read another locale's settings, hold a cmnw::ScopedLocale
// (common/locale_switch.h) for the span of the read.
const LocaleSettings &Current() noexcept;

// Makes the next UTLSetLocale("") read the configuration again.
void RearmConfigRead() noexcept;

// True while the default locale name is empty (not read, or not configured).
bool DefaultLocaleNameEmpty() noexcept;

}  // namespace cmnw::locale
