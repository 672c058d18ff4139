// The version family's internal header: patch comparison and checks for
// the version report, and the patch marker table shared by the scanner and
// the consecutiveness check.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::version {

// UTLKVRVERCompareFunc and UTLKVRVERCompareFunc2 on non-null texts or null.
int32_t CompareSummaries(const char *a, const char *b) noexcept;
int32_t CompareRecords(const char *a, const char *b) noexcept;

// UTLKVRVERCheckConsecutive with a non-null summary and line.
int32_t CheckConsecutive(const char *summary, char *line) noexcept;


inline constexpr int kMarkerCount = 5;
inline constexpr size_t kLongestMarker = 30;
// A "@" is only tested when more than this many bytes follow it (the length
// of "@@QVS PATCH").
inline constexpr size_t kMarkerProbe = 11;

struct MarkerEntry {
    const char *bytes;  // marker bytes, "@@" included
    uint8_t length;     // bytes compared
    bool utf16;         // UTF-16LE marker
    const char *word;   // the three characters after "@@"
    const char *prefixes[2];
};

extern const MarkerEntry kMarkers[kMarkerCount];

// Result of matching the bytes at a "@" against the table.
inline constexpr int kNoMarker = -1;
inline constexpr int kNeedMoreBytes = -2;

// The index of the marker that bytes[0, available) begin with, kNoMarker, or
// kNeedMoreBytes when the available bytes are a proper prefix of a marker.
int MatchMarker(const unsigned char *bytes, size_t available) noexcept;

// Sets every counter of the marker table to 0.
void ResetMarkerCounters() noexcept;

// True when the last UTLQueryPatchInfo ran out of memory for a record it
// found, so its lists miss one.
bool LastScanLostRecords() noexcept;

}  // namespace cmnw::version
