// The keyword parsers on arbitrary option texts: a caller's loop offering
// every position to each parser in turn must stay inside the text and end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cmnw32/errors.h"
#include "cmnw32/keyword.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool silenced = (UTLSetErrorNotify(UTLKVRErrorNotify), true);
    (void)silenced;
    // Input: keyword, a NUL, then the text.
    const auto *split = static_cast<const uint8_t *>(std::memchr(data, 0, size));
    const std::string keyword = split != nullptr
                                    ? std::string(reinterpret_cast<const char *>(data),
                                                  static_cast<size_t>(split - data))
                                    : std::string("key");
    const size_t textStart = split != nullptr ? static_cast<size_t>(split - data) + 1 : 0;
    // The text lives in its own exactly sized heap block.
    const size_t textSize = size - textStart;
    char *text = static_cast<char *>(std::malloc(textSize + 1));
    std::memcpy(text, data + textStart, textSize);
    text[textSize] = '\0';

    char *cursor = text;
    const char *kw = keyword.c_str();
    for (size_t rounds = 0; *cursor != '\0'; ++rounds) {
        if (rounds > textSize + 1) abort();  // a parser that does not move on
        const char *before = cursor;
        char *s = nullptr;
        int32_t i = 0;
        double d = 0;
        int32_t taken = UTLParseKeywordStr(&cursor, &s, kw);
        if (taken == 1 && (s < text || s > text + textSize)) abort();
        taken += UTLParseKeywordInt(&cursor, &i, kw);
        taken += UTLParseKeywordLong(&cursor, &i, kw);
        taken += UTLParseKeywordDouble(&cursor, &d, kw);
        taken += UTLParseKeywordBool(&cursor, &i, kw);
        if (cursor < before || cursor > text + textSize) abort();
        if (cursor == before) {
            if (taken != 0) abort();  // a taken entry always moves the cursor
            ++cursor;                 // the caller skips what no keyword takes
        }
    }
    std::free(text);
    return 0;
}
