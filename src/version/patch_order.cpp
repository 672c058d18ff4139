// Orderings of patch summaries and records.
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/version.h"

namespace cmnw::version {
namespace {

int Sign(int v) noexcept {
    return (v > 0) - (v < 0);
}

// Orders a missing a or b: missing sorts after. Returns 2 when both exist.
int MissingOrder(const void *a, const void *b, int missingA) noexcept {
    if (a == nullptr) return b == nullptr ? 0 : missingA;
    if (b == nullptr) return -missingA;
    return 2;
}

// Moves a and b past their first ':'; a text without one sorts after, and
// the order is returned then. Returns 2 when both have one.
int PastColons(const char *&a, const char *&b) noexcept {
    a = std::strchr(a, ':');
    b = std::strchr(b, ':');
    const int r = MissingOrder(a, b, 1);
    if (r == 2) {
        ++a;
        ++b;
    }
    return r;
}

const char *FirstDigit(const char *text) noexcept {
    for (; *text != '\0'; ++text) {
        if (UTLisdigit(static_cast<unsigned char>(*text)) != 0) return text;
    }
    return nullptr;
}

}  // namespace

int32_t CompareSummaries(const char *a, const char *b) noexcept {
    int r = MissingOrder(a, b, 1);
    if (r != 2) return r;
    r = Sign(std::strncmp(a, b, 3));
    if (r != 0) return r;
    const char *ia = a;
    const char *ib = b;
    r = PastColons(ia, ib);
    if (r != 2) return r;
    const char *da = FirstDigit(ia);
    const char *db = FirstDigit(ib);
    r = MissingOrder(da, db, -1);
    if (r != 2) return r;
    const size_t la = static_cast<size_t>(da - ia);
    const size_t lb = static_cast<size_t>(db - ib);
    r = Sign(std::memcmp(ia, ib, la < lb ? la : lb));
    if (r != 0) return r;
    if (la != lb) return la < lb ? -1 : 1;
    const size_t na = std::strlen(da);
    const size_t nb = std::strlen(db);
    if (na != nb) return na < nb ? -1 : 1;
    return Sign(UTLstricmp(da, db));
}

int32_t CompareRecords(const char *a, const char *b) noexcept {
    int r = MissingOrder(a, b, 1);
    if (r != 2) return r;
    const char *fa = a;
    const char *fb = b;
    r = PastColons(fa, fb);
    if (r != 2) return r;
    const size_t la = std::strcspn(fa, ":");
    const size_t lb = std::strcspn(fb, ":");
    if (la != lb) return la < lb ? -1 : 1;
    return Sign(UTLstrnicmp(fa, fb, la));
}

}  // namespace cmnw::version

extern "C" int32_t UTLKVRVERCompareFunc(const char *a, const char *b) noexcept {
    return cmnw::version::CompareSummaries(a, b);
}

extern "C" int32_t UTLKVRVERCompareFunc2(const char *a, const char *b) noexcept {
    return cmnw::version::CompareRecords(a, b);
}
