// Message templates with numbered inserts, the string helpers and the
// placeholder entries of the form-object family.
#include "cmnw32/messages.h"

#include <cctype>
#include <cstdarg>
#include <cstring>

#include "cmnw32/mem.h"

namespace cmnw::diag {
namespace {

// The text of insert number (1-based), or null when the list lacks it.
const char *InsertText(MEMLIST inserts, unsigned number) noexcept {
    if (inserts == nullptr || number == 0) return nullptr;
    MEMITEM first = MEMFirstItem(inserts);
    if (first == nullptr) return nullptr;
    MEMITEM item = MEMItemFrom(first, number - 1);
    if (item == nullptr) return nullptr;
    const char *text = static_cast<const char *>(MEMItemData(item));
    size_t size = MEMItemSize(item);
    // A record without its terminator is read only up to its own size.
    if (text == nullptr || size == 0 || std::memchr(text, '\0', size) == nullptr) return nullptr;
    return text;
}

inline bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

}  // namespace

size_t FormatMessage(char *out, size_t outSize, const char *message, MEMLIST inserts) noexcept {
    if (out == nullptr) return 0;
    if (outSize == 0) return 0;
    const size_t limit = outSize - 1;
    size_t count = 0;
    const char *p = message != nullptr ? message : "";

    // Copies [text, text + length) as far as it fits below the limit.
    auto put = [&](const char *text, size_t length) noexcept {
        size_t room = limit - count;
        if (length > room) length = room;
        std::memcpy(out + count, text, length);
        count += length;
    };

    while (*p != '\0' && count < limit) {
        if (*p != '%') {
            out[count++] = *p++;
            continue;
        }
        char next = p[1];
        if (next == '\0') break;
        if (next == '0') {
            out[count++] = '\0';
            p += 2;
        } else if (next == 'n') {
            out[count++] = '\n';
            p += 2;
        } else if (IsDigit(next)) {
            unsigned number = static_cast<unsigned>(next - '0');
            size_t referenceLength = 2;
            if (IsDigit(p[2])) {
                number = number * 10 + static_cast<unsigned>(p[2] - '0');
                referenceLength = 3;
            }
            const char *text = InsertText(inserts, number);
            if (text != nullptr) {
                put(text, std::strlen(text));
            } else {
                put(p, referenceLength);
            }
            p += referenceLength;
        } else {
            out[count++] = next;
            p += 2;
        }
    }
    out[count] = '\0';
    return count;
}

}  // namespace cmnw::diag

extern "C" int32_t UTLFormatMessage(char *buffer, uint32_t bufferSize, const char *message,
                                    MEMLIST inserts) noexcept {
    return static_cast<int32_t>(cmnw::diag::FormatMessage(buffer, bufferSize, message, inserts));
}

extern "C" int32_t UTLFmtMsgString(char *buffer, uint32_t bufferSize, const char *message,
                                   int32_t count, ...) noexcept {
    if (buffer == nullptr) return 0;
    MEMLIST inserts = count > 0 ? MEMCreateList() : nullptr;
    if (inserts != nullptr) {
        va_list args;
        va_start(args, count);
        for (int32_t i = 0; i < count; ++i) {
            const char *text = va_arg(args, const char *);
            if (text == nullptr) text = "";
            if (MEMAppendItem(inserts, text, std::strlen(text) + 1) == nullptr) break;
        }
        va_end(args);
    }
    size_t written = cmnw::diag::FormatMessage(buffer, bufferSize, message, inserts);
    if (inserts != nullptr) MEMDestroyList(inserts);
    return static_cast<int32_t>(written);
}

extern "C" char *UTLstrncpy(char *dest, const char *source, size_t count) noexcept {
    if (dest == nullptr) return dest;
    size_t n = 0;
    if (source != nullptr) {
        while (n < count && source[n] != '\0') {
            dest[n] = source[n];
            ++n;
        }
    }
    if (n < count) std::memset(dest + n, 0, count - n);
    return dest;
}

extern "C" char *UTLstristr(const char *text, const char *part) noexcept {
    if (text == nullptr || part == nullptr) return nullptr;
    if (*part == '\0') return const_cast<char *>(text);
    const int firstLower = std::tolower(static_cast<unsigned char>(*part));
    for (const char *start = text; *start != '\0'; ++start) {
        if (std::tolower(static_cast<unsigned char>(*start)) != firstLower) continue;
        size_t i = 1;
        while (part[i] != '\0' && start[i] != '\0' &&
               std::tolower(static_cast<unsigned char>(start[i])) ==
                   std::tolower(static_cast<unsigned char>(part[i]))) {
            ++i;
        }
        if (part[i] == '\0') return const_cast<char *>(start);
        if (start[i] == '\0') return nullptr;  // the rest of text is too short
    }
    return nullptr;
}

extern "C" char *UTLstrrstr(const char *text, const char *part) noexcept {
    if (text == nullptr || *text == '\0') return nullptr;
    if (part == nullptr || *part == '\0') return const_cast<char *>(text);
    const size_t partLength = std::strlen(part);
    const char *found = std::strstr(text, part);
    if (found == nullptr) return nullptr;
    for (const char *next = std::strstr(found + partLength, part); next != nullptr;
         next = std::strstr(found + partLength, part)) {
        found = next;
    }
    return const_cast<char *>(found);
}

extern "C" int32_t QRMPARMB(void *, int32_t, uint8_t) noexcept { return 0; }
extern "C" int32_t QRMPARMW(void *, int32_t, uint16_t) noexcept { return 0; }
extern "C" int32_t QRMPARMDW(void *, int32_t, uint32_t) noexcept { return 0; }
extern "C" int32_t QRMPARMPFN(void *, int32_t, void (*)(void)) noexcept { return 0; }
extern "C" int32_t QRMPARMPTR(void *, int32_t, void *) noexcept { return 0; }
extern "C" int32_t QRMPARMMEMH(void *, int32_t, MEMLIST) noexcept { return 0; }
