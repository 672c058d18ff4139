// The configuration reads of the locale family.
#pragma once

#include <cstddef>

#include "cmnw32/cfg.h"
#include "common/text.h"

// The configuration companion may be absent from a build of the library; the
// locale family then sees no configuration.
#pragma weak CFGGetString
#pragma weak CFGGetStringDef

namespace cmnw::locale {

// Reads key of section into buf (cut to size - 1); false when it is not
// configured, buf then untouched.
inline bool ReadConfigText(const char *section, const char *key, char *buf, size_t size) noexcept {
    return &CFGGetString != nullptr && CFGGetString(section, key, buf, size) != 0;
}

// Reads key of section into buf, or defaultText when it is not configured.
inline void ReadConfigTextDef(const char *section, const char *key, char *buf, size_t size,
                              const char *defaultText) noexcept {
    if (&CFGGetStringDef != nullptr)
        CFGGetStringDef(section, key, buf, size, defaultText);
    else
        CopyBounded(buf, size, defaultText);
}

}  // namespace cmnw::locale
