// One trace line with time stamps on beside fprintf + fflush of the same
// format and arguments to a file opened for appending.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cmnw32/trace.h"

namespace {

constexpr char kFormat[] = "Loaded module %s at %p with %d entries (%s)";

// A file in a fresh directory, removed with it at the end.
class TraceDir {
public:
    TraceDir() {
        char pattern[] = "/tmp/cmnw32-tracebench-XXXXXX";
        path_ = mkdtemp(pattern);
        file_ = path_ + "/bench.log";
    }
    ~TraceDir() { (void)!std::system(("rm -rf '" + path_ + "'").c_str()); }
    const char *file() const { return file_.c_str(); }

private:
    std::string path_;
    std::string file_;
};

void BM_TraceLine_Ours(benchmark::State &state) {
    TraceDir dir;
    UTLSetTraceName(dir.file());
    int entries = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            UTLLogTrace(kFormat, "codepage", static_cast<void *>(&entries), ++entries, "ok"));
    }
    UTLLogTrace(nullptr);
}
BENCHMARK(BM_TraceLine_Ours)->Name("TraceLine/ours");

void BM_TraceLine_Fprintf(benchmark::State &state) {
    TraceDir dir;
    FILE *file = std::fopen(dir.file(), "a");
    int entries = 0;
    for (auto _ : state) {
        std::fprintf(file, kFormat, "codepage", static_cast<void *>(&entries), ++entries, "ok");
        std::fputc('\n', file);
        benchmark::DoNotOptimize(std::fflush(file));
    }
    std::fclose(file);
}
BENCHMARK(BM_TraceLine_Fprintf)->Name("TraceLine/fprintf");

}  // namespace
