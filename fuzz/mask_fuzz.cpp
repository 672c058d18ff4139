// Custom masks: input is "<mask>\n<text>". Applying and removing a mask must
// give a documented code and never write past the stated size.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "cmnw32/mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    const size_t cut = input.find('\n');
    std::string mask = input.substr(0, cut).c_str();
    std::string text = cut == std::string::npos ? "" : input.substr(cut + 1).c_str();
    const unsigned outSize = static_cast<unsigned>(size % 64) * 20;
    char *out = new char[outSize + 1];
    int rc = FMTFmtString(text.c_str(), out, outSize, mask.c_str());
    if (rc != 0 && rc != 2 && rc != 3) __builtin_trap();
    if (rc == 0) {
        std::string masked = out;
        if (masked.size() > outSize) __builtin_trap();
        char *back = new char[outSize + 1];
        const int rc2 = FMTDefmtString(masked.c_str(), back, outSize, mask.c_str());
        if (rc2 != 0 && rc2 != 2) __builtin_trap();
        delete[] back;
    }
    rc = FMTDefmtString(text.c_str(), out, outSize, mask.c_str());
    if (rc != 0 && rc != 2 && rc != 3) __builtin_trap();
    const char *picture = FMTFormatString('C', mask.c_str());
    if (std::strlen(picture) > FMT_DISPLAY_PICTURE_MAX) __builtin_trap();
    (void)FMTFormatString('n', mask.c_str());
    delete[] out;
    return 0;
}
