// The prefix of trace lines, shared by the file and the memory trace.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cmnw::diag {

// Writes "% 4u. Www Mmm dd hh:mm:ss.mmm yyyy pid=%08d " for line number
// `number` at the current local time into out; returns its length (cut to
// outSize - 1).
size_t FormatTracePrefix(char *out, size_t outSize, uint32_t number) noexcept;

}  // namespace cmnw::diag
