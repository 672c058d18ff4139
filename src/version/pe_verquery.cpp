// The version resource's tree of entries (VS_VERSIONINFO and its children)
// and the three exported calls. Each entry is: total length, value length,
// type (1 for text), a NUL-terminated UTF-16 key, padding to 4 bytes, the
// value (text lengths count 16-bit units), padding, then the children. A
// prepared block holds, behind the resource, the code page 1252 form of
// every text value at one byte per source unit from where the value sits, so
// that queries need not write.
#include <cstring>

#include "cmnw32/sys.h"
#include "cmnw32/sysver.h"
#include "common/cp1252.h"
#include "version/pe_version.h"

namespace cmnw::version {
namespace {

constexpr uint32_t kHeaderBytes = 6;
constexpr uint32_t kFixedInfoBytes = 52;
// How deep the tree may go, and the depth of the strings below
// "\StringFileInfo\<language><code page>".
enum Depth : int { kStringDepth = 3, kMaxDepth = 6 };

uint32_t Align4(uint32_t n) noexcept {
    return (n + 3u) & ~3u;
}

struct Entry {
    uint32_t start;
    uint32_t end;
    uint32_t keyStart;  // first unit of the key
    uint32_t keyUnits;  // without its NUL
    uint32_t valueStart;
    uint32_t valueBytes;
    bool text;
    uint32_t firstChild;
};

// Reads the entry at start within [start, limit); its length is cut to limit.
// A string of a string table (stringEntry) holds text whatever its type says,
// as some resource compilers write type 0 there.
bool ReadEntry(const uint8_t *block, uint32_t start, uint32_t limit, Entry &e,
               bool stringEntry = false) noexcept {
    if (start >= limit || limit - start < kHeaderBytes) return false;
    const uint32_t length = Le16(block + start);
    if (length < kHeaderBytes) return false;
    e.start = start;
    e.end = length < limit - start ? start + length : limit;
    e.text = stringEntry || Le16(block + start + 4) == 1;
    e.keyStart = start + kHeaderBytes;
    uint32_t p = e.keyStart;
    while (p + 2 <= e.end && Le16(block + p) != 0) p += 2;
    if (p + 2 > e.end) return false;
    e.keyUnits = (p - e.keyStart) / 2;
    e.valueStart = Align4(p + 2) < e.end ? Align4(p + 2) : e.end;
    const uint32_t declared = Le16(block + start + 2) * (e.text ? 2u : 1u);
    e.valueBytes = declared < e.end - e.valueStart ? declared : e.end - e.valueStart;
    e.firstChild = Align4(e.valueStart + e.valueBytes);
    return true;
}

// Where the single-byte copy of the text value at valueStart lives.
uint32_t TextCopyAt(uint32_t rootEnd, uint32_t valueStart) noexcept {
    return Align4(rootEnd) + valueStart / 2;
}

// Code page 1252 of the UTF-16 units at src (stopping at a NUL unit), "?"
// for a character it lacks (a surrogate pair is one character); returns the
// bytes written, a NUL after them.
uint32_t WriteSingleByte(const uint8_t *src, uint32_t units, uint8_t *out) noexcept {
    uint8_t *o = out;
    for (uint32_t i = 0; i < units; ++i) {
        const uint32_t c = Le16(src + 2 * i);
        if (c == 0) break;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && Le16(src + 2 * i + 2) >= 0xDC00 &&
            Le16(src + 2 * i + 2) <= 0xDFFF)
            ++i;  // beyond the BMP: '?' below
        *o++ = Cp1252ByteOf(c);
    }
    *o = 0;
    return static_cast<uint32_t>(o - out);
}

bool IsStringFileInfo(const uint8_t *block, const Entry &e) noexcept;

void CopyTexts(uint8_t *block, uint32_t rootEnd, const Entry &e, int depth,
               bool inStrings) noexcept {
    if (e.text)
        WriteSingleByte(block + e.valueStart, e.valueBytes / 2,
                        block + TextCopyAt(rootEnd, e.valueStart));
    if (depth >= kMaxDepth) return;
    Entry child{};
    const bool strings = inStrings && depth + 1 == kStringDepth;
    for (uint32_t at = e.firstChild; ReadEntry(block, at, e.end, child, strings);
         at = Align4(child.end))
        CopyTexts(block, rootEnd, child, depth + 1,
                  depth == 0 ? IsStringFileInfo(block, child) : inStrings);
}

inline uint8_t FoldAscii(uint32_t c) noexcept {
    return static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

bool KeyEquals(const uint8_t *block, const Entry &e, const char *name, size_t length) noexcept {
    if (e.keyUnits != length) return false;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t unit = Le16(block + e.keyStart + 2 * i);
        const uint8_t c = static_cast<uint8_t>(name[i]);
        if (unit > 0xFF || FoldAscii(unit) != FoldAscii(c)) return false;
    }
    return true;
}

bool IsStringFileInfo(const uint8_t *block, const Entry &e) noexcept {
    return KeyEquals(block, e, "StringFileInfo", 14);
}

}  // namespace

uint32_t VersionBlockSize(uint32_t rawSize) noexcept {
    return Align4(rawSize) + rawSize / 2 + 8;
}

bool PrepareVersionBlock(uint8_t *block, uint32_t size, uint32_t rawSize) noexcept {
    if (block == nullptr || rawSize < kHeaderBytes || size < VersionBlockSize(rawSize))
        return false;
    std::memset(block + rawSize, 0, size - rawSize);
    uint32_t rootLength = Le16(block);
    if (rootLength > rawSize) {
        rootLength = rawSize;
        block[0] = static_cast<uint8_t>(rootLength);
        block[1] = static_cast<uint8_t>(rootLength >> 8);
    }
    Entry root{};
    if (!ReadEntry(block, 0, rootLength, root)) return false;
    CopyTexts(block, rootLength, root, 0, false);
    return true;
}

bool QueryVersionValue(const uint8_t *block, const char *subBlock, const void **value,
                       uint32_t *length) noexcept {
    *value = nullptr;
    *length = 0;
    if (block == nullptr || subBlock == nullptr) return false;
    const uint32_t rootEnd = Le16(block);
    Entry e{};
    if (!ReadEntry(block, 0, rootEnd, e)) return false;
    int depth = 0;
    bool inStrings = false;
    const char *p = subBlock;
    for (;;) {
        while (*p == '\\') ++p;
        if (*p == '\0') break;
        const size_t nameLength = std::strcspn(p, "\\");
        if (++depth > kMaxDepth) return false;
        Entry child{};
        bool found = false;
        const bool strings = inStrings && depth == kStringDepth;
        for (uint32_t at = e.firstChild; ReadEntry(block, at, e.end, child, strings);
             at = Align4(child.end)) {
            if (KeyEquals(block, child, p, nameLength)) {
                found = true;
                break;
            }
        }
        if (!found) return false;
        if (depth == 1) inStrings = IsStringFileInfo(block, child);
        e = child;
        p += nameLength;
    }
    if (depth == 0) {
        if (e.valueBytes < kFixedInfoBytes) return false;
        *value = block + e.valueStart;
        *length = kFixedInfoBytes;
        return true;
    }
    if (e.text) {
        const uint8_t *copy = block + TextCopyAt(rootEnd, e.valueStart);
        *value = copy;
        *length = static_cast<uint32_t>(std::strlen(reinterpret_cast<const char *>(copy))) + 1;
        return true;
    }
    *value = block + e.valueStart;
    *length = e.valueBytes;
    return true;
}

}  // namespace cmnw::version

namespace {

// The version resource of the file at path: its place, and the stream (open
// only when found).
FILE *OpenVersionResource(const char *path, cmnw::version::ResourceSpan &span) noexcept {
    FILE *file = path != nullptr ? SYSfopen(path, "rb") : nullptr;
    if (file == nullptr) return nullptr;
    cmnw::version::StreamSource source(file);
    if (cmnw::version::FindVersionResource(source, span)) return file;
    SYSfclose(file);
    return nullptr;
}

}  // namespace

extern "C" uint32_t SYSGetFileVersionInfoSize(const char *path, uint32_t *handle) noexcept {
    if (handle != nullptr) *handle = 0;
    cmnw::version::ResourceSpan span{};
    FILE *file = OpenVersionResource(path, span);
    if (file == nullptr) return 0;
    SYSfclose(file);
    return cmnw::version::VersionBlockSize(span.size);
}

extern "C" int SYSGetFileVersionInfo(const char *path, uint32_t, uint32_t size,
                                     void *data) noexcept {
    using namespace cmnw::version;
    if (data == nullptr) return 0;
    ResourceSpan span{};
    FILE *file = OpenVersionResource(path, span);
    if (file == nullptr) return 0;
    bool ok = size >= VersionBlockSize(span.size) &&
              StreamSource(file).Read(span.offset, data, span.size);
    SYSfclose(file);
    ok = ok && PrepareVersionBlock(static_cast<uint8_t *>(data), size, span.size);
    return ok ? 1 : 0;
}

extern "C" int SYSVerQueryValue(const void *block, const char *subBlock, void **value,
                                uint32_t *length) noexcept {
    const void *found = nullptr;
    uint32_t size = 0;
    const bool ok = cmnw::version::QueryVersionValue(static_cast<const uint8_t *>(block),
                                                       subBlock, &found, &size);
    if (value != nullptr) *value = const_cast<void *>(found);
    if (length != nullptr) *length = size;
    return ok ? 1 : 0;
}
