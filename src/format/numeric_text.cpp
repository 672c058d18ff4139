// Small tests and edits of numeric field text.
#include <algorithm>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/mem.h"
#include "cmnw32/number.h"

extern "C" int FMTIsNotBlank(const char *text) noexcept {
    if (text == nullptr) return 0;
    for (const char *p = text; *p != '\0'; ++p)
        if (!UTLisspace(static_cast<unsigned char>(*p))) return 1;
    return 0;
}

extern "C" int FMTIs1_9(char ch) noexcept { return ch >= '1' && ch <= '9' ? 1 : 0; }

extern "C" int FMTAddCommas(char *text) noexcept {
    if (text == nullptr) return 0;
    const size_t n = std::strlen(text);
    char *work = static_cast<char *>(MEMAlloc(n + n / 3 + 1));
    if (work == nullptr) return 0;
    std::reverse(text, text + n);
    size_t in = 0, out = 0;
    if (std::memchr(text, '.', n) != nullptr)
        while (in < n) {
            work[out++] = text[in];
            if (text[in++] == '.') break;
        }
    int run = 0;
    for (; in < n && text[in] != ' '; ++in) {
        const char c = text[in];
        work[out++] = c;
        const bool digit = c >= '0' && c <= '9';
        run = digit ? run + 1 : 0;
        if (run == 3 && in + 1 < n && text[in + 1] >= '0' && text[in + 1] <= '9') {
            work[out++] = ',';
            run = 0;
        }
    }
    std::reverse(work, work + out);
    std::memcpy(text, work, out);
    text[out] = '\0';
    MEMFree(work);
    return 1;
}
