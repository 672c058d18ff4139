// Patch scanning of a large file beside memmem looking for "@@" in the same
// bytes held in memory, and beside reading the file and running memmem.
// The size in MB comes from CMNW_BENCH_PATCH_MB (default 256).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/mem.h"
#include "cmnw32/version.h"

namespace {

int64_t PatchMegabytes() {
    const char *env = std::getenv("CMNW_BENCH_PATCH_MB");
    const long mb = env != nullptr ? std::strtol(env, nullptr, 10) : 256;
    return mb > 0 ? mb : 256;
}

// Random bytes with a few patch records, written once to a file.
class PatchFile {
public:
    explicit PatchFile(size_t size) : bytes_(size) {
        std::mt19937_64 rng(42);
        for (size_t i = 0; i + 8 <= size; i += 8) {
            const uint64_t r = rng();
            std::memcpy(&bytes_[i], &r, 8);
        }
        const std::string record =
            "@@QVS PATCH 11.2:P03:PCR 20987:400.112:..\\C\\utlctype:May 24 2007:15:54:00:";
        for (int k = 1; k <= 8; ++k) {
            const size_t at = size / 9 * k;
            std::memcpy(&bytes_[at], record.c_str(), record.size() + 1);
        }
        char pattern[] = "/tmp/cmnw32-patch-bench-XXXXXX";
        const int fd = mkstemp(pattern);
        path_ = pattern;
        if (fd >= 0) {
            for (size_t done = 0; done < size;) {
                const ssize_t n = write(fd, bytes_.data() + done, size - done);
                if (n <= 0) break;
                done += static_cast<size_t>(n);
            }
            close(fd);
        }
    }
    ~PatchFile() { unlink(path_.c_str()); }
    const std::vector<char> &bytes() const { return bytes_; }
    const std::string &path() const { return path_; }

private:
    std::vector<char> bytes_;
    std::string path_;
};

const PatchFile &File(size_t size) {
    static PatchFile *file = nullptr;
    if (file == nullptr || file->bytes().size() != size) {
        delete file;
        file = new PatchFile(size);
    }
    return *file;
}

size_t CountMarkers(const char *data, size_t size) {
    size_t count = 0;
    const char *p = data;
    const char *end = data + size;
    while (const void *hit = memmem(p, static_cast<size_t>(end - p), "@@", 2)) {
        ++count;
        p = static_cast<const char *>(hit) + 2;
    }
    return count;
}

void BM_PatchScan_Ours(benchmark::State &state) {
    const PatchFile &file = File(static_cast<size_t>(state.range(0)) << 20);
    MEMLIST records = MEMCreateList();
    MEMLIST summaries = MEMCreateList();
    for (auto _ : state) {
        MEMEmptyList(records);
        MEMEmptyList(summaries);
        benchmark::DoNotOptimize(UTLQueryPatchInfo(file.path().c_str(), records, summaries));
    }
    if (MEMCount(records) != 8) state.SkipWithError("records not found");
    MEMDestroyList(records);
    MEMDestroyList(summaries);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.bytes().size()));
}
BENCHMARK(BM_PatchScan_Ours)
    ->Name("PatchScan/ours")
    ->Arg(PatchMegabytes())
    ->Unit(benchmark::kMillisecond);

void BM_PatchScan_Memmem(benchmark::State &state) {
    const PatchFile &file = File(static_cast<size_t>(state.range(0)) << 20);
    for (auto _ : state)
        benchmark::DoNotOptimize(CountMarkers(file.bytes().data(), file.bytes().size()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.bytes().size()));
}
BENCHMARK(BM_PatchScan_Memmem)
    ->Name("PatchScan/memmem")
    ->Arg(PatchMegabytes())
    ->Unit(benchmark::kMillisecond);

// The same search when the bytes must first be read from the file.
void BM_PatchScan_ReadMemmem(benchmark::State &state) {
    const PatchFile &file = File(static_cast<size_t>(state.range(0)) << 20);
    std::vector<char> buffer(64 * 1024 + 1);
    for (auto _ : state) {
        FILE *f = std::fopen(file.path().c_str(), "rb");
        size_t count = 0, kept = 0, n = 0;
        while ((n = std::fread(buffer.data() + kept, 1, buffer.size() - kept, f)) > 0) {
            const size_t filled = kept + n;
            count += CountMarkers(buffer.data(), filled);
            kept = buffer[filled - 1] == '@' ? 1 : 0;  // a pair split by the read
            if (kept != 0) buffer[0] = '@';
        }
        std::fclose(f);
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.bytes().size()));
}
BENCHMARK(BM_PatchScan_ReadMemmem)
    ->Name("PatchScan/fread+memmem")
    ->Arg(PatchMegabytes())
    ->Unit(benchmark::kMillisecond);

}  // namespace
