// The process-wide settings of the date and time families: the stored
// default descriptors, the century pivot, the time zone taken from the
// environment and the host locale. All of them are kept in one file; every
// function here is safe on any thread.
#pragma once

#include <cstddef>

namespace cmnw::datetime {

// The two stored default descriptors.
enum class DescriptorKind { Date, Time };

// FMTDefDateFormat and FMTDefTimeFormat: mode 'G' copies the stored
// descriptor into descriptor (kDescriptorBuffer bytes, NUL-padded), 'S'
// stores descriptor (cut at kMaxDescriptor characters), any other mode
// restores the built-in one and copies it into descriptor. A null descriptor
// is neither read nor written.
void KeepDefaultDescriptor(DescriptorKind kind, char *descriptor, char mode) noexcept;

// The century pivot 0..99, read from the configuration on first use.
int CenturyPivot() noexcept;

// Takes the C library's time zone from the environment on the first call in
// the process.
void TakeTimeZoneOnce() noexcept;

// The longest host locale name.
inline constexpr size_t kHostLocaleMax = 7;
// The host locale name as set (kHostLocaleMax + 1 bytes, NUL-padded); "" for
// none. A reader always sees a whole name.
void LoadHostLocale(char (&name)[kHostLocaleMax + 1]) noexcept;
// Sets the host locale to at most kHostLocaleMax characters of name (null
// sets none).
void StoreHostLocale(const char *name) noexcept;

}  // namespace cmnw::datetime
