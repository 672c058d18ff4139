// Memory blocks: thin entries over the C heap that never hand out a
// zero-sized block.
#include <cstdlib>

#include "cmnw32/mem.h"
#include "common/fault.h"

extern "C" void *MEMAlloc(size_t size) noexcept {
    if (cmnw::fault::AllocationFails()) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

extern "C" void MEMFree(void *block) noexcept { std::free(block); }

extern "C" void *MEMRealloc(void *block, size_t size) noexcept {
    if (cmnw::fault::AllocationFails()) return nullptr;
    return std::realloc(block, size == 0 ? 1 : size);
}
