// The ordered signature tests of file type detection. Each test answers 1
// (recognised), 0 (not recognised) or -1 (no content).
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/platform.h"

namespace cmnw::filetype {
namespace {

// The content a test sees: the head of the file and the whole file's length.
struct Content {
    const uint8_t *head;
    size_t headLength;  // min(fileLength, kHeadBytes)
    uint64_t fileLength;

    // Byte i of the head; callers check the length first.
    uint8_t At(size_t i) const { return head[i]; }
    // Little-endian 16-bit word at offset i.
    uint32_t Word(size_t i) const { return head[i] | static_cast<uint32_t>(head[i + 1]) << 8; }
    bool Has(size_t n) const { return headLength >= n; }
    bool StartsWith(const char *bytes, size_t n) const {
        return Has(n) && std::memcmp(head, bytes, n) == 0;
    }
    // Offset of the layouts that may sit behind a 128-byte header marked by
    // "*" at offset 127.
    size_t Base() const { return Has(128) && head[127] == '*' ? 128 : 0; }
};

using Test = int (*)(const Content &);

int IsPdf(const Content &c) {
    static constexpr char kMark[] = "%PDF-";
    // The mark and at least one byte after it inside the first 1024 bytes.
    for (size_t i = 0; i + 5 < c.headLength; ++i) {
        if (c.head[i] == '%' && std::memcmp(c.head + i, kMark, 5) == 0) return 1;
    }
    return 0;
}

int IsTiff(const Content &c) {
    return c.StartsWith("\x4D\x4D\x00\x2A", 4) || c.StartsWith("\x49\x49\x2A\x00", 4);
}

int IsH2400(const Content &c) {
    static constexpr char kMark[] = "H,2400";
    if (!c.Has(6)) return 0;
    for (size_t i = 0; i < 6; ++i) {
        uint8_t b = c.At(i);
        if (b >= 'a' && b <= 'z') b = static_cast<uint8_t>(b - 'a' + 'A');
        if (b != static_cast<uint8_t>(kMark[i])) return 0;
    }
    return 1;
}

int IsBitmap(const Content &c) { return c.StartsWith("BM", 2) || c.StartsWith("BA", 2); }
int IsJpeg(const Content &c) { return c.StartsWith("\xFF\xD8", 2); }
int IsPng(const Content &c) { return c.StartsWith("\x89PNG", 4); }

int IsType12(const Content &c) {
    if (c.fileLength < 152) return 0;
    const size_t b = c.Base();
    const uint8_t first = c.At(b);
    return (first == 'P' || first == 'L') && c.Word(b + 2) != 0 && c.Word(b + 4) != 0 &&
           c.Word(b + 16) <= 255 && c.Word(b + 18) != 0 && c.Word(b + 20) != 0 &&
           c.Word(b + 22) != 0;
}

int IsType7(const Content &c) {
    if (c.fileLength < 176) return 0;
    const size_t b = c.Base();
    const uint32_t w = c.Word(b + 46);
    const uint8_t first = c.At(b);
    return (w == 0 || w == 1 || w == 2 || w == 4 || w == 16 || w == 32) &&
           (first == 'I' || first == 'J' || first == 'L' || first == 'P');
}

int IsPcx(const Content &c) { return c.fileLength >= 128 && c.At(0) == 0x0A; }

int IsMetafile(const Content &c) { return c.fileLength >= 18 && c.Word(2) == 9; }

int IsModca(const Content &c) {
    return (c.Has(3) && c.At(1) == 0x00 && c.At(2) == 0x03) ||
           (c.Has(4) && c.At(0) == 0x5A && c.At(3) == 0xD3) ||
           (c.Has(6) && c.At(2) == 0x5A && c.At(5) == 0xD3) ||
           (c.Has(9) && c.At(2) == 0 && c.At(3) == 0 && c.At(6) == 0 && c.At(7) == 0 &&
            (c.At(8) == 0x5A || c.At(8) == 0x03));
}

int IsType8(const Content &c) {
    if (c.fileLength < 128) return 0;
    const size_t at = c.Base() == 0 ? 512 : 640;
    return c.Has(at + 1) && c.At(at) == 'p';
}

struct Row {
    int32_t type;
    Test test;  // null: never recognised
};

constexpr std::array<Row, 13> kRows = {{
    {1, IsPdf},
    {2, IsTiff},
    {3, IsH2400},
    {5, IsBitmap},
    {9, IsJpeg},
    {10, IsPng},
    {12, IsType12},
    {7, IsType7},
    {4, IsPcx},
    {11, IsMetafile},
    {6, IsModca},
    {8, IsType8},
    {13, nullptr},
}};

}  // namespace

int32_t TypeFromContent(const uint8_t *head, size_t headLength, uint64_t fileLength) noexcept {
    if (fileLength == 0 || head == nullptr) return 0;  // every test: no content
    if (headLength < std::min<uint64_t>(fileLength, kHeadBytes)) return 0;
    const Content content{head, headLength, fileLength};
    for (const Row &row : kRows) {
        if (row.test != nullptr && row.test(content) == 1) return row.type;
    }
    return 0;
}

}  // namespace cmnw::filetype
