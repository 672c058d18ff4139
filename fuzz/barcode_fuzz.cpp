// Bar code validation: the first byte names the type, the rest is the data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cmnw32/barcode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const char type[2] = {static_cast<char>(data[0]), '\0'};
    std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    int32_t rc = FMTValBarcode(text.data(), static_cast<int>(text.size()), type);
    if (rc != 0 && rc != 1 && rc != 2 && rc != 4) __builtin_trap();
    int16_t maxLen = UTLBarcodeMaxLen(type);
    if (rc == 0 && !text.empty() && maxLen != 254 && text.size() > 31) __builtin_trap();
    for (size_t i = 0; i < text.size() && i < 300; ++i)
        (void)UTLBarcodeChar(type, text[i], static_cast<uint16_t>(i),
                             static_cast<uint16_t>(text.size()));
    return 0;
}
