// The version family's internal header: patch comparison and checks for
// the version report.
#pragma once

#include <cstdint>

namespace cmnw::version {

// UTLKVRVERCompareFunc and UTLKVRVERCompareFunc2 on non-null texts or null.
int32_t CompareSummaries(const char *a, const char *b) noexcept;
int32_t CompareRecords(const char *a, const char *b) noexcept;

// UTLKVRVERCheckConsecutive with a non-null summary and line.
int32_t CheckConsecutive(const char *summary, char *line) noexcept;

}  // namespace cmnw::version
