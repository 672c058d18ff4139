// The settings cache behind UTLGetLocaleSettings.
#pragma once

#include <cstdint>
#include <cstring>

#include "cmnw32/locale.h"

namespace cmnw::locale {

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
