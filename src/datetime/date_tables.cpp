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

constexpr DateFormat kDateFormats[28] = {
    // code order month  abbrev  pad    sep   doy      number: example
    {'1', MDY, Num,   false, Zero,  '/',  false},  // (numbers outside 1..27)
    {'1', MDY, Num,   false, Zero,  '/',  false},  //  1: 12/31/1999
    {'2', DMY, Num,   false, Zero,  '/',  false},  //  2: 31/12/1999
    {'3', YMD, Num,   false, Zero,  '/',  false},  //  3: 1999/12/31
    {'4', MDY, Words, false, None,  ',',  false},  //  4: December 31, 1999
    {'5', MDY, Num,   false, None,  '/',  false},  //  5: 1/2/1999
    {'6', DMY, Num,   false, None,  '/',  false},  //  6: 2/1/1999
    {'7', YMD, Num,   false, None,  '/',  false},  //  7: 1999/1/2
    {'8', MDY, Num,   false, Blank, '/',  false},  //  8:  1/ 2/1999
    {'9', DMY, Num,   false, Blank, '/',  false},  //  9:  2/ 1/1999
    {'A', YMD, Num,   false, Blank, '/',  false},  // 10: 1999/ 1/ 2
    {'B', MDY, Num,   false, Zero,  '\0', false},  // 11: 12311999
    {'C', DMY, Num,   false, Zero,  '\0', false},  // 12: 31121999
    {'D', YMD, Num,   false, Zero,  '\0', false},  // 13: 19991231
    {'E', MDY, Name,  true,  Zero,  '\0', false},  // 14: Dec311999
    {'F', DMY, Name,  true,  Zero,  '\0', false},  // 15: 31Dec1999
    {'G', YMD, Name,  true,  Zero,  '\0', false},  // 16: 1999Dec31
    {'H', DMY, Num,   false, Zero,  '/',  true},   // 17: 365/1999
    {'I', YMD, Num,   false, Zero,  '/',  true},   // 18: 1999/365
    {'J', DMY, Words, false, None,  ',',  false},  // 19: 31 December, 1999
    {'K', YMD, Words, false, None,  ',',  false},  // 20: 1999, December 31
    {'L', MDY, Name,  true,  Zero,  '-',  false},  // 21: Dec-31-1999
    {'M', DMY, Name,  true,  Zero,  '-',  false},  // 22: 31-Dec-1999
    {'N', YMD, Name,  true,  Zero,  '-',  false},  // 23: 1999-Dec-31
    {'O', MDY, Words, true,  None,  ',',  false},  // 24: Dec 31, 1999
    {'P', DMY, Words, true,  None,  ',',  false},  // 25: 31 Dec, 1999
    {'Q', YMD, Words, true,  None,  ',',  false},  // 26: 1999, Dec 31
    {'R', MDY, Alone, false, Zero,  '\0', false},  // 27: December
};

namespace {
constexpr auto BuildFormatOfCode() {
    std::array<uint8_t, 256> formats{};
    for (int c = 0; c < 256; ++c) formats[c] = 1;
    for (uint8_t n = 1; n <= 27; ++n) {
        const char code = kDateFormats[n].code;
        formats[static_cast<unsigned char>(code)] = n;
        if (code >= 'A' && code <= 'Z') formats[static_cast<unsigned char>(code + 32)] = n;
    }
    return formats;
}
}  // namespace

constexpr std::array<uint8_t, 256> kFormatOfCode = BuildFormatOfCode();

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
