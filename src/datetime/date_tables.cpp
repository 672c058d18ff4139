// Constant data of the 27 date formats.
#include <array>

#include "datetime/date_internal.h"

namespace cmnw::datetime {

constexpr char kFormatCodes[28] = {'1', '1', '2', '3', '4', '5', '6', '7', '8', '9',
                                   'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J',
                                   'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R'};

namespace {
constexpr DateOrder MDY = DateOrder::MonthDayYear;
constexpr DateOrder DMY = DateOrder::DayMonthYear;
constexpr DateOrder YMD = DateOrder::YearMonthDay;
}  // namespace

// Formats 17 (day of year, year) and 18 (year, day of year) keep their day of
// year in the day slot of day-month-year and year-month-day order.
constexpr DateOrder kFormatOrders[28] = {
    MDY,                 // unused
    MDY, DMY, YMD,       // 1-3 numbers
    MDY,                 // 4 full name
    MDY, DMY, YMD,       // 5-7 unpadded
    MDY, DMY, YMD,       // 8-10 blank-padded
    MDY, DMY, YMD,       // 11-13 no separator
    MDY, DMY, YMD,       // 14-16 abbreviation, no separator
    DMY, YMD,            // 17-18 day of year
    DMY, YMD,            // 19-20 full name
    MDY, DMY, YMD,       // 21-23 abbreviation with "-"
    MDY, DMY, YMD,       // 24-26 abbreviation with ","
    MDY,                 // 27 month name alone
};

namespace {
constexpr auto BuildCharClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        uint8_t bits = 0;
        if (c == '/' || c == '-' || c == '.' || c == ',' || c == ' ') bits |= kCharDateSeparator;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
            bits |= kCharWhite;
        }
        if (c >= '0' && c <= '9') bits |= kCharDigit;
        if (c != ',' && c != ' ') bits |= kCharTokenAtCommaBlank;
        classes[c] = bits;
    }
    classes[0] = 0;
    return classes;
}
}  // namespace

constexpr std::array<uint8_t, 256> kDateCharClasses = BuildCharClasses();

}  // namespace cmnw::datetime
