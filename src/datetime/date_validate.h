// Internal date-field services for the combined date-time conversion.
#pragma once

#include <cstddef>
#include <ctime>

namespace cmnw::datetime {

// What a typed date field held.
enum class DateEntry { Date, Blank, Empty, Invalid };

// FMTIntlValDate under the current locale: validates at most
// min(maxLen, 61) characters of text under descriptor and rewrites text (64
// bytes) with the canonical date or the blank picture.
// With fields set, a valid date also leaves its month, day and year there.
struct DateFields {
    int month = 0;
    int day = 0;
    int year = 0;
};
DateEntry ValidateDateEntry(char *text, unsigned maxLen, const char *descriptor,
                           DateFields *fields = nullptr) noexcept;

// Prints the date of a local broken-down time under descriptor (null for the
// stored default) into out (outSize bytes), as FMTDate2Date from a hextime
// does. Returns the length stored.
size_t MakeDateOfLocal(const std::tm &local, const char *descriptor, char *out,
                       size_t outSize) noexcept;

}  // namespace cmnw::datetime
