// The one entry point of the benchmark binary; every family adds its own
// <family>_bench.cpp beside it.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
