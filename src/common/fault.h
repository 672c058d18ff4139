// The fault switch of test builds (CMake option CMNW_FAULTS): a test arms it
// to make the Nth allocation or the Nth system call of the library fail, so
// that every failure path below an operation can be walked one by one.
// With the option off (release builds) this header holds only the hooks'
// constant answers and the library carries no trace of the switch.
//
// Threads: arm and disarm only while no other thread uses the library.
#pragma once

#ifndef CMNW_FAULTS
#define CMNW_FAULTS 0
#endif

namespace cmnw::fault {

enum class Kind {
    Allocation,  // operator new of the library, MEMAlloc/MEMRealloc, memory list items
    System,      // the library's calls to the operating system
};

#if CMNW_FAULTS

// From now on, counting from 1, the nth call of kind fails once: an
// allocation gives null (or throws std::bad_alloc) with errno ENOMEM, a
// system call of the seam its failure value (-1, null or MAP_FAILED) with
// errno = error (a close still closes, as Linux does); with shortWrite only
// writes count and the nth writes just the first half of its bytes. With
// error EINTR only calls that can be interrupted count. Earlier arming is
// forgotten.
void Arm(Kind kind, long nth, int error = 0, bool shortWrite = false) noexcept;

// Disarms the switch; true when the armed fault was injected.
bool Disarm() noexcept;

// Hook before an allocation: true when this one must fail.
bool AllocationFails() noexcept;

// Hook of the seam (os.h) before a system call: 0 to make the call, else
// the errno to fail with, or kShortWrite for a write that must write short.
// traits tells which faults the call can meet: an EINTR is injected only
// into calls that can be interrupted, a short write only into writes.
inline constexpr int kShortWrite = -1;
inline constexpr unsigned kWrites = 1, kInterruptible = 2;
int SystemFault(unsigned traits) noexcept;

#else

constexpr bool AllocationFails() noexcept {
    return false;
}
constexpr int SystemFault(unsigned) noexcept {
    return 0;
}

#endif

}  // namespace cmnw::fault
