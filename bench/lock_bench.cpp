// Taking and releasing locks beside what a caller would write by hand: the
// open-file lock beside open + flock, the lock file beside open(O_EXCL) +
// unlink.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "cmnw32/lock.h"

namespace {

// A directory holding one archive file with content, removed at exit.
class LockDir {
public:
    LockDir() {
        char pattern[] = "/tmp/cmnw32-lockbench-XXXXXX";
        path_ = mkdtemp(pattern);
        car_ = path_ + "/bench.car";
        if (FILE *f = std::fopen(car_.c_str(), "wb")) {
            std::fputs("record\n", f);
            std::fclose(f);
        }
    }
    ~LockDir() { (void)!std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string &car() const { return car_; }
    std::string File(const char *name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string car_;
};

void BM_OpenFileLock_Ours(benchmark::State &state) {
    LockDir dir;
    for (auto _ : state) {
        FILE *lock = UTLLock(dir.car().c_str());
        benchmark::DoNotOptimize(lock);
        UTLUnlock(lock);
    }
}
BENCHMARK(BM_OpenFileLock_Ours)->Name("OpenFileLock/ours");

void BM_OpenFileLock_Flock(benchmark::State &state) {
    LockDir dir;
    for (auto _ : state) {
        FILE *f = std::fopen(dir.car().c_str(), "r+b");
        int held = f != nullptr ? flock(fileno(f), LOCK_EX | LOCK_NB) : -1;
        benchmark::DoNotOptimize(held);
        if (f != nullptr) std::fclose(f);
    }
}
BENCHMARK(BM_OpenFileLock_Flock)->Name("OpenFileLock/flock");

void BM_LockFile_Ours(benchmark::State &state) {
    LockDir dir;
    const std::string name = dir.File("x.dat");
    for (auto _ : state) {
        benchmark::DoNotOptimize(UTLLockFileExt(name.c_str()));
        UTLUnLockFileExt(name.c_str());
    }
}
BENCHMARK(BM_LockFile_Ours)->Name("LockFile/ours");

void BM_LockFile_OpenExcl(benchmark::State &state) {
    LockDir dir;
    const std::string name = dir.File("x.lck");
    for (auto _ : state) {
        int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        benchmark::DoNotOptimize(fd);
        if (fd >= 0) close(fd);
        unlink(name.c_str());
    }
}
BENCHMARK(BM_LockFile_OpenExcl)->Name("LockFile/open_excl");

}  // namespace
