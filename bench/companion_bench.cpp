// Configuration reading and keyed MEM lists beside what a caller would write
// by hand with the standard library.
#include <benchmark/benchmark.h>
#include <strings.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/mem.h"
#include "companion/cfg_store.h"

namespace mc = cmnw::companion;

namespace {

// A code page file: a short header section and 742 "Char" lines.
std::string CodePageIni() {
    std::string text = "[CodePages]\nCodePage=1004,WA\nCodePage=850,PC\nCodePage=9999,SY\n\n[CodePage]\n";
    for (int i = 0; i < 742; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "Char=SC%06d,name%d,alias%d,%d,%d,%d\n", i, i, i, i % 256,
                      (i * 7) % 256, (i * 13) % 256);
        text += line;
    }
    return text;
}

void BM_IniCodePage_Ours(benchmark::State &state) {
    const std::string text = CodePageIni();
    char buf[128];
    for (auto _ : state) {
        CFGConfig *config = mc::NewConfig();
        mc::ParseIniText(*config, text);
        CFGSetCurrent(config);
        size_t n = 0;
        for (CFGCURSOR c = CFGFirstValue("CodePage", "Char", buf, sizeof buf); c != nullptr;
             c = CFGNextValue(c, "CodePage", "Char", buf, sizeof buf))
            n += buf[0];
        benchmark::DoNotOptimize(n);
        CFGSetCurrent(nullptr);
        mc::FreeConfig(config);
    }
}
BENCHMARK(BM_IniCodePage_Ours)->Name("IniCodePage/ours");

// The hand-written alternative: getline over the text, sscanf each line,
// collect the section's "Char" values, then walk them.
void BM_IniCodePage_Getline(benchmark::State &state) {
    const std::string text = CodePageIni();
    char buf[128];
    for (auto _ : state) {
        std::istringstream in(text);
        std::string line;
        std::string section;
        std::vector<std::string> values;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line[0] == ';' || line[0] == '#') continue;
            char key[128];
            char value[128];
            if (line[0] == '[') {
                if (std::sscanf(line.c_str(), "[%127[^]]", key) == 1) section = key;
                continue;
            }
            if (std::sscanf(line.c_str(), " %127[^=]=%127[^\n]", key, value) == 2 &&
                strcasecmp(section.c_str(), "CodePage") == 0 && strcasecmp(key, "Char") == 0)
                values.emplace_back(value);
        }
        size_t n = 0;
        for (const std::string &v : values) {
            std::strncpy(buf, v.c_str(), sizeof buf - 1);
            n += buf[0];
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_IniCodePage_Getline)->Name("IniCodePage/getline");

struct Record {
    std::array<char, 16> key;
    int32_t index;
    char payload[44];
};

std::vector<Record> RandomRecords(size_t count) {
    std::mt19937 rng(42);
    std::vector<Record> out(count);
    for (size_t i = 0; i < count; ++i) {
        Record &r = out[i];
        std::memset(&r, 0, sizeof r);
        std::snprintf(r.key.data(), r.key.size(), "K%08u", static_cast<unsigned>(rng() % 5000000));
        r.index = static_cast<int32_t>(i);
    }
    return out;
}

constexpr size_t kRecords = 10000;

void BM_KeyedInsert_Ours(benchmark::State &state) {
    const auto records = RandomRecords(kRecords);
    for (auto _ : state) {
        MEMLIST list = MEMCreateList();
        MEMSortList(list, 0, 16);
        for (const Record &r : records) MEMAddItem(list, &r, sizeof r);
        benchmark::DoNotOptimize(MEMFirstItem(list));
        MEMDestroyList(list);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRecords));
}
BENCHMARK(BM_KeyedInsert_Ours)->Name("KeyedInsert10000/ours");

void BM_KeyedInsert_Multimap(benchmark::State &state) {
    const auto records = RandomRecords(kRecords);
    for (auto _ : state) {
        std::multimap<std::array<char, 16>, Record> map;
        for (const Record &r : records) map.emplace(r.key, r);
        benchmark::DoNotOptimize(map.begin());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRecords));
}
BENCHMARK(BM_KeyedInsert_Multimap)->Name("KeyedInsert10000/multimap");

void BM_KeyLookup_Ours(benchmark::State &state) {
    const auto records = RandomRecords(kRecords);
    MEMLIST list = MEMCreateList();
    MEMSortList(list, 0, 16);
    for (const Record &r : records) MEMAddItem(list, &r, sizeof r);
    size_t i = 0;
    for (auto _ : state) {
        int16_t found;
        benchmark::DoNotOptimize(MEMFindKey(list, records[i++ % kRecords].key.data(), &found));
    }
    MEMDestroyList(list);
}
BENCHMARK(BM_KeyLookup_Ours)->Name("KeyLookup10000/ours");

void BM_KeyLookup_Multimap(benchmark::State &state) {
    const auto records = RandomRecords(kRecords);
    std::multimap<std::array<char, 16>, Record> map;
    for (const Record &r : records) map.emplace(r.key, r);
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(map.find(records[i++ % kRecords].key));
}
BENCHMARK(BM_KeyLookup_Multimap)->Name("KeyLookup10000/multimap");

}  // namespace
