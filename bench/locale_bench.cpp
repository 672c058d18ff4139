// Switching the current locale between two built locales, and the
// resolve-and-read cycle of every call with a locale argument, beside a
// plain copy of one settings record (what serving a cached locale costs at
// the least). Each figure reports its allocations per iteration.
#include <benchmark/benchmark.h>

#include <cstring>

#include "alloc_count.h"
#include "cmnw32/locale.h"
#include "locale/locale.h"

namespace {

using cmnw::bench::ReportAllocations;

void WarmUp() {
    UTLSetLocale("DEM");
    UTLSetLocale("USD");
}

void BM_LocaleSwitch_Ours(benchmark::State &state) {
    WarmUp();
    const char *names[2] = {"DEM", "USD"};
    unsigned i = 0;
    size_t before = cmnw::bench::AllocationCount();
    for (auto _ : state) {
        UTLSetLocale(names[++i & 1]);
        benchmark::DoNotOptimize(cmnw::locale::Current().decimalSep[0]);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_LocaleSwitch_Ours)->Name("LocaleSwitch/ours");

void BM_SwitchReadRestore_Ours(benchmark::State &state) {
    WarmUp();
    size_t before = cmnw::bench::AllocationCount();
    for (auto _ : state) {
        const cmnw::locale::CallLocale call(" DEM");
        benchmark::DoNotOptimize(cmnw::locale::Current().monthName[2][0]);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_SwitchReadRestore_Ours)->Name("SwitchReadRestore/ours");

// The peer of both: one copy of a settings record.
void MemcpySettings(benchmark::State &state) {
    LocaleSettings from;
    UTLGetLocaleSettings(" DEM", &from);
    LocaleSettings to;
    size_t before = cmnw::bench::AllocationCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(&from);
        std::memcpy(&to, &from, sizeof to);
        benchmark::DoNotOptimize(&to);
        benchmark::ClobberMemory();
    }
    ReportAllocations(state, before);
}
BENCHMARK(MemcpySettings)->Name("LocaleSwitch/memcpy");
BENCHMARK(MemcpySettings)->Name("SwitchReadRestore/memcpy");

}  // namespace
