// Counts the allocations made through operator new in the benchmark binary,
// so that a benchmark can report the allocations of its hot path.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>

namespace cmnw::bench {

// Allocations through any operator new since the process started.
size_t AllocationCount() noexcept;

// Reports the allocations since before per iteration as "allocs/iter".
inline void ReportAllocations(benchmark::State &state, size_t before) {
    state.counters["allocs/iter"] =
        benchmark::Counter(static_cast<double>(AllocationCount() - before) /
                           static_cast<double>(state.iterations() == 0 ? 1 : state.iterations()));
}

}  // namespace cmnw::bench
