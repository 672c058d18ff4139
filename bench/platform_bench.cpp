// Critical sections beside a recursive pthread mutex, and a directory
// listing beside opendir/readdir.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "cmnw32/file.h"
#include "cmnw32/mem.h"
#include "cmnw32/process.h"

namespace {

void BM_CriticalSection_Ours(benchmark::State &state) {
    UTLCRITICAL_SECTION cs;
    UTLInitializeCriticalSection(&cs);
    for (auto _ : state) {
        UTLEnterCriticalSection(&cs);
        UTLLeaveCriticalSection(&cs);
    }
    UTLCleanupCriticalSection(&cs);
}
BENCHMARK(BM_CriticalSection_Ours)->Name("CriticalSection/ours");

void BM_CriticalSection_Pthread(benchmark::State &state) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_t mutex;
    pthread_mutex_init(&mutex, &attr);
    for (auto _ : state) {
        pthread_mutex_lock(&mutex);
        pthread_mutex_unlock(&mutex);
    }
    pthread_mutex_destroy(&mutex);
    pthread_mutexattr_destroy(&attr);
}
BENCHMARK(BM_CriticalSection_Pthread)->Name("CriticalSection/pthread");

constexpr int kFileCount = 10000;

// A directory of kFileCount empty files, made once and removed at exit.
class FileTree {
public:
    FileTree() {
        char pattern[] = "/tmp/cmnw32-bench-XXXXXX";
        path_ = mkdtemp(pattern);
        for (int i = 0; i < kFileCount; ++i) {
            std::string name = path_ + "/file" + std::to_string(i) + ".dat";
            int fd = open(name.c_str(), O_CREAT | O_WRONLY, 0644);
            if (fd >= 0) close(fd);
        }
    }
    ~FileTree() { (void)!system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

const FileTree &Tree() {
    static FileTree tree;
    return tree;
}

void BM_FindAll_Ours(benchmark::State &state) {
    const std::string pattern = Tree().path() + "/*";
    for (auto _ : state) {
        MEMLIST list = UTLFindAll(pattern.c_str(), 0);
        benchmark::DoNotOptimize(list);
        if (MEMCount(list) != kFileCount) state.SkipWithError("wrong count");
        MEMDestroyList(list);
    }
    state.SetItemsProcessed(state.iterations() * kFileCount);
}
BENCHMARK(BM_FindAll_Ours)->Name("FindAll/ours")->Unit(benchmark::kMillisecond);

// The same listing by hand: every regular file's name in a 258-byte record,
// kept in one vector whose room is reused.
void BM_FindAll_Readdir(benchmark::State &state) {
    const std::string dirPath = Tree().path();
    struct Record {
        char name[CMNW_MAX_PATH];
    };
    std::vector<Record> records;
    records.reserve(kFileCount);
    for (auto _ : state) {
        records.clear();
        DIR *dir = opendir(dirPath.c_str());
        while (const dirent *entry = readdir(dir)) {
            if (entry->d_type == DT_DIR) continue;
            Record r{};
            std::strncpy(r.name, entry->d_name, sizeof r.name - 1);
            records.push_back(r);
        }
        closedir(dir);
        benchmark::DoNotOptimize(records.data());
        if (records.size() != kFileCount) state.SkipWithError("wrong count");
    }
    state.SetItemsProcessed(state.iterations() * kFileCount);
}
BENCHMARK(BM_FindAll_Readdir)->Name("FindAll/readdir")->Unit(benchmark::kMillisecond);

}  // namespace
