// Feeds UTLFormatMessage a template and up to four inserts taken from the
// input (parts separated by 0xFF), with an output size from the first byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/mem.h"
#include "cmnw32/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    uint32_t outSize = data[0];
    std::vector<std::string> parts(1);
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && parts.size() < 5) {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    MEMLIST inserts = parts.size() > 1 ? MEMCreateList() : nullptr;
    for (size_t i = 1; i < parts.size(); ++i) {
        MEMAppendItem(inserts, parts[i].c_str(), parts[i].size() + 1);
    }
    std::vector<char> out(outSize + 1, '\x55');
    int32_t count = UTLFormatMessage(out.data(), outSize, parts[0].c_str(), inserts);
    if (outSize == 0 ? count != 0 : (count < 0 || static_cast<uint32_t>(count) >= outSize || out[count] != '\0')) {
        __builtin_trap();
    }
    if (out[outSize] != '\x55') __builtin_trap();
    if (parts.size() >= 3) {
        char small[32];
        UTLFmtMsgString(small, sizeof small, parts[0].c_str(), 2, parts[1].c_str(), parts[2].c_str());
    }
    if (inserts != nullptr) MEMDestroyList(inserts);
    return 0;
}
