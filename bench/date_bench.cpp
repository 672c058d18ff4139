// Reading and printing dates (FMTGetDateFmtValues + FMTMakeDate) beside
// glibc strptime + strftime and ICU udat_parse + udat_format, on the same
// texts in the same run. Each iteration reads one date text and prints it
// again.
#include <benchmark/benchmark.h>
#include <unicode/udat.h>
#include <unicode/ustring.h>

#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "alloc_count.h"
#include "cmnw32/date.h"
#include "cmnw32/locale.h"

namespace {

constexpr size_t kDates = 1024;

struct Layout {
    const char *descriptor;  // ours
    const char *strftime;    // glibc
    const char *icu;         // ICU pattern
};

// Formats 1/4 (numbers), 4/4 (month names) and D4 (digits only).
constexpr Layout kLayouts[] = {
    {"1/4", "%m/%d/%Y", "MM/dd/yyyy"},
    {"4/4", "%B %d, %Y", "MMMM d, yyyy"},
    {"D4", "%Y%m%d", "yyyyMMdd"},
};

std::vector<std::string> DateTexts(const Layout &layout) {
    UTLSetLocale("USD");
    std::mt19937 rng(2007);
    std::vector<std::string> texts;
    for (size_t i = 0; i < kDates; ++i) {
        const int year = 1900 + static_cast<int>(rng() % 200);
        const int month = 1 + static_cast<int>(rng() % 12);
        const int day = 1 + static_cast<int>(rng() % FMTDaysInMonth(month, year));
        char text[64];
        FMTMakeDate(text, layout.descriptor, month, day, year);
        texts.emplace_back(text);
    }
    return texts;
}

void BM_Date_Ours(benchmark::State &state) {
    const Layout &layout = kLayouts[state.range(0)];
    const auto texts = DateTexts(layout);
    int fmtNum, yrLen;
    char sep[2];
    FMTGetDateFmtInfo(layout.descriptor, &fmtNum, sep, &yrLen, nullptr);
    char out[64];
    size_t i = 0;
    const size_t before = cmnw::bench::AllocationCount();
    for (auto _ : state) {
        int m, d, y;
        FMTGetDateFmtValues(texts[i].c_str(), fmtNum, sep, yrLen, &m, &d, &y);
        FMTMakeDate(out, layout.descriptor, m, d, y);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kDates;
    }
    cmnw::bench::ReportAllocations(state, before);
}

void BM_Date_Strptime(benchmark::State &state) {
    const Layout &layout = kLayouts[state.range(0)];
    const auto texts = DateTexts(layout);
    char out[64];
    size_t i = 0;
    for (auto _ : state) {
        std::tm tm{};
        strptime(texts[i].c_str(), layout.strftime, &tm);
        std::strftime(out, sizeof out, layout.strftime, &tm);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kDates;
    }
}

void BM_Date_Icu(benchmark::State &state) {
    const Layout &layout = kLayouts[state.range(0)];
    const auto texts = DateTexts(layout);
    std::vector<std::u16string> utexts;
    for (const auto &t : texts) utexts.emplace_back(t.begin(), t.end());
    UErrorCode status = U_ZERO_ERROR;
    UChar pattern[32];
    u_uastrcpy(pattern, layout.icu);
    UChar zone[] = u"UTC";
    UDateFormat *format =
        udat_open(UDAT_PATTERN, UDAT_PATTERN, "en_US", zone, -1, pattern, -1, &status);
    if (U_FAILURE(status)) {
        state.SkipWithError("udat_open failed");
        return;
    }
    UChar out[64];
    size_t i = 0;
    for (auto _ : state) {
        status = U_ZERO_ERROR;
        int32_t pos = 0;
        const auto &t = utexts[i];
        const UDate date = udat_parse(format, reinterpret_cast<const UChar *>(t.data()),
                                      static_cast<int32_t>(t.size()), &pos, &status);
        udat_format(format, date, out, 64, nullptr, &status);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % kDates;
    }
    udat_close(format);
}

// Argument: 0 = "1/4", 1 = "4/4", 2 = "D4".
BENCHMARK(BM_Date_Ours)->Name("Date/ours")->DenseRange(0, 2);
BENCHMARK(BM_Date_Strptime)->Name("Date/strptime")->DenseRange(0, 2);
BENCHMARK(BM_Date_Icu)->Name("Date/icu")->DenseRange(0, 2);

}  // namespace
