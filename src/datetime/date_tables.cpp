// Constant data of the 27 date formats and of the characters of date texts
// and descriptors.
#include <array>

#include "datetime/date_internal.h"

namespace cmnw::datetime {

namespace {
constexpr DateOrder MDY = DateOrder::MonthDayYear;
constexpr DateOrder DMY = DateOrder::DayMonthYear;
constexpr DateOrder YMD = DateOrder::YearMonthDay;
constexpr MonthShow Num = MonthShow::Number;
constexpr MonthShow Name = MonthShow::Name;
constexpr MonthShow Words = MonthShow::Words;
constexpr MonthShow Alone = MonthShow::Alone;
constexpr NumberPad Zero = NumberPad::Zero;
constexpr NumberPad None = NumberPad::None;
constexpr NumberPad Blank = NumberPad::Blank;
}  // namespace

// clang-format off
constexpr DateFormat kDateFormats[28] = {
    // code order month pad    doy    abbrev sep     number: example
    {'1', MDY, Num,   Zero,  false, false, '/' }, // (numbers outside 1..27)
    {'1', MDY, Num,   Zero,  false, false, '/' }, //  1: 12/31/1999
    {'2', DMY, Num,   Zero,  false, false, '/' }, //  2: 31/12/1999
    {'3', YMD, Num,   Zero,  false, false, '/' }, //  3: 1999/12/31
    {'4', MDY, Words, None,  false, false, ',' }, //  4: December 31, 1999
    {'5', MDY, Num,   None,  false, false, '/' }, //  5: 1/2/1999
    {'6', DMY, Num,   None,  false, false, '/' }, //  6: 2/1/1999
    {'7', YMD, Num,   None,  false, false, '/' }, //  7: 1999/1/2
    {'8', MDY, Num,   Blank, false, false, '/' }, //  8:  1/ 2/1999
    {'9', DMY, Num,   Blank, false, false, '/' }, //  9:  2/ 1/1999
    {'A', YMD, Num,   Blank, false, false, '/' }, // 10: 1999/ 1/ 2
    {'B', MDY, Num,   Zero,  false, false, '\0'}, // 11: 12311999
    {'C', DMY, Num,   Zero,  false, false, '\0'}, // 12: 31121999
    {'D', YMD, Num,   Zero,  false, false, '\0'}, // 13: 19991231
    {'E', MDY, Name,  Zero,  false, true,  '\0'}, // 14: Dec311999
    {'F', DMY, Name,  Zero,  false, true,  '\0'}, // 15: 31Dec1999
    {'G', YMD, Name,  Zero,  false, true,  '\0'}, // 16: 1999Dec31
    {'H', DMY, Num,   Zero,  true,  false, '/' }, // 17: 365/1999
    {'I', YMD, Num,   Zero,  true,  false, '/' }, // 18: 1999/365
    {'J', DMY, Words, None,  false, false, ',' }, // 19: 31 December, 1999
    {'K', YMD, Words, None,  false, false, ',' }, // 20: 1999, December 31
    {'L', MDY, Name,  Zero,  false, true,  '-' }, // 21: Dec-31-1999
    {'M', DMY, Name,  Zero,  false, true,  '-' }, // 22: 31-Dec-1999
    {'N', YMD, Name,  Zero,  false, true,  '-' }, // 23: 1999-Dec-31
    {'O', MDY, Words, None,  false, true,  ',' }, // 24: Dec 31, 1999
    {'P', DMY, Words, None,  false, true,  ',' }, // 25: 31 Dec, 1999
    {'Q', YMD, Words, None,  false, true,  ',' }, // 26: 1999, Dec 31
    {'R', MDY, Alone, Zero,  false, false, '\0'}, // 27: December
};
// clang-format on

namespace {
constexpr auto BuildDescriptorCodes() {
    std::array<DescriptorCode, 256> codes{};
    for (auto &code : codes) code = {1, kDateFormats[1].separator};
    for (uint8_t n = 1; n <= 27; ++n) {
        const char c = kDateFormats[n].code;
        const DescriptorCode code{n, kDateFormats[n].separator};
        codes[static_cast<unsigned char>(c)] = code;
        if (c >= 'A' && c <= 'Z') codes[static_cast<unsigned char>(c + 32)] = code;
    }
    return codes;
}
}  // namespace

constexpr std::array<DescriptorCode, 256> kDescriptorCodes = BuildDescriptorCodes();

constexpr std::array<DateParts, 28> kDateParts = [] {
    std::array<DateParts, 28> parts{};
    for (size_t n = 0; n < parts.size(); ++n) parts[n] = PartsOf(kDateFormats[n]);
    return parts;
}();

constexpr uint32_t kZeroPaddedNumberFormats = [] {
    uint32_t formats = 0;
    for (int n = 1; n <= 27; ++n)
        if (kDateFormats[n].ZeroPaddedNumbers()) formats |= uint32_t{1} << n;
    return formats;
}();

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

constexpr std::array<char, 256> kDescriptorSeparators = BuildDescriptorSeparators();
constexpr std::array<int8_t, 256> kDescriptorYearLengths = BuildDescriptorYearLengths();

}  // namespace cmnw::datetime
