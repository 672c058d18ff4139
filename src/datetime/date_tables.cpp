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

namespace {
constexpr auto BuildDescriptorCodes() {
    std::array<DescriptorCode, 256> codes{};
    for (int c = 0; c < 256; ++c) {
        const int upper = (c >= 'a' && c <= 'z') ? c - 32 : c;
        DescriptorCode code{1, SeparatorRule::Given, '/'};
        if (upper >= '1' && upper <= '9') code.fmtNum = static_cast<uint8_t>(upper - '0');
        if (upper >= 'A' && upper <= 'R') code.fmtNum = static_cast<uint8_t>(10 + upper - 'A');
        switch (upper) {
            case '4': case 'J': case 'K': case 'O': case 'P': case 'Q':
                code.rule = SeparatorRule::Name;
                code.fallback = ',';
                break;
            case 'B': case 'C': case 'D': case 'E': case 'F': case 'G': case 'R':
                code.rule = SeparatorRule::None;
                code.fallback = '\0';
                break;
            case 'L': case 'M': case 'N':
                code.fallback = '-';
                break;
            default:
                break;
        }
        codes[c] = code;
    }
    return codes;
}

constexpr auto BuildDescriptorSeparators() {
    std::array<char, 256> separators{};
    for (int c = 0; c < 256; ++c) {
        if (c == 'b' || c == 'B') separators[c] = ' ';
        if (c == '/' || c == '-' || c == '.' || c == ',' || c == ' ') separators[c] = static_cast<char>(c);
    }
    return separators;
}

constexpr auto BuildDescriptorYearLengths() {
    std::array<int8_t, 256> lengths{};
    lengths['2'] = 2;
    lengths['3'] = -2;
    lengths['4'] = 4;
    lengths['5'] = -4;
    return lengths;
}
}  // namespace

constexpr std::array<DescriptorCode, 256> kDescriptorCodes = BuildDescriptorCodes();
constexpr std::array<char, 256> kDescriptorSeparators = BuildDescriptorSeparators();
constexpr std::array<int8_t, 256> kDescriptorYearLengths = BuildDescriptorYearLengths();

}  // namespace cmnw::datetime
