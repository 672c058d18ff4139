// Case-insensitive and collating comparisons, and white-space clipping of
// byte and UTF-16 strings.
#include <unicode/uchar.h>

#include <cstring>
#include <type_traits>

#include "chars/ctype_state.h"
#include "chars/ctype_tables.h"
#include "chars/fold_compare.h"
#include "cmnw32/ctype.h"
#include "common/text.h"

namespace cmnw::chars {
namespace {

using Bytes = const unsigned char *;

constexpr uint16_t kNoBreakSpace = 0xA0;
constexpr size_t kUnlimited = static_cast<size_t>(-1);

Bytes AsBytes(const void *text) noexcept {
    return text != nullptr ? static_cast<Bytes>(text) : reinterpret_cast<Bytes>("");
}

// Compares by lower-case entries; a NUL in either string ends the walk when
// stopAtNul is set. Equal bytes have equal lower-case entries, so only
// differing bytes need the table.
int32_t CompareFolded(Bytes a, Bytes b, size_t n, bool stopAtNul) noexcept {
    const uint16_t *lower = CTypeTableInForce() + CT_LOWER_MAP;
    for (size_t i = 0; i < n; ++i) {
        unsigned x = a[i];
        unsigned y = b[i];
        if (x != y) {
            int32_t diff = int32_t{lower[x]} - int32_t{lower[y]};
            if (diff != 0) return diff;
            if (stopAtNul && (x == 0 || y == 0 || lower[x] == 0)) return 0;
        } else if (stopAtNul && (x == 0 || lower[x] == 0)) {
            return 0;
        }
    }
    return 0;
}

// Collating walk: the first pair of differing bytes decides (after case
// folding when ignoreCase is set).
int32_t Collate(Bytes a, Bytes b, size_t n, bool ignoreCase) noexcept {
    const uint16_t *table = CTypeTableInForce();
    const uint16_t *weight = table + CT_COLLATE;
    const uint16_t *lower = table + CT_LOWER_MAP;
    for (size_t i = 0; i < n; ++i) {
        unsigned x = a[i];
        unsigned y = b[i];
        if (x != y) {
            if (!ignoreCase) return int32_t{weight[x]} - int32_t{weight[y]};
            unsigned lx = lower[x];
            unsigned ly = lower[y];
            if (lx != ly) return int32_t{weight[lx & 0xFF]} - int32_t{weight[ly & 0xFF]};
            if (y == 0) return 0;
        }
        if (x == 0) return 0;
    }
    return 0;
}

// Clears trailing white space of s[0..len) and returns the length kept.
template <typename Unit, typename IsSpace>
int32_t ClipTrailing(Unit *s, int32_t len, bool keepNoBreakSpace, IsSpace isSpace) noexcept {
    if (s == nullptr || len <= 0) return 0;
    int32_t i = len - 1;
    for (; i >= 0; --i) {
        auto unit = static_cast<std::make_unsigned_t<Unit>>(s[i]);
        if (keepNoBreakSpace && unit == kNoBreakSpace) break;
        if (!isSpace(unit)) break;
        s[i] = 0;
    }
    return i + 1;
}

bool IsByteSpace(unsigned char c) noexcept {
    return (CTypeTableInForce()[c] & CT_SPACE) != 0;
}
bool IsUnitSpace(uint16_t unit) noexcept {
    return u_isspace(unit) != 0;
}

int32_t StripLeadingW(uint16_t *s) noexcept {
    size_t n = 0;
    while (s[n] != 0) ++n;
    size_t k = 0;
    while (k < n && IsUnitSpace(s[k])) ++k;
    if (k == n) return static_cast<int32_t>(n);
    if (k > 0) {
        std::memmove(s, s + k, (n - k) * sizeof *s);
        n -= k;
        s[n] = 0;
    }
    return static_cast<int32_t>(n);
}

char *MapInPlace(char *s, int block) noexcept {
    if (s == nullptr) return nullptr;
    const uint16_t *map = CTypeTableInForce() + block;
    for (char *p = s; *p != '\0'; ++p)
        StoreIfChanged(*p, static_cast<char>(map[static_cast<unsigned char>(*p)] & 0xFF));
    return s;
}

}  // namespace

int32_t StricmpByTable(const char *a, const char *b) noexcept {
    return CompareFolded(AsBytes(a), AsBytes(b), kUnlimited, true);
}

}  // namespace cmnw::chars

namespace chars = cmnw::chars;

extern "C" char *UTLstrlwr(char *s) noexcept {
    return chars::MapInPlace(s, CT_LOWER_MAP);
}
extern "C" char *UTLstrupr(char *s) noexcept {
    return chars::MapInPlace(s, CT_UPPER_MAP);
}

extern "C" int32_t UTLmemicmp(const void *a, const void *b, size_t n) noexcept {
    if (n == 0 || a == b) return 0;
    if (a == nullptr) return -1;
    if (b == nullptr) return 1;
    return chars::CompareFolded(chars::AsBytes(a), chars::AsBytes(b), n, false);
}

// Resolved once while the library loads, so that a call goes straight to the
// compare for this processor. The resolver has external linkage (kept out of
// the exported symbols) for compilers that look ifunc targets up by symbol.
extern "C" CMNW_BEFORE_SANITIZERS chars::StricmpFn CmnwResolveStricmp() noexcept {
    return chars::PickStricmp();
}
extern "C" int32_t UTLstricmp(const char *a, const char *b) noexcept
    __attribute__((ifunc("CmnwResolveStricmp")));

extern "C" int32_t UTLstrnicmp(const char *a, const char *b, size_t n) noexcept {
    return chars::CompareFolded(chars::AsBytes(a), chars::AsBytes(b), n, true);
}

extern "C" int32_t UTLstrcoll(const char *a, const char *b) noexcept {
    return chars::Collate(chars::AsBytes(a), chars::AsBytes(b), chars::kUnlimited, false);
}

extern "C" int32_t UTLstricoll(const char *a, const char *b) noexcept {
    return chars::Collate(chars::AsBytes(a), chars::AsBytes(b), chars::kUnlimited, true);
}

extern "C" int32_t UTLstrncoll(const char *a, const char *b, size_t n) noexcept {
    return chars::Collate(chars::AsBytes(a), chars::AsBytes(b), n, false);
}

extern "C" int32_t UTLstrnicoll(const char *a, const char *b, size_t n) noexcept {
    return chars::Collate(chars::AsBytes(a), chars::AsBytes(b), n, true);
}

extern "C" int32_t UTLStrClip(char *s, int32_t len) noexcept {
    return chars::ClipTrailing(s, len, false, chars::IsByteSpace);
}

extern "C" int32_t UTLStrClipW(uint16_t *s, int32_t len) noexcept {
    return chars::ClipTrailing(s, len, false, chars::IsUnitSpace);
}

extern "C" int32_t UTLTrimSpace(char *s, int32_t len) noexcept {
    return chars::ClipTrailing(s, len, true, chars::IsByteSpace);
}

extern "C" int32_t UTLTrimSpaceW(uint16_t *s, int32_t len) noexcept {
    return chars::ClipTrailing(s, len, true, chars::IsUnitSpace);
}

extern "C" int32_t UTLStrLeftW(uint16_t *s) noexcept {
    return s != nullptr ? chars::StripLeadingW(s) : 0;
}

extern "C" int32_t UTLKillSpacesW(uint16_t *s) noexcept {
    if (s == nullptr) return 0;
    return UTLTrimSpaceW(s, UTLStrLeftW(s));
}
