// Code page sets: loading the built-in set beside parsing the same lines with
// the configuration library alone, and lookups by name and by byte beside a
// plain scan of the same characters.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

namespace {

// A configuration in force whose code page file does not exist, so that
// loading falls back to the built-in set. The allocator is kept from handing
// freed memory back to the system between iterations: loading is a once per
// process event, and returning and re-faulting the same pages in every
// iteration would measure the kernel rather than either library.
void UseBuiltInSet() {
    static bool done = false;
    if (done) return;
    done = true;
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    CFGCreate();
    CFGSetString("KTRes", "DefLib", "/nonexistent-cmnw-codepage-dir/");
}

// The built-in set as an INI file, written once from a loaded set.
const std::string &BuiltInIniPath() {
    static std::string path;
    if (!path.empty()) return path;
    UseBuiltInSet();
    char dir[] = "/tmp/cmnw_cpbench_XXXXXX";
    if (mkdtemp(dir) == nullptr) return path;
    path = std::string(dir) + "/codepage.ini";
    UTLCPSET set = UTLLoadCodePage();
    CFGHANDLE inForce = CFGCurrent();
    CFGCreate();
    UTLUnloadCodePages(set);
    UTLUnloadCodePagesChars(set);
    CFGSave(path.c_str());
    CFGDiscard();
    CFGSetCurrent(inForce);
    UTLDestroyCodePage(set);
    return path;
}

void BM_Load_Ours(benchmark::State &state) {
    UseBuiltInSet();
    for (auto _ : state) {
        UTLCPSET set = UTLLoadCodePage();
        benchmark::DoNotOptimize(set);
        UTLDestroyCodePage(set);
    }
}
BENCHMARK(BM_Load_Ours)->Name("CodePageLoad/ours");

// Reads every value of the two sections, as loading a set must.
size_t WalkValues() {
    char value[256];
    size_t n = 0;
    for (CFGCURSOR c = CFGFirstValue("CodePages", "CodePage", value, sizeof value); c != nullptr;
         c = CFGNextValue(c, "CodePages", "CodePage", value, sizeof value))
        n += value[0];
    for (CFGCURSOR c = CFGFirstValue("CodePage", "Char", value, sizeof value); c != nullptr;
         c = CFGNextValue(c, "CodePage", "Char", value, sizeof value))
        n += value[0];
    return n;
}

void BM_Load_CfgFile(benchmark::State &state) {
    UseBuiltInSet();
    const std::string &path = BuiltInIniPath();
    CFGHANDLE inForce = CFGCurrent();
    for (auto _ : state) {
        if (CFGLoadINI(path.c_str()) == nullptr) state.SkipWithError("no file");
        benchmark::DoNotOptimize(WalkValues());
        CFGDiscard();
        CFGSetCurrent(inForce);
    }
}
BENCHMARK(BM_Load_CfgFile)->Name("CodePageLoad/cfgparse");

// A set of n characters with distinct identifiers and names; each byte value
// 1-255 is used in turn.
UTLCPSET MakeSet(int n) {
    CFGHANDLE inForce = CFGCurrent();
    CFGCreate();
    CFGAddLine("CodePages", "CodePage", "1,AA");
    char line[64];
    for (int k = 0; k < n; ++k) {
        std::snprintf(line, sizeof line, "ID%06d,name%d, ,%d", k, k, 1 + k % 255);
        CFGAddLine("CodePage", "Char", line);
    }
    UTLCPSET set = UTLCreateCodePage();
    UTLLoadCodePages(set);
    UTLLoadCodePagesChars(set);
    CFGDiscard();
    CFGSetCurrent(inForce);
    UTLSetDefCodePage(set, 1, nullptr);
    return set;
}

std::vector<std::string> Probes(int n, const char *format) {
    std::vector<std::string> probes;
    char text[32];
    for (int i = 0; i < 64; ++i) {
        std::snprintf(text, sizeof text, format, (i * 7919) % n);
        probes.emplace_back(text);
    }
    return probes;
}

void BM_ByName_Ours(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    UTLCPSET set = MakeSet(n);
    const std::vector<std::string> probes = Probes(n, "ID%06d");
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            UTLLocateCharByName(set, probes[i++ % 64].c_str(), nullptr, nullptr));
    }
    UTLDestroyCodePage(set);
}
BENCHMARK(BM_ByName_Ours)->Name("CodePageByName/ours")->Arg(64)->Arg(256)->Arg(1024);

void BM_ByName_Scan(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<std::string> ids;
    char id[16];
    for (int k = 0; k < n; ++k) {
        std::snprintf(id, sizeof id, "ID%06d", k);
        ids.emplace_back(id);
    }
    std::vector<unsigned char> bytes(n);
    for (int k = 0; k < n; ++k) bytes[k] = static_cast<unsigned char>(1 + k % 255);
    const std::vector<std::string> probes = Probes(n, "ID%06d");
    size_t i = 0;
    for (auto _ : state) {
        const char *probe = probes[i++ % 64].c_str();
        int found = 0;
        for (int k = 0; k < n; ++k)
            if (std::strcmp(ids[k].c_str(), probe) == 0) {
                found = bytes[k];
                break;
            }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_ByName_Scan)->Name("CodePageByName/scan")->Arg(64)->Arg(256)->Arg(1024);

void BM_ByByte_Ours(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    UTLCPSET set = MakeSet(n);
    char name[UTL_CP_NAME_SIZE];
    int32_t byte = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            UTLLocateNameByChar(set, 1 + byte++ % 255, nullptr, name, nullptr));
    }
    UTLDestroyCodePage(set);
}
BENCHMARK(BM_ByByte_Ours)->Name("CodePageByByte/ours")->Arg(64)->Arg(256)->Arg(1024);

// memchr over the code page's bytes, then the copy of the name.
void BM_ByByte_Memchr(benchmark::State &state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<unsigned char> bytes(n);
    std::vector<std::string> names;
    for (int k = 0; k < n; ++k) {
        bytes[k] = static_cast<unsigned char>(1 + k % 255);
        names.push_back("name" + std::to_string(k));
    }
    char name[UTL_CP_NAME_SIZE];
    int byte = 0;
    for (auto _ : state) {
        const void *hit = std::memchr(bytes.data(), 1 + byte++ % 255, bytes.size());
        if (hit != nullptr) {
            const size_t k = static_cast<const unsigned char *>(hit) - bytes.data();
            std::strncpy(name, names[k].c_str(), sizeof name - 1);
            name[sizeof name - 1] = '\0';
        }
        benchmark::DoNotOptimize(name);
    }
}
BENCHMARK(BM_ByByte_Memchr)->Name("CodePageByByte/memchr")->Arg(64)->Arg(256)->Arg(1024);

}  // namespace
