// Replaces the global allocation functions of the benchmark binary with
// counting ones; the library's own allocations go through operator new.
#include "alloc_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> g_allocations{0};

void *Allocate(size_t size) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

size_t cmnw::bench::AllocationCount() noexcept {
    return g_allocations.load(std::memory_order_relaxed);
}

void *operator new(size_t size) {
    if (void *p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void *operator new[](size_t size) {
    if (void *p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void *operator new(size_t size, const std::nothrow_t &) noexcept {
    return Allocate(size);
}
void *operator new[](size_t size, const std::nothrow_t &) noexcept {
    return Allocate(size);
}
void operator delete(void *p) noexcept {
    std::free(p);
}
void operator delete[](void *p) noexcept {
    std::free(p);
}
void operator delete(void *p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void *p, size_t) noexcept {
    std::free(p);
}
void operator delete(void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}
void operator delete[](void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}
