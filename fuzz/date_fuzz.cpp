// Date texts and descriptors from arbitrary bytes: the first byte picks the
// format number and year length, the rest splits at the first NUL into a
// descriptor and a date text (either may be long). Every parsed date must
// print within 64 bytes and read back the same under its own descriptor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmnw32/date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const int fmtNum = data[0] % 30;
    const int yrLens[] = {2, -2, 4, -4, 0};
    const int yrLen = yrLens[(data[0] / 30) % 5];
    std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const size_t cut = rest.find('\0');
    std::string descriptor = cut == std::string::npos ? std::string() : rest.substr(0, cut);
    std::string text = cut == std::string::npos ? rest : rest.substr(cut + 1);
    text = text.c_str();

    int m = 0, d = 0, y = 0;
    const int result = FMTGetDateFmtValues(text.c_str(), fmtNum, descriptor.c_str(), yrLen, &m, &d,
                                           &y);
    char out[80];
    std::memset(out, 0x7F, sizeof out);
    FMTMakeDate(out, descriptor.c_str(), m, d, y);
    if (std::memchr(out, '\0', 64) == nullptr) std::abort();
    if (out[64] != 0x7F) std::abort();

    int fmt2, yr2;
    char sep[2], templ[48];
    std::memset(templ, 0x7F, sizeof templ);
    FMTGetDateFmtInfo(descriptor.c_str(), &fmt2, sep, &yr2, templ);
    if (templ[40] != 0x7F) std::abort();
    if (fmt2 < 1 || fmt2 > 27) std::abort();

    if (result == 0 && fmt2 != 27) {
        // A valid date printed under a descriptor reads back under it.
        int m2, d2, y2;
        if (FMTGetDateFmtValues(out, fmt2, sep, yr2 == 0 ? 0 : 4, &m2, &d2, &y2) == 0) {
            if (m2 != m || d2 != d) std::abort();
        }
    }
    FMTDayOfWeek(text.c_str(), descriptor.c_str());
    FMTDayOfYear(text.c_str(), descriptor.c_str());
    char added[64] = "";
    std::strncpy(added, text.c_str(), 20);
    FMTDateAdd(added, descriptor.c_str(), d, m, y % 1000);
    return 0;
}
