// Field type names, custom masks applied and removed, display pictures.
#include "cmnw32/mask.h"

#include <cstring>

#include "cmnw32/date.h"
#include "cmnw32/errors.h"
#include "cmnw32/number.h"
#include "cmnw32/time.h"
#include "common/text.h"

namespace cmnw::mask {
namespace {

constexpr size_t kTextMax = FMT_MASK_TEXT_MAX;
constexpr size_t kPictureMax = FMT_DISPLAY_PICTURE_MAX;

// Per thread: the picture handed out stays the caller's until the same
// thread asks again.
struct MaskState {
    char picture[kPictureMax + 1];
};
constinit thread_local MaskState t_mask{};

struct TypeName {
    char code;
    int32_t message;
};
constexpr TypeName kTypeNames[] = {
    {'A', 27}, {'B', 35}, {'C', 20}, {'I', 28}, {'K', 26}, {'M', 34}, {'T', 56}, {'X', 25},
    {'a', 23}, {'d', 32}, {'i', 24}, {'k', 22}, {'m', 31}, {'n', 29}, {'t', 33}, {'x', 21},
    {'y', 30},
};

// One "count,literal" pair read from a mask.
struct Pair {
    size_t count;
    const char *literal;
    size_t literalLength;
};

// Reads the pair at *cursor and moves the cursor past it (to null after the
// last one). False when the count has no comma after it or does not start
// with a digit.
bool NextPair(const char **cursor, Pair *pair) noexcept {
    const char *p = *cursor;
    const char *comma = std::strchr(p, ',');
    if (comma == nullptr) return false;
    while (p < comma && IsBlankChar(static_cast<unsigned char>(*p))) ++p;
    if (p == comma || *p < '0' || *p > '9') return false;
    size_t count = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (count <= kTextMax) count = count * 10 + static_cast<size_t>(*p - '0');
    pair->count = count;
    pair->literal = comma + 1;
    const char *end = std::strchr(pair->literal, ',');
    pair->literalLength = end == nullptr ? std::strlen(pair->literal)
                                         : static_cast<size_t>(end - pair->literal);
    *cursor = end == nullptr ? nullptr : end + 1;
    return true;
}

// Applies (removing == false) or removes a mask. Returns 0, 2 or 3.
int Transform(const char *text, char *out, unsigned outSize, const char *mask,
              bool removing) noexcept {
    if (text == nullptr) text = "";
    if (mask == nullptr || mask[0] == '\0') {
        const size_t n = std::strlen(text);
        if (out == nullptr || n > outSize) return 2;
        std::memcpy(out, text, n + 1);
        return 0;
    }
    char work[kTextMax + 1];
    size_t length = 0;
    const char *cursor = mask;
    while (cursor != nullptr) {
        Pair pair;
        if (!NextPair(&cursor, &pair)) return 3;
        if (length + pair.count > kTextMax) return 3;
        for (size_t i = 0; i < pair.count; ++i) work[length++] = *text != '\0' ? *text++ : ' ';
        if (removing) {
            if (std::strncmp(text, pair.literal, pair.literalLength) != 0) return 3;
            text += pair.literalLength;
        } else {
            if (length + pair.literalLength > kTextMax) return 3;
            std::memcpy(work + length, pair.literal, pair.literalLength);
            length += pair.literalLength;
        }
    }
    const size_t rest = std::strlen(text);
    if (length + rest > kTextMax) return 3;
    std::memcpy(work + length, text, rest);
    length += rest;
    if (out == nullptr || length > outSize) return 2;
    std::memcpy(out, work, length);
    out[length] = '\0';
    return 0;
}

const char *CustomPicture(const char *mask) noexcept {
    char *picture = t_mask.picture;
    size_t length = 0;
    const char *cursor = mask[0] == '\0' ? nullptr : mask;
    while (cursor != nullptr) {
        Pair pair;
        if (!NextPair(&cursor, &pair) || length + pair.count + pair.literalLength > kPictureMax) {
            picture[0] = '\0';
            return picture;
        }
        std::memset(picture + length, 'X', pair.count);
        length += pair.count;
        std::memcpy(picture + length, pair.literal, pair.literalLength);
        length += pair.literalLength;
    }
    picture[length] = '\0';
    return picture;
}

}  // namespace
}  // namespace cmnw::mask

using namespace cmnw::mask;

extern "C" const char *FMTTypeString(char code) noexcept {
    for (const TypeName &t : kTypeNames)
        if (t.code == code) return UTLErrorMsg(t.message);
    return "";
}

extern "C" int FMTFmtString(const char *raw, char *out, unsigned outSize,
                            const char *mask) noexcept {
    return Transform(raw, out, outSize, mask, false);
}

extern "C" int FMTDefmtString(const char *masked, char *out, unsigned outSize,
                              const char *mask) noexcept {
    return Transform(masked, out, outSize, mask, true);
}

extern "C" const char *FMTFormatString(char code, const char *format) noexcept {
    char *picture = t_mask.picture;
    std::memset(picture, 0, sizeof t_mask.picture);
    if (format == nullptr) return picture;
    switch (code) {
        case 'C':
            return CustomPicture(format);
        case 'n':
            cmnw::CopyBounded(picture, sizeof t_mask.picture, format);
            if (FMTValidNumericFormat(picture) != 0) picture[0] = '\0';
            return picture;
        case 'd':
            FMTDateFormatString(format, picture, kPictureMax);
            return picture;
        case 'T':
            FMTTimeFormatString(format, picture, kPictureMax);
            return picture;
        default:
            return picture;
    }
}
