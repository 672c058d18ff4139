// The fault switch of test builds; compiled only with CMNW_FAULTS.
#include "common/fault.h"

#include <sys/mman.h>

#include <atomic>
#include <cerrno>
#include <tuple>
#include <type_traits>

#include "common/os.h"

namespace cmnw::fault {
namespace {

struct Switch {
    std::atomic<int> kind{-1};  // armed Kind, or -1
    std::atomic<long> nth{0};
    std::atomic<long> calls{0};
    std::atomic<bool> fired{false};
    int error = 0;
    bool shortWrite = false;
};
constinit Switch faults;

bool Count() noexcept {
    if (faults.calls.fetch_add(1) + 1 != faults.nth.load()) return false;
    faults.fired = true;
    return true;
}

bool Hit(Kind kind) noexcept {
    return faults.kind.load(std::memory_order_relaxed) == static_cast<int>(kind) && Count();
}

// The seam's entries as the system gives them, kept while the switch sits in
// front of them.
os::Calls real;

template <typename R>
R Failure() noexcept {
    if constexpr (std::is_pointer_v<R>)
        return nullptr;
    else
        return static_cast<R>(-1);
}

// Traits of the seam's entries beyond those of fault.h.
constexpr unsigned kCloses = 4, kMaps = 8;

template <typename Fn>
struct Faulty;

// Stands in for one entry of the seam: asks the switch, then fails or calls
// the system's function.
template <typename R, typename... A>
struct Faulty<R (*)(A...)> {
    template <R (*os::Calls::*Entry)(A...), unsigned traits>
    static R Call(A... args) noexcept {
        const int error = SystemFault(traits);
        if (error == 0) return (real.*Entry)(args...);
        if constexpr ((traits & kWrites) != 0) {
            if (error == kShortWrite) {
                auto [fd, bytes, size] = std::tuple<A...>(args...);
                return (real.*Entry)(fd, bytes, size > 1 ? size / 2 : size);
            }
        }
        if constexpr ((traits & kCloses) != 0) {
            (real.*Entry)(args...);  // the descriptor is gone whatever close reports
        }
        errno = error;
        if constexpr ((traits & kMaps) != 0)
            return MAP_FAILED;
        else
            return Failure<R>();
    }
};

#define CMNW_FAULTY(entry, traits) \
    os::g_osCalls.entry = Faulty<decltype(os::Calls::entry)>::Call<&os::Calls::entry, traits>

// Puts the switch in front of every entry of the seam that can fail (the
// module error text, unloading and unmapping are left alone).
void PutOnSeam() noexcept {
    static bool done = false;
    if (done) return;
    done = true;
    real = os::g_osCalls;
    CMNW_FAULTY(open, kInterruptible);
    CMNW_FAULTY(openat, kInterruptible);
    CMNW_FAULTY(read, kInterruptible);
    CMNW_FAULTY(pread, kInterruptible);
    CMNW_FAULTY(write, kInterruptible | kWrites);
    CMNW_FAULTY(fsync, kInterruptible);
    CMNW_FAULTY(close, kInterruptible | kCloses);
    CMNW_FAULTY(ftruncate, kInterruptible);
    CMNW_FAULTY(lseek, 0);
    CMNW_FAULTY(fcntlFlags, 0);
    CMNW_FAULTY(fcntlLock, kInterruptible);
    CMNW_FAULTY(flock, kInterruptible);
    CMNW_FAULTY(fstat, 0);
    CMNW_FAULTY(fstatat, 0);
    CMNW_FAULTY(stat, 0);
    CMNW_FAULTY(lstat, 0);
    CMNW_FAULTY(access, 0);
    CMNW_FAULTY(fchmod, 0);
    CMNW_FAULTY(rename, 0);
    CMNW_FAULTY(unlink, 0);
    CMNW_FAULTY(unlinkat, 0);
    CMNW_FAULTY(mkdir, 0);
    CMNW_FAULTY(rmdir, 0);
    CMNW_FAULTY(mkostemp, kInterruptible);
    CMNW_FAULTY(getcwd, 0);
    CMNW_FAULTY(opendir, 0);
    CMNW_FAULTY(fdopendir, 0);
    CMNW_FAULTY(readdir, 0);
    CMNW_FAULTY(closedir, kCloses);
    CMNW_FAULTY(fdopen, 0);
    CMNW_FAULTY(shmOpen, kInterruptible);
    CMNW_FAULTY(shmUnlink, 0);
    CMNW_FAULTY(mmap, kMaps);
    CMNW_FAULTY(dlopen, 0);
    CMNW_FAULTY(dlsym, 0);
}
#undef CMNW_FAULTY

}  // namespace

void Arm(Kind kind, long nth, int error, bool shortWrite) noexcept {
    faults.kind = -1;
    if (kind == Kind::System) PutOnSeam();
    faults.error = error;
    faults.shortWrite = shortWrite;
    faults.calls = 0;
    faults.fired = false;
    faults.nth = nth;
    faults.kind = static_cast<int>(kind);
}

bool Disarm() noexcept {
    faults.kind = -1;
    return faults.fired;
}

// As a failed malloc does, the failure leaves ENOMEM in errno.
bool AllocationFails() noexcept {
    if (!Hit(Kind::Allocation)) return false;
    errno = ENOMEM;
    return true;
}

int SystemFault(unsigned traits) noexcept {
    if (faults.kind.load(std::memory_order_relaxed) != static_cast<int>(Kind::System)) return 0;
    if (faults.shortWrite ? (traits & kWrites) == 0
                          : faults.error == EINTR && (traits & kInterruptible) == 0)
        return 0;
    if (!Count()) return 0;
    return faults.shortWrite ? kShortWrite : faults.error;
}

}  // namespace cmnw::fault
