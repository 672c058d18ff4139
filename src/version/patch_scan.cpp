// Scanning files for patch records. The scan looks only at "@" bytes (found
// with memchr) and keeps every record whole in its buffer by moving a marker
// that lies too close to the end to the front before reading on.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "cmnw32/unicode.h"
#include "cmnw32/version.h"
#include "common/text.h"
#include "version/version.h"

namespace cmnw::version {
namespace {

struct ScanState {
    bool endOfFile;
    bool lostRecord;  // the last scan could not insert a record (out of memory)
};

constinit ScanState g_scan{};

// The scanner reads in larger pieces than the exported reader; a record
// still only needs the window that follows its marker.
constexpr size_t kScanBufferSize = 64 * 1024;
constexpr size_t kRecordWindow = UTL_PATCH_BUFFER_SIZE;
constexpr size_t kSingleByteRecordMax = 1023;
constexpr size_t kUtf16ColonWindow = 513;
constexpr size_t kUtf16RecordSize = 256;
constexpr size_t kUtf16TailChars = 8;

int32_t ShiftAndRead(char *buffer, size_t capacity, size_t pos, size_t filled,
                     FILE *file) noexcept {
    const size_t rest = filled - pos;
    if (rest > 0 && pos > 0) std::memmove(buffer, buffer + pos, rest);
    if (g_scan.endOfFile) return rest > 0 ? 0 : -1;
    const size_t wanted = capacity - rest;
    const size_t got = SYSfread(buffer + rest, 1, wanted, file);
    if (got < wanted) {
        const bool failed = std::ferror(file) != 0;
        SYSfclose(file);
        g_scan.endOfFile = true;
        if (failed || (got == 0 && rest == 0)) return -1;
    }
    return static_cast<int32_t>(got);
}

void InsertRecord(const char *record, MEMLIST records, MEMLIST summaries) noexcept {
    const char *second = UTLKVRVERFindChar(record, ':', 2);
    if (second == nullptr) return;
    int32_t status = 0;
    if (records != nullptr) MEMInsertItem(records, record, std::strlen(record) + 1, &status);
    if (status < 0) g_scan.lostRecord = true;
    if (summaries != nullptr) {
        char summary[kSingleByteRecordMax + 1];
        const size_t length = static_cast<size_t>(second - record);
        std::memcpy(summary, record, length);
        summary[length] = '\0';
        MEMInsertSummary(summaries, summary, length + 1, &status);
        if (status < 0) g_scan.lostRecord = true;
    }
}

// The record of the UTF-16LE marker at p (available bytes): the text after
// "@@" up to its third ":" within the colon window, or to 8 characters after
// the last of one or two, as UTF-8. False when there is no ":".
bool Utf16Record(const unsigned char *p, size_t available, char *record) noexcept {
    const unsigned char *text = p + 4;
    const size_t window = std::min(kUtf16ColonWindow, available - 4);
    size_t colons = 0;
    size_t last = 0;
    for (size_t k = 0; k < window && colons < 3; ++k) {
        if (text[k] == ':') {
            last = k;
            ++colons;
        }
    }
    if (colons == 0) return false;
    size_t units = last / 2 + 1;
    if (colons < 3) units = std::min(units + kUtf16TailChars, window / 2);
    uint16_t wide[kUtf16ColonWindow / 2 + 1];
    size_t n = 0;
    for (; n < units; ++n) {
        wide[n] = static_cast<uint16_t>(text[2 * n] | (text[2 * n + 1] << 8));
        if (wide[n] == 0) break;
    }
    const uint16_t *src = wide;
    char *dst = record;
    Utf16ToUtf8(&src, wide + n, &dst, record + kUtf16RecordSize);
    *dst = '\0';
    return true;
}

void TakeRecord(const unsigned char *p, size_t available, int marker, MEMLIST records,
                MEMLIST summaries) noexcept {
    char record[kSingleByteRecordMax + 1];
    if (kMarkers[marker].utf16) {
        if (!Utf16Record(p, available, record)) return;
    } else {
        CopyBoundedN(record, sizeof record, reinterpret_cast<const char *>(p) + 2, available - 2);
    }
    InsertRecord(record, records, summaries);
}

// Walks buffer[0, filled) and returns the position to read on from: the
// first byte not yet examined that may start a marker, or a marker that needs
// more bytes behind it than the buffer holds. Sets tested when a "@" was
// compared with the table.
size_t WalkBuffer(const unsigned char *buffer, size_t filled, MEMLIST records, MEMLIST summaries,
                  bool &tested) noexcept {
    const bool endOfFile = g_scan.endOfFile;
    const size_t probeEnd = filled > kMarkerProbe ? filled - kMarkerProbe : 0;
    size_t i = 0;
    while (i < probeEnd) {
        const void *at = std::memchr(buffer + i, '@', probeEnd - i);
        if (at == nullptr) {
            i = probeEnd;
            break;
        }
        i = static_cast<size_t>(static_cast<const unsigned char *>(at) - buffer);
        tested = true;
        const unsigned char next = buffer[i + 1];
        if (next != '@' && next != 0) {
            ++i;
            continue;
        }
        const int marker = MatchMarker(buffer + i, filled - i);
        if (marker == kNoMarker || (marker == kNeedMoreBytes && endOfFile)) {
            ++i;
            continue;
        }
        if (!endOfFile && (marker == kNeedMoreBytes || (i != 0 && filled - i < kRecordWindow)))
            return i;
        TakeRecord(buffer + i, filled - i, marker, records, summaries);
        i += kMarkers[marker].length;
    }
    if (endOfFile) return filled;
    const size_t tail = std::max(i, probeEnd);
    const void *at = tail < filled ? std::memchr(buffer + tail, '@', filled - tail) : nullptr;
    return at != nullptr ? static_cast<size_t>(static_cast<const unsigned char *>(at) - buffer)
                         : filled;
}

int32_t QueryPatchInfo(const char *fileName, MEMLIST records, MEMLIST summaries) noexcept {
    g_scan.endOfFile = false;
    g_scan.lostRecord = false;
    FILE *file = SYSfopen(fileName, "rb");
    if (file == nullptr) return 8;
    char fallback[UTL_PATCH_BUFFER_SIZE];
    char *block = static_cast<char *>(MEMAlloc(kScanBufferSize));
    char *buffer = block != nullptr ? block : fallback;
    const size_t capacity = block != nullptr ? kScanBufferSize : sizeof fallback;
    size_t pos = capacity;
    size_t filled = capacity;
    bool tested = false;
    for (;;) {
        const int32_t got = ShiftAndRead(buffer, capacity, pos, filled, file);
        if (got < 0) break;
        filled = filled - pos + static_cast<size_t>(got);
        pos = WalkBuffer(reinterpret_cast<const unsigned char *>(buffer), filled, records,
                         summaries, tested);
    }
    if (tested) ResetMarkerCounters();
    MEMFree(block);
    return 0;
}

}  // namespace

bool LastScanLostRecords() noexcept { return g_scan.lostRecord; }

}  // namespace cmnw::version

extern "C" int32_t UTLShiftAndRead(char *buffer, int pos, int filled, FILE *file) noexcept {
    if (buffer == nullptr || file == nullptr || pos < 0 || pos > filled ||
        filled > UTL_PATCH_BUFFER_SIZE)
        return -1;
    return cmnw::version::ShiftAndRead(buffer, UTL_PATCH_BUFFER_SIZE, static_cast<size_t>(pos),
                                       static_cast<size_t>(filled), file);
}

extern "C" int32_t UTLQueryPatchInfo(const char *fileName, MEMLIST recordList,
                                     MEMLIST summaryList) noexcept {
    if (fileName == nullptr) return 8;
    return cmnw::version::QueryPatchInfo(fileName, recordList, summaryList);
}
