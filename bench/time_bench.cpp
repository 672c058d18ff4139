// Validating typed dates (FMTIntlValDate) with and without a locale
// argument, beside a glibc strptime + strftime round trip; and converting a
// hextime to a combined date-time text (FMTDateTime2DateTime X to
// "1/4% 1:") beside strtoul + localtime_r + strftime, and back beside
// strptime + mktime. Every group works on the same texts in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "alloc_count.h"
#include "cmnw32/date.h"
#include "cmnw32/datetime.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

constexpr size_t kTexts = 1024;
constexpr long kHextimeOffset = 2085863296L;

// Typed dates as users enter them: unpadded month and day, four-digit year.
std::vector<std::string> TypedDates() {
    std::mt19937 rng(2007);
    std::vector<std::string> texts;
    for (size_t i = 0; i < kTexts; ++i) {
        const int year = 1950 + static_cast<int>(rng() % 100);
        const int month = 1 + static_cast<int>(rng() % 12);
        const int day = 1 + static_cast<int>(rng() % 28);
        char text[32];
        std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
        texts.emplace_back(text);
    }
    return texts;
}

void ValidateOurs(benchmark::State &state, const char *locale, const char *descriptor = "1/4") {
    UTLSetLocale("DEM");
    UTLSetLocale("USD");
    if (locale != nullptr) UTLSetLocale("DEM");  // the argument names another locale
    const auto texts = TypedDates();
    char text[64];
    size_t i = 0;
    const size_t before = cmnw::bench::AllocationCount();
    for (auto _ : state) {
        std::memcpy(text, texts[i].c_str(), texts[i].size() + 1);
        benchmark::DoNotOptimize(FMTIntlValDate(text, 40, descriptor, locale));
        benchmark::DoNotOptimize(text);
        i = (i + 1) % kTexts;
    }
    cmnw::bench::ReportAllocations(state, before);
}

void BM_IntlValDate_Ours(benchmark::State &state) { ValidateOurs(state, nullptr); }
void BM_IntlValDateLocale_Ours(benchmark::State &state) { ValidateOurs(state, " USD"); }
// Descriptor "4" prints the month's name, so the call reads the locale's names.
void BM_IntlValDateNames_Ours(benchmark::State &state) { ValidateOurs(state, nullptr, "4"); }
void BM_IntlValDateNamesLocale_Ours(benchmark::State &state) { ValidateOurs(state, " USD", "4"); }

void BM_IntlValDate_Strptime(benchmark::State &state) {
    const auto texts = TypedDates();
    char text[64];
    size_t i = 0;
    for (auto _ : state) {
        std::tm tm{};
        const char *end = strptime(texts[i].c_str(), "%m/%d/%Y", &tm);
        if (end != nullptr) std::strftime(text, sizeof text, "%m/%d/%Y", &tm);
        benchmark::DoNotOptimize(text);
        i = (i + 1) % kTexts;
    }
}

std::vector<std::string> Hextimes() {
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    std::mt19937 rng(24);
    std::vector<std::string> stamps;
    for (size_t i = 0; i < kTexts; ++i) {
        const long t = 1000000000L + static_cast<long>(rng() % 1000000000u);
        char stamp[9];
        FMTFillHEXTime(stamp, t);
        stamps.emplace_back(stamp);
    }
    return stamps;
}

void BM_HextimeToText_Ours(benchmark::State &state) {
    const auto stamps = Hextimes();
    char out[80];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FMTDateTime2DateTime(stamps[i].c_str(), "X", out, "1/4% 1:"));
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kTexts;
    }
}

void BM_HextimeToText_Libc(benchmark::State &state) {
    const auto stamps = Hextimes();
    char out[80];
    size_t i = 0;
    for (auto _ : state) {
        const unsigned long v = std::strtoul(stamps[i].c_str(), nullptr, 16);
        const time_t t = static_cast<time_t>(static_cast<uint32_t>(v + kHextimeOffset));
        std::tm tm{};
        localtime_r(&t, &tm);
        std::strftime(out, sizeof out, "%m/%d/%Y %H:%M:%S", &tm);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kTexts;
    }
}

std::vector<std::string> CombinedTexts() {
    const auto stamps = Hextimes();
    std::vector<std::string> texts;
    for (const auto &s : stamps) {
        char out[80];
        FMTDateTime2DateTime(s.c_str(), "X", out, "1/4% 1:");
        texts.emplace_back(out);
    }
    return texts;
}

void BM_TextToHextime_Ours(benchmark::State &state) {
    const auto texts = CombinedTexts();
    char out[16];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FMTDateTime2DateTime(texts[i].c_str(), "1/4% 1:", out, "X"));
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kTexts;
    }
}

void BM_TextToHextime_Libc(benchmark::State &state) {
    const auto texts = CombinedTexts();
    char out[16];
    size_t i = 0;
    for (auto _ : state) {
        std::tm tm{};
        strptime(texts[i].c_str(), "%m/%d/%Y %H:%M:%S", &tm);
        tm.tm_isdst = 0;
        const time_t t = std::mktime(&tm);
        std::snprintf(out, sizeof out, "%08lX",
                      static_cast<unsigned long>(static_cast<uint32_t>(t - kHextimeOffset)));
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kTexts;
    }
}

BENCHMARK(BM_IntlValDate_Ours)->Name("IntlValDate/ours");
BENCHMARK(BM_IntlValDate_Strptime)->Name("IntlValDate/strptime");
// The same call with a locale argument, beside the call without one.
BENCHMARK(BM_IntlValDateLocale_Ours)->Name("IntlValDateLocale/ours");
BENCHMARK(BM_IntlValDate_Ours)->Name("IntlValDateLocale/nolocale");
BENCHMARK(BM_IntlValDateNamesLocale_Ours)->Name("IntlValDateNamesLocale/ours");
BENCHMARK(BM_IntlValDateNames_Ours)->Name("IntlValDateNamesLocale/nolocale");
BENCHMARK(BM_HextimeToText_Ours)->Name("HextimeToText/ours");
BENCHMARK(BM_HextimeToText_Libc)->Name("HextimeToText/libc");
BENCHMARK(BM_TextToHextime_Ours)->Name("TextToHextime/ours");
BENCHMARK(BM_TextToHextime_Libc)->Name("TextToHextime/libc");

}  // namespace
