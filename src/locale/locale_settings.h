// The settings cache behind UTLGetLocaleSettings.
#pragma once

#include "cmnw32/locale.h"

namespace cmnw::locale {

// The settings of the locale name (no leading character to skip). A named
// locale is built once and cached; the result then points into the cache and
// stays valid and unchanged for the life of the process. The empty name, and
// any name when the cache cannot grow, are built into *scratch and scratch is
// returned. Allocates only when a locale is built for the first time.
const LocaleSettings *SettingsFor(const char *name, LocaleSettings *scratch) noexcept;

}  // namespace cmnw::locale
