// Time texts and descriptors from arbitrary bytes: the first byte picks the
// format number and the buffer limit, the rest splits at the first NUL into
// a descriptor and a time text. A valid time must print within 12 bytes and
// read back the same; no call may write past the sizes it is given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmnw32/time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const int fmtNum = data[0] % 6;
    const unsigned maxLen = data[0] / 6;
    std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const size_t cut = rest.find('\0');
    const std::string descriptor = cut == std::string::npos ? std::string() : rest.substr(0, cut);
    std::string text = cut == std::string::npos ? rest : rest.substr(cut + 1);
    text = text.c_str();

    char marker[8];
    std::memset(marker, 0x7F, sizeof marker);
    int h = 0, m = 0, s = 0;
    const int result = FMTGetTimeFmtValues(text.c_str(), fmtNum, nullptr, marker, &h, &m, &s);
    if (marker[3] != 0x7F) std::abort();
    if (result == 0) {
        if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) std::abort();
        char out[48];
        std::memset(out, 0x7F, sizeof out);
        FMTMakeTime(out, descriptor.c_str(), h, m, s);
        if (std::memchr(out, '\0', 12) == nullptr) std::abort();
        int h2 = -1, m2 = -1, s2 = -1;
        if (FMTGetTimeFmtValues(out, FMTGetTimeFmtNum(descriptor.c_str()), nullptr, nullptr, &h2,
                                &m2, &s2) != 0)
            std::abort();
        if (h2 != h || m2 != m) std::abort();
    }

    // Typed-time validation rewrites within the canonical size.
    char typed[64];
    std::memset(typed, 0x7F, sizeof typed);
    std::strncpy(typed, text.c_str(), 40);
    typed[40] = '\0';
    FMTValTime(typed, maxLen, descriptor.c_str());
    if (typed[41] != 0x7F) std::abort();
    std::strncpy(typed, text.c_str(), 40);
    typed[40] = '\0';
    FMTDeformatTime(typed, maxLen, descriptor.c_str());
    if (typed[41] != 0x7F) std::abort();

    char added[48];
    std::strncpy(added, text.c_str(), 20);
    added[20] = '\0';
    FMTTimeAdd(added, descriptor.c_str(), s, m, h);
    char picture[16];
    FMTTimeFormatString(descriptor.c_str(), picture, static_cast<unsigned>(maxLen % 17));
    char converted[16];
    FMTTime2Time(text.c_str(), descriptor.c_str(), converted, "2.");
    FMTDiffSeconds(text.c_str(), descriptor.c_str(), "12:00", "3:");
    FMTGetLTime(text.c_str());
    return 0;
}
