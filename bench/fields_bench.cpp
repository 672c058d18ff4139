// The cmnw fields job: the whole pipeline (CSV read, checks, CSV write)
// beside the library's own checking functions called alone on values split
// beforehand, in the same run. Their ratio is the tool's share of the cost.
#ifdef CMNW_HAVE_FIELDS
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmnw32.h"
#include "csv.h"
#include "fields.h"
#include "tool_text.h"

namespace {

using cmnw::tool::FieldDef;

std::vector<FieldDef> Defs() {
    const char *rows[][3] = {{"id", "n", "ZZZZZZ9"},          {"customer", "k", ""},
                             {"city", "I", ""},               {"joined", "d", "1/4"},
                             {"renewal", "d", "4"},           {"amount", "n", "$ZZZ,ZZ9.99CR"},
                             {"opens", "T", "2:"},            {"member", "y", ""},
                             {"account", "C", "3,-,2,-"},     {"item", "B", "A"},
                             {"ean", "B", "L"}};
    std::vector<FieldDef> defs;
    for (auto &r : rows) {
        FieldDef d;
        d.name = r[0];
        d.type = r[1][0];
        d.format = r[2];
        std::string error;
        cmnw::tool::CompleteFieldDef(d, error);
        defs.push_back(d);
    }
    return defs;
}

// Records like the example job's, every twentieth value of a column bad.
std::vector<std::vector<std::string>> Records(long count) {
    static const char *names[] = {"Anna Meyer", "Jörg Weiß", "Claire Dubois", "Nils Jensen"};
    static const char *cities[] = {"Berlin", "München", "Paris", "Zürich", "Leeds"};
    std::mt19937 rng(42);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<std::vector<std::string>> out;
    out.reserve(static_cast<size_t>(count));
    char b[64];
    for (long i = 0; i < count; ++i) {
        std::vector<std::string> r;
        r.push_back(std::to_string(i + 1));
        r.push_back(names[pick(4)]);
        r.push_back(cities[pick(5)]);
        std::snprintf(b, sizeof b, "%d/%d/%d", 1 + pick(12), 1 + pick(28), 1980 + pick(45));
        r.push_back(b);
        std::snprintf(b, sizeof b, "%d/%d/%d", 1 + pick(12), 1 + pick(28), 2000 + pick(30));
        r.push_back(b);
        std::snprintf(b, sizeof b, "%s%d.%02d", pick(4) == 0 ? "-" : "", pick(100000), pick(100));
        r.push_back(b);
        std::snprintf(b, sizeof b, "%d:%02d", pick(24), pick(60));
        r.push_back(b);
        r.push_back(pick(2) ? "Y" : "no");
        std::snprintf(b, sizeof b, "%09d", pick(1000000000));
        r.push_back(b);
        std::snprintf(b, sizeof b, "ab-%d", pick(10000));
        r.push_back(b);
        std::snprintf(b, sizeof b, "%06d%06d", pick(1000000), pick(1000000));
        r.push_back(b);
        if (i % 20 == 7) r[static_cast<size_t>(3 + i % 8)] = "bad*value";
        out.push_back(std::move(r));
    }
    return out;
}

std::string Csv(const std::vector<std::vector<std::string>> &records) {
    std::string csv;
    for (const auto &r : records) {
        for (size_t i = 0; i < r.size(); ++i) {
            if (i > 0) csv += ',';
            if (r[i].find(',') != std::string::npos) csv += '"' + r[i] + '"';
            else csv += r[i];
        }
        csv += '\n';
    }
    return csv;
}

void BM_FieldsOurs(benchmark::State &state) {
    const long count = state.range(0);
    const auto defs = Defs();
    std::string csv = Csv(Records(count));
    UTLSetLocale("USD");
    std::FILE *sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        std::FILE *in = fmemopen(csv.data(), csv.size(), "r");
        cmnw::tool::RunFieldsJob(defs, in, sink, sink, {});
        std::fclose(in);
    }
    std::fclose(sink);
    state.SetItemsProcessed(state.iterations() * count);
}

// The job on several threads beside the same job on one (FieldsJobs), and
// the part of it that stays on one thread whatever the number of jobs -
// reading and cutting the input into blocks, writing the blocks' output in
// order - beside the whole one-thread job (FieldsSerial: the ratio is the
// serial fraction).
void RunJob(benchmark::State &state, int jobs) {
    const long count = state.range(0);
    const auto defs = Defs();
    std::string csv = Csv(Records(count));
    UTLSetLocale("USD");
    std::FILE *sink = std::fopen("/dev/null", "w");
    cmnw::tool::FieldsJobOptions options;
    options.jobs = jobs;
    for (auto _ : state) {
        std::FILE *in = fmemopen(csv.data(), csv.size(), "r");
        cmnw::tool::RunFieldsJob(defs, in, sink, sink, options);
        std::fclose(in);
    }
    std::fclose(sink);
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_FieldsJobs1(benchmark::State &state) { RunJob(state, 1); }
void BM_FieldsJobs2(benchmark::State &state) { RunJob(state, 2); }

void BM_FieldsSerialPart(benchmark::State &state) {
    const long count = state.range(0);
    std::string csv = Csv(Records(count));
    std::FILE *sink = std::fopen("/dev/null", "w");
    std::vector<char> block;
    for (auto _ : state) {
        std::FILE *in = fmemopen(csv.data(), csv.size(), "r");
        cmnw::tool::CsvChunkReader reader(in, 1 << 20);
        long line = 0;
        while (reader.Next(block, line)) std::fwrite(block.data(), 1, block.size(), sink);
        std::fclose(in);
    }
    std::fclose(sink);
    state.SetItemsProcessed(state.iterations() * count);
}

// The library functions the checker calls, on values split beforehand, into
// buffers on the stack: what the job costs without the tool.
int CheckValue(const FieldDef &d, const std::string &value, std::string &utf8) {
    char text[FMT_MASK_TEXT_MAX + 1], out[FMT_MASK_TEXT_MAX + 1];
    std::strncpy(text, value.c_str(), sizeof text - 1);
    text[sizeof text - 1] = '\0';
    int n = static_cast<int>(value.size());
    for (char c : value)
        if (static_cast<unsigned char>(c) >= 0x80) {
            n = UTLUtf8ToAnsi(text, n);
            text[n] = '\0';
            break;
        }
    int rc = 0;
    switch (d.type) {
        case 'n': {
            char picture[FMT_NUM_PICTURE_MAX + 1];
            std::strcpy(picture, d.format.c_str());
            rc = FMTValNumFormat(static_cast<int>(d.format.size()), picture, text);
            if (rc == 0) FMTConvertNumFormat(text, nullptr, 64, out);
            break;
        }
        case 'd': rc = FMTIntlValDate(text, 61, d.format.c_str(), nullptr); break;
        case 'T': rc = FMTValTime(text, 14, d.format.c_str()); break;
        case 'C':
            rc = FMTDefmtString(text, out, FMT_MASK_TEXT_MAX, d.format.c_str());
            rc = FMTFmtString(rc == 0 ? out : text, out, FMT_MASK_TEXT_MAX, d.format.c_str());
            break;
        case 'y': rc = UTLGetValidYesNo(static_cast<unsigned char>(text[0]), nullptr, nullptr) == 0; break;
        case 'B':
            for (int i = 0; i < n; ++i)
                text[i] = UTLBarcodeChar(d.format.c_str(), text[i], static_cast<uint16_t>(i),
                                         static_cast<uint16_t>(n));
            rc = FMTValBarcode(text, n, d.format.c_str());
            break;
        default:
            for (int i = 0; i < n; ++i) rc |= UTLisalpha(static_cast<unsigned char>(text[i])) == 0;
            UTLstrupr(text);
            break;
    }
    for (int i = 0; text[i] != '\0'; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            utf8.clear();
            cmnw::tool::LatinToUtf8(text, utf8);
            break;
        }
    return rc;
}

void BM_FieldsLibrary(benchmark::State &state) {
    const long count = state.range(0);
    const auto defs = Defs();
    const auto records = Records(count);
    UTLSetLocale("USD");
    std::string utf8;
    for (auto _ : state) {
        int bad = 0;
        for (const auto &r : records)
            for (size_t i = 0; i < r.size(); ++i) bad += CheckValue(defs[i], r[i], utf8) != 0;
        benchmark::DoNotOptimize(bad);
    }
    state.SetItemsProcessed(state.iterations() * count);
}

}  // namespace

BENCHMARK(BM_FieldsOurs)->Name("Fields/ours")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsLibrary)->Name("Fields/library")->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsJobs2)->Name("FieldsJobs/ours")->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsJobs1)->Name("FieldsJobs/jobs1")->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsSerialPart)->Name("FieldsSerial/ours")->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsJobs1)->Name("FieldsSerial/whole")->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
// The million-record run: --benchmark_filter=Fields/.*/1000000
BENCHMARK(BM_FieldsOurs)->Name("Fields/ours")->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldsLibrary)->Name("Fields/library")->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

#endif
