// Validation of field data against bar code types, and the layout of the bar type record.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>

#include "cmnw32/barcode.h"
#include "format/barcode_tables.h"

namespace {

TEST(Barcode, ValidateLengthThenCharacters) {
    const struct { const char *type; std::string data; int32_t want; } cases[] = {
        {"G", "12345678901", 0}, {"G", "1234567890", 4}, {"G", "123456789012", 2},
        {"G", "12345A78901", 1}, {"Z", "12345", 0}, {"Z", "123456789", 0}, {"Z", "12345678901", 0},
        {"Z", "1234567890", 4}, {"Z", "123456789012", 2}, {"Z", "1234", 4},
        {"4", std::string(25, '7'), 0}, {"4", std::string(20, '7'), 0},
        {"4", std::string(21, '7'), 4}, {"4", std::string(32, '7'), 2}, {"A", "abc-1", 0},
        {"A", "AB#1", 1}, {"Y", "HELLO WORLD $1.5/+%", 0}, {"Y", "*", 1}, {"D", "A123B", 0},
        {"D", "a1-2$3:4/5.6+d", 0}, {"D", "1234", 1}, {"D", "A1234", 1}, {"D", "AB", 0},
        {"D", "A", 0}, {"D", "AaB", 1}, {"S", std::string(254, 'x'), 0},
        {"S", std::string(255, 'x'), 1}, {"R", "\x7f\x01 ~", 0}, {"R", "caf\xe9", 1},
        {"F", "0123456789", 0}, {"F", "12.5", 1}, {"N", "9876543210", 0}, {"V", "1234567890123", 0},
        {"W", "123456789012345", 4}, {"1", "1234567890123", 0}, {"?", "1", 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FMTValBarcode(c.data.c_str(), static_cast<int>(c.data.size()), c.type), c.want)
            << c.type << " [" << c.data << "]";
}

TEST(Barcode, MaxLengthAndAcceptedCharacters) {
    const std::pair<const char *, int> maxLengths[] = {
        {"G", 11}, {"Garbage after the letter", 11}, {"A", 254}, {"4", 31}, {"2", 0}, {"", 0}};
    for (const auto &[type, max] : maxLengths) EXPECT_EQ(UTLBarcodeMaxLen(type), max) << (type ? type : "null");
    const struct { const char *type; char ch; uint16_t pos, len; char want; } cases[] = {
        {"A", 'z', 3, 5, 'Z'},  {"A", '%', 0, 1, '%'},   {"A", '*', 0, 1, 0},
        {"A", 'x', 254, 300, 0}, {"A", 'x', 253, 300, 'X'}, {"M", ' ', 0, 1, ' '},
        {"D", 'A', 0, 3, 'a'},  {"D", 'd', 2, 3, 'd'},   {"D", 'A', 1, 3, 0},
        {"G", '9', 10, 11, '9'}, {"G", '9', 11, 12, 0},  {"L", 'a', 0, 12, 0},
        {"Z", '5', 0, 5, '5'},  {"B", 'b', 0, 1, 'B'},   {"?", '1', 0, 1, 0}, {nullptr, '1', 0, 1, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UTLBarcodeChar(c.type, c.ch, c.pos, c.len), c.want) << (c.type ? c.type : "null") << " '" << c.ch << "' at " << c.pos;
}

// The packed record layout callers compile against (LP64).
static_assert(sizeof(UTLBarType) == 38 && offsetof(UTLBarType, startPattern) == 1);
static_assert(offsetof(UTLBarType, stopPattern) == 9 && offsetof(UTLBarType, maxLength) == 17);
static_assert(offsetof(UTLBarType, reserved) == 19 && offsetof(UTLBarType, widths) == 21);
static_assert(offsetof(UTLBarType, patterns) == 29 && offsetof(UTLBarType, firstChar) == 37);

}  // namespace
