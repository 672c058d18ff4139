// Counts the allocations made through operator new in the benchmark binary,
// so that a benchmark can report the allocations of its hot path.
#pragma once

#include <cstddef>

namespace cmnw::bench {

// Allocations through any operator new since the process started.
size_t AllocationCount() noexcept;

}  // namespace cmnw::bench
