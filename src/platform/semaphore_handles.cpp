// Semaphore handles: slots in blocks that never move, found by number and
// checked by generation under one process-wide lock.
#include "platform/semaphore_handles.h"

#include <pthread.h>

#include <cerrno>
#include <cstdint>
#include <new>

namespace cmnw::platform {
namespace {

constexpr uint32_t kSlotsPerBlock = 256;
constexpr uint32_t kMaxBlocks = 256;  // at most 65536 open handles

struct Slot {
    SemRecord *record;      // null when the slot is free
    uint32_t generation;    // changes each time the slot is freed
    uint32_t uses;          // calls using the record, plus one while open
    bool open;              // the handle has not been closed
    uint32_t nextFree;      // next free slot number + 1, 0 for none
};

struct HandleState {
    pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    Slot *blocks[kMaxBlocks] = {};
    uint32_t blockCount = 0;
    uint32_t firstFree = 0;  // free slot number + 1, 0 for none
};
constinit HandleState g_handles;

static_assert(sizeof(UTLHSEM) == sizeof(uint64_t), "handles carry 64 bits");

class TableLock {
public:
    TableLock() noexcept { pthread_mutex_lock(&g_handles.lock); }
    ~TableLock() { pthread_mutex_unlock(&g_handles.lock); }
    TableLock(const TableLock &) = delete;
    TableLock &operator=(const TableLock &) = delete;
};

Slot &SlotAt(uint32_t number) noexcept {
    return g_handles.blocks[number / kSlotsPerBlock][number % kSlotsPerBlock];
}

// A handle: slot number + 1 in the low half (never 0), the generation in the
// high half.
UTLHSEM HandleOf(uint32_t number, uint32_t generation) noexcept {
    const uint64_t value = (static_cast<uint64_t>(generation) << 32) | (number + 1u);
    return reinterpret_cast<UTLHSEM>(static_cast<uintptr_t>(value));
}

// The slot a handle names while that handle is open, else null; *number
// receives the slot's number. Runs under the table lock.
Slot *OpenSlotOf(UTLHSEM handle, uint32_t *number) noexcept {
    const uint64_t value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
    const uint32_t low = static_cast<uint32_t>(value);
    if (low == 0 || low > g_handles.blockCount * kSlotsPerBlock) return nullptr;
    Slot &slot = SlotAt(low - 1);
    if (!slot.open || slot.generation != static_cast<uint32_t>(value >> 32)) return nullptr;
    *number = low - 1;
    return &slot;
}

// A free slot's number, adding a block when none is free. False when the
// table cannot grow. Runs under the table lock.
bool TakeFreeSlot(uint32_t *number) noexcept {
    if (g_handles.firstFree == 0) {
        if (g_handles.blockCount == kMaxBlocks) return false;
        Slot *block = new (std::nothrow) Slot[kSlotsPerBlock];
        if (block == nullptr) return false;
        const uint32_t base = g_handles.blockCount * kSlotsPerBlock;
        for (uint32_t i = 0; i < kSlotsPerBlock; ++i) {
            block[i] = Slot{nullptr, 1, 0, false, i + 1 < kSlotsPerBlock ? base + i + 2 : 0};
        }
        g_handles.blocks[g_handles.blockCount++] = block;
        g_handles.firstFree = base + 1;
    }
    *number = g_handles.firstFree - 1;
    g_handles.firstFree = SlotAt(*number).nextFree;
    return true;
}

// Drops one use of the slot; returns the record to close when it was the
// last, after freeing the slot. Runs under the table lock.
SemRecord *DropUse(Slot &slot, uint32_t number) noexcept {
    if (--slot.uses != 0) return nullptr;
    SemRecord *record = slot.record;
    slot.record = nullptr;
    ++slot.generation;
    if (slot.generation == 0) slot.generation = 1;
    slot.nextFree = g_handles.firstFree;
    g_handles.firstFree = number + 1;
    return record;
}

}  // namespace

UTLHSEM AddSemaphoreHandle(SemRecord *record) noexcept {
    TableLock lock;
    uint32_t number = 0;
    if (!TakeFreeSlot(&number)) return nullptr;
    Slot &slot = SlotAt(number);
    slot.record = record;
    slot.uses = 1;
    slot.open = true;
    slot.nextFree = 0;
    return HandleOf(number, slot.generation);
}

SemRecord *AcquireSemaphoreUse(UTLHSEM handle, uint32_t *slot) noexcept {
    TableLock lock;
    Slot *found = OpenSlotOf(handle, slot);
    if (found == nullptr) return nullptr;
    ++found->uses;
    return found->record;
}

void ReleaseSemaphoreUse(uint32_t slot) noexcept {
    SemRecord *toClose = nullptr;
    {
        TableLock lock;
        toClose = DropUse(SlotAt(slot), slot);
    }
    if (toClose != nullptr) CloseSemRecord(toClose);
}

bool RemoveSemaphoreHandle(UTLHSEM handle) noexcept {
    SemRecord *toClose = nullptr;
    {
        TableLock lock;
        uint32_t number = 0;
        Slot *slot = OpenSlotOf(handle, &number);
        if (slot == nullptr) {
            errno = EBADF;
            return false;
        }
        slot->open = false;
        toClose = DropUse(*slot, number);
    }
    return toClose == nullptr || CloseSemRecord(toClose);
}

}  // namespace cmnw::platform
