// The replaced operator new of test programs built with the fault switch;
// compiled into each program that links the library's archive, never into
// the shared library (a program's own operator new would not pair with the
// one a sanitizer gives it).
#include <dlfcn.h>

#include <cstddef>
#include <new>

#include "common/fault.h"

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
