// Numeric formatting: input is "<len byte><picture>\n<value>". The result
// must be a documented code, and a fitted value exactly len characters.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>

#include "cmnw32/number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const int len = static_cast<int>(static_cast<int8_t>(data[0]));
    std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const size_t cut = rest.find('\n');
    std::string picture = rest.substr(0, cut);
    std::string value = cut == std::string::npos ? "" : rest.substr(cut + 1);
    picture = picture.c_str();  // stop at an embedded NUL
    value = value.c_str();
    // The value buffer holds at least len + 1 bytes, as callers promise.
    const size_t room = std::max<size_t>(value.size(), len > 0 ? len : 0) + 1;
    char *pic = new char[picture.size() + 1];
    char *val = new char[room];
    std::memcpy(pic, picture.c_str(), picture.size() + 1);
    std::memset(val, 0, room);
    std::memcpy(val, value.c_str(), value.size());
    const int rc = FMTValNumFormat(len, pic, val);
    if (rc < 0 || rc > 3) __builtin_trap();
    if (rc == 0 && !value.empty() && std::strlen(val) != static_cast<size_t>(len)) __builtin_trap();
    char check[64];
    std::snprintf(check, sizeof check, "%s", picture.c_str());
    (void)FMTValidNumericFormat(check);
    delete[] pic;
    delete[] val;
    return 0;
}
