// The marker table's matching and counters, and the consecutiveness check
// that turns sorted patch summaries into report lines.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "cmnw32/ctype.h"
#include "cmnw32/version.h"
#include "common/text.h"
#include "version/version.h"

namespace cmnw::version {
namespace {

struct MarkerState {
    int32_t counters[kMarkerCount][2];
};

constinit MarkerState g_markers{};

// Width of the record column of a report line.
constexpr int kFieldWidth = 25;
// Every report line built from a field and a message fits in this.
constexpr size_t kLineMin = 80;

// The table entry a summary belongs to, or -1. Only the single-byte entries
// are matched by their word; records of the UTF-16LE "@@RWT PATCH" marker
// share the word of the single-byte one and are counted there.
int EntryOfRecord(const char *record) noexcept {
    for (int e = 0; e < kMarkerCount; ++e) {
        if (!kMarkers[e].utf16 && std::strncmp(record, kMarkers[e].word, 3) == 0) return e;
    }
    if (std::strncmp(record, "MXTRLOG PATCH", 13) == 0) return 3;
    return -1;
}

int32_t ProblemLine(char *line, const char *field, const char *message) noexcept {
    FormatBounded(line, kLineMin, "%-*.*s%s", kFieldWidth, kFieldWidth, field, message);
    return 1;
}

int32_t RecordLine(char *line, const char *record) noexcept {
    std::memcpy(line, record, std::strlen(record) + 1);
    return 1;
}

long NumberAfter(const char *text) noexcept {
    errno = 0;
    long n = std::strtol(text, nullptr, 10);
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return n;
}

}  // namespace

int MatchMarker(const unsigned char *bytes, size_t available) noexcept {
    bool partial = false;
    for (int e = 0; e < kMarkerCount; ++e) {
        const MarkerEntry &m = kMarkers[e];
        const size_t n = available < m.length ? available : m.length;
        size_t i = 0;
        while (i < n && bytes[i] == static_cast<unsigned char>(m.bytes[i])) ++i;
        if (i < n) continue;
        if (n == m.length) return e;
        partial = true;
    }
    return partial ? kNeedMoreBytes : kNoMarker;
}

void ResetMarkerCounters() noexcept {
    g_markers = MarkerState{};
}

int32_t CheckConsecutive(const char *summary, char *line) noexcept {
    const int entry = EntryOfRecord(summary);
    if (entry < 0) return RecordLine(line, summary);
    const char *colon = std::strchr(summary, ':');
    if (colon == nullptr) return ProblemLine(line, summary, " Problem with Patch Info (no colon).");
    const char *prefix = colon + 1;
    if (UTLisalpha(static_cast<unsigned char>(*prefix)) == 0)
        return ProblemLine(line, summary, " Problem with Patch Info (no prefix).");
    const char *digits = prefix;
    while (*digits != '\0' && UTLisalpha(static_cast<unsigned char>(*digits)) != 0) ++digits;
    const long number = NumberAfter(digits);
    if (number > 999)
        return ProblemLine(line, summary, " Problem with Patch Info (incorrect patch number).");
    if (*digits == ' ' || *digits == '\0' || UTLisdigit(static_cast<unsigned char>(*digits)) == 0)
        return ProblemLine(line, summary, "   Problem with Patch Info (no digit).");

    const size_t prefixLength = static_cast<size_t>(digits - prefix);
    int slot = -1;
    for (int k = 0; k < 2; ++k) {
        const char *known = kMarkers[entry].prefixes[k];
        if (known != nullptr && std::strlen(known) == prefixLength &&
            std::memcmp(known, prefix, prefixLength) == 0)
            slot = k;
    }
    if (slot < 0) return RecordLine(line, summary);

    int32_t &counter = g_markers.counters[entry][slot];
    const int32_t expected = counter + 1;
    if (number <= expected) {
        counter = static_cast<int32_t>(number);
        return RecordLine(line, summary);
    }
    char head[kFieldWidth + 1];
    FormatBounded(head, sizeof head, "%.*s%.*s%s%d", static_cast<int>(prefix - summary), summary,
                  static_cast<int>(prefixLength), prefix, expected < 10 ? "0" : "", expected);
    FormatBounded(line, kLineMin, "%-*s%s", kFieldWidth, head,
                  "* Not detected, see explanation below.");
    ++counter;
    return 0;
}

}  // namespace cmnw::version

extern "C" int32_t UTLKVRVERComparePatch(const void *bytes) noexcept {
    using namespace cmnw::version;
    ResetMarkerCounters();
    if (bytes == nullptr) return 1;
    return MatchMarker(static_cast<const unsigned char *>(bytes), kLongestMarker) >= 0 ? 0 : 1;
}

extern "C" char *UTLKVRVERFindChar(const char *text, int ch, int n) noexcept {
    if (text == nullptr || n < 1) return nullptr;
    const char c = static_cast<char>(ch);
    for (; *text != '\0'; ++text) {
        if (*text == c && --n == 0) return const_cast<char *>(text);
    }
    return nullptr;
}

extern "C" int32_t UTLKVRVERCheckConsecutive(const char *summary, char *line) noexcept {
    if (line == nullptr) return 1;
    return cmnw::version::CheckConsecutive(summary != nullptr ? summary : "", line);
}
