// The table behind semaphore handles. A handle is never an address: it is a
// slot number and that slot's generation, so a closed, stale or made-up
// handle is recognised and refused without touching memory it names.
#pragma once

#include <cstdint>

#include "cmnw32/process.h"

namespace cmnw::platform {

struct SemRecord;

// Enters record into the table and returns its handle, or null when the
// table is full or cannot grow. The table owns the record from then on.
UTLHSEM AddSemaphoreHandle(SemRecord *record) noexcept;

// The record of an open handle with one more use counted, or null for a
// handle that is not (or no longer) open; *slot receives the handle's slot.
// Every non-null result is given back with ReleaseSemaphoreUse(slot); the
// record stays valid until then, even when another thread closes the handle
// meanwhile (the last use closes the record then).
SemRecord *AcquireSemaphoreUse(UTLHSEM handle, uint32_t *slot) noexcept;
void ReleaseSemaphoreUse(uint32_t slot) noexcept;

// Closes the handle: it is refused from now on, and its record is closed
// once no call uses it any more. False, with errno set, for a handle not in
// the table (EBADF) or when closing the record failed.
bool RemoveSemaphoreHandle(UTLHSEM handle) noexcept;

// Closes a record whose handle is gone (defined with the semaphores). False,
// with errno set, when a step of closing failed.
bool CloseSemRecord(SemRecord *record) noexcept;

}  // namespace cmnw::platform
