// Small tests and edits of numeric field text.
#include <algorithm>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/mem.h"
#include "cmnw32/number.h"
#include "common/text.h"

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
    // Walks text from its end (reversed: at(0) is the last character), so
    // that text is written only when a comma is actually inserted.
    const auto at = [text, n](size_t i) { return text[n - 1 - i]; };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t in = 0, out = 0;
    if (std::memchr(text, '.', n) != nullptr)
        while (in < n) {
            work[out++] = at(in);
            if (at(in++) == '.') break;
        }
    int run = 0;
    for (; in < n && at(in) != ' '; ++in) {
        const char c = at(in);
        work[out++] = c;
        run = isDigit(c) ? run + 1 : 0;
        if (run == 3 && in + 1 < n && isDigit(at(in + 1))) {
            work[out++] = ',';
            run = 0;
        }
    }
    std::reverse(work, work + out);
    work[out] = '\0';
    cmnw::ReplaceIfChanged(text, work);
    MEMFree(work);
    return 1;
}
