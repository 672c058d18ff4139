// Picture checking and the locale conversions of pictures and numbers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "cmnw32/number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();
    std::string buffer = text;
    const int rc = FMTValidNumericFormat(buffer.data());
    if (rc != 0 && rc != 1 && rc != 3) __builtin_trap();

    static const char *const kLocales[] = {" USD", " DEM", " CHF", " CAD", nullptr};
    const char *locale = kLocales[size % 5];
    char shown[80];
    char back[80];
    FMTConvertNumFormat(text.c_str(), locale == nullptr ? " FRF" : locale, 40, shown);
    if (std::strlen(shown) > 40) __builtin_trap();
    FMTUnconvertNumFormat(shown, locale == nullptr ? " FRF" : locale, 40, back);
    if (std::strlen(back) > 40) __builtin_trap();

    std::string number = text;
    FMTDeformatNum(number.data(), locale);
    if (std::strlen(number.c_str()) > text.size()) __builtin_trap();

    std::string grouped = text;
    grouped.resize(text.size() + text.size() / 3 + 1, '\0');
    FMTAddCommas(grouped.data());
    return 0;
}
