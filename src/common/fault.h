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
// allocation gives null (or throws std::bad_alloc), a system call gives -1
// with errno = error; with shortWrite a write of more than one byte instead
// writes only its first half. Earlier arming is forgotten.
void Arm(Kind kind, long nth, int error = 0, bool shortWrite = false) noexcept;

// Disarms the switch; true when the armed fault was injected.
bool Disarm() noexcept;

// Hook before an allocation: true when this one must fail.
bool AllocationFails() noexcept;

// Hook before a system call: 0 to make the call, else the errno to fail
// with. A write sees kShortWrite when it must write short.
inline constexpr int kShortWrite = -1;
int SystemFault() noexcept;

#else

constexpr bool AllocationFails() noexcept { return false; }
constexpr int SystemFault() noexcept { return 0; }

#endif

}  // namespace cmnw::fault
