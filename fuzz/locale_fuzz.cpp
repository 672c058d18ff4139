// Feeds arbitrary locale names and arguments to the locale functions: names
// of any length and bytes, cut buffers for ICU ids, switches and restores.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "cmnw32/locale.h"
#include "locale/locale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    int outSize = static_cast<int>(data[0] % 24) - 2;
    std::string name(reinterpret_cast<const char *>(data + 1), size - 1);
    const char *text = name.c_str();  // cut at the first NUL of the input

    LocaleSettings settings;
    UTLGetLocaleSettings(text, &settings);
    if (std::strlen(settings.validChars) >= sizeof settings.validChars) __builtin_trap();

    char id[24];
    std::memset(id, 'x', sizeof id);
    UTLFMT2ICULocale(text[0] != '\0' ? text + 1 : "", id, outSize);

    {
        const cmnw::locale::CallLocale call(text);
        const LocaleSettings &current = cmnw::locale::Current();
        if (current.spellDict == nullptr) __builtin_trap();
    }
    UTLSetLocale(text);
    if (std::strlen(UTLGetLocale()) > UTL_LOCALE_NAME_MAX) __builtin_trap();

    UTLInitLocale();
    UTLLOCALE handle = UTLAddLocale(text);
    if (handle != nullptr && std::strcmp(UTLGetLocaleName(handle, 0), text) != 0) __builtin_trap();
    UTLTermLocale();
    return 0;
}
