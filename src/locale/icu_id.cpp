// UTLFMT2ICULocale: the ICU locale id the suite uses for a locale name.
#include "cmnw32/locale.h"
#include "common/text.h"
#include "locale/locale_tables.h"

extern "C" void UTLFMT2ICULocale(const char *name, char *out, int outSize) noexcept {
    if (out == nullptr || outSize <= 0) return;
    out[0] = '\0';
    if (name == nullptr) return;
    for (const cmnw::locale::IcuIdRow &row : cmnw::locale::kIcuIdRows) {
        if (cmnw::locale::SameLocaleName(name, row.name)) {
            cmnw::CopyPadded(out, static_cast<size_t>(outSize), row.icuId);
            return;
        }
    }
}
