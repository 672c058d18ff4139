// The prefix of trace lines, shared by the file and the memory trace.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::diag {

// Room for the longest prefix with its terminator.
inline constexpr size_t kTracePrefixMax = 80;

// Writes "% 4u. Www Mmm dd hh:mm:ss.mmm yyyy pid=%08d " for line number
// `number` at the current local time into out; returns its length (cut to
// outSize - 1). The date and time text is worked out once a second. Callers
// hold the trace lock.
size_t FormatTracePrefix(char *out, size_t outSize, uint32_t number) noexcept;

}  // namespace cmnw::diag
