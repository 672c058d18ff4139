// The fault switch of test builds; compiled only with CMNW_FAULTS.
#include "common/fault.h"

#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

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

bool Hit(Kind kind) noexcept {
    if (faults.kind.load(std::memory_order_relaxed) != static_cast<int>(kind)) return false;
    if (faults.calls.fetch_add(1) + 1 != faults.nth.load()) return false;
    faults.fired = true;
    return true;
}

}  // namespace

void Arm(Kind kind, long nth, int error, bool shortWrite) noexcept {
    faults.kind = -1;
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

int SystemFault() noexcept {
    if (!Hit(Kind::System)) return 0;
    return faults.shortWrite ? kShortWrite : faults.error;
}

}  // namespace cmnw::fault

// operator new of the program, failing when the switch says so and
// otherwise handing over to the one it replaces (the sanitizer's or the C++
// runtime's), so that a sanitizer still pairs each new with its delete.
namespace {

template <typename Fn>
Fn NextNew(Fn &cached, const char *name) noexcept {
    if (cached == nullptr) cached = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
    return cached;
}

using PlainNew = void *(*)(std::size_t);
using QuietNew = void *(*)(std::size_t, const std::nothrow_t &);
PlainNew nextNew, nextNewArray;
QuietNew nextQuietNew, nextQuietNewArray;

}  // namespace

void *operator new(std::size_t size) {
    if (cmnw::fault::AllocationFails()) throw std::bad_alloc();
    return NextNew(nextNew, "_Znwm")(size);
}
void *operator new[](std::size_t size) {
    if (cmnw::fault::AllocationFails()) throw std::bad_alloc();
    return NextNew(nextNewArray, "_Znam")(size);
}
void *operator new(std::size_t size, const std::nothrow_t &tag) noexcept {
    if (cmnw::fault::AllocationFails()) return nullptr;
    return NextNew(nextQuietNew, "_ZnwmRKSt9nothrow_t")(size, tag);
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept {
    if (cmnw::fault::AllocationFails()) return nullptr;
    return NextNew(nextQuietNewArray, "_ZnamRKSt9nothrow_t")(size, tag);
}
