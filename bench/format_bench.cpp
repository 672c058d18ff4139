// Numeric pictures beside ICU's decimal formatter and printf grouping.
#include <benchmark/benchmark.h>
#include <unicode/unum.h>
#include <unicode/ustring.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "cmnw32/number.h"

namespace {

struct Amount {
    double value;
    char text[16];
};

// Amounts of every size a form field shows, half of them negative.
const std::vector<Amount> &Amounts() {
    static const std::vector<Amount> amounts = [] {
        std::mt19937 rng(11);
        std::vector<Amount> v(256);
        for (size_t i = 0; i < v.size(); ++i) {
            const long cents = static_cast<long>(rng() % 100000000) / (1 + static_cast<long>(i % 5) * 1000);
            const double value = (i % 2 ? -1.0 : 1.0) * static_cast<double>(cents) / 100.0;
            v[i].value = value;
            std::snprintf(v[i].text, sizeof v[i].text, "%.2f", value);
        }
        return v;
    }();
    return amounts;
}

void RunOurs(benchmark::State &state, const char *picture, bool negatives) {
    const auto &amounts = Amounts();
    const int len = static_cast<int>(std::strlen(picture));
    char pic[40];
    std::snprintf(pic, sizeof pic, "%s", picture);
    char value[40];
    size_t i = 0;
    for (auto _ : state) {
        const Amount &a = amounts[i++ & 255];
        const char *text = negatives || a.value >= 0 ? a.text : a.text + 1;
        std::memcpy(value, text, 16);
        benchmark::DoNotOptimize(FMTValNumFormat(len, pic, value));
        benchmark::DoNotOptimize(value);
    }
}

void RunIcu(benchmark::State &state, const char16_t *pattern, bool negatives) {
    UErrorCode status = U_ZERO_ERROR;
    UNumberFormat *fmt = unum_open(UNUM_PATTERN_DECIMAL, reinterpret_cast<const UChar *>(pattern),
                                   -1, "en_US", nullptr, &status);
    if (U_FAILURE(status)) {
        state.SkipWithError("unum_open failed");
        return;
    }
    unum_setAttribute(fmt, UNUM_ROUNDING_MODE, UNUM_ROUND_DOWN);
    const auto &amounts = Amounts();
    UChar out[40];
    size_t i = 0;
    for (auto _ : state) {
        const Amount &a = amounts[i++ & 255];
        const double v = negatives || a.value >= 0 ? a.value : -a.value;
        status = U_ZERO_ERROR;
        benchmark::DoNotOptimize(unum_formatDouble(fmt, v, out, 40, nullptr, &status));
        benchmark::DoNotOptimize(out);
    }
    unum_close(fmt);
}

void RunPrintf(benchmark::State &state, bool negatives) {
    std::setlocale(LC_NUMERIC, "en_US.UTF-8");
    const auto &amounts = Amounts();
    char out[40];
    size_t i = 0;
    for (auto _ : state) {
        const Amount &a = amounts[i++ & 255];
        const double v = negatives || a.value >= 0 ? a.value : -a.value;
        benchmark::DoNotOptimize(std::snprintf(out, sizeof out, "%'11.2f", v));
        benchmark::DoNotOptimize(out);
    }
    std::setlocale(LC_NUMERIC, "C");
}

// $ZZZ,ZZ9.99: floating currency, grouping, two decimals (positive amounts).
void BM_Currency_Ours(benchmark::State &s) { RunOurs(s, "$ZZZ,ZZ9.99", false); }
void BM_Currency_Icu(benchmark::State &s) { RunIcu(s, u"* $###,##0.00", false); }
void BM_Currency_Printf(benchmark::State &s) { RunPrintf(s, false); }
BENCHMARK(BM_Currency_Ours)->Name("NumCurrency/ours");
BENCHMARK(BM_Currency_Icu)->Name("NumCurrency/icu");
BENCHMARK(BM_Currency_Printf)->Name("NumCurrency/printf");

// ZZZ,ZZ9.99CR: credit marker for negative amounts.
void BM_Credit_Ours(benchmark::State &s) { RunOurs(s, "ZZZ,ZZ9.99CR", true); }
void BM_Credit_Icu(benchmark::State &s) { RunIcu(s, u"* ###,##0.00'  ';* ###,##0.00'CR'", true); }
void BM_Credit_Printf(benchmark::State &s) { RunPrintf(s, true); }
BENCHMARK(BM_Credit_Ours)->Name("NumCredit/ours");
BENCHMARK(BM_Credit_Icu)->Name("NumCredit/icu");
BENCHMARK(BM_Credit_Printf)->Name("NumCredit/printf");

}  // namespace
