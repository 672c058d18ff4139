// Bar code types and the published symbol tables, in the element notations
// described in cmnw32/barcode.h.
#include "format/barcode_tables.h"

namespace cmnw::barcode {

namespace {
constexpr const char kNone39[] = "0000000000";
constexpr const char kNoneCodabar[] = "00000000";
}  // namespace

// Nine elements (bar first; 0 narrow, 1 wide) and the narrow gap "0".
constinit const char *const kCode39Patterns[kCode39Count] = {
    "0110001000",  // 0x20 blank
    kNone39, kNone39, kNone39,
    "0101010000",  // 0x24 $
    "0001010100",  // 0x25 %
    kNone39, kNone39, kNone39, kNone39,
    "0100101000",  // 0x2A * (start/stop)
    "0100010100",  // 0x2B +
    kNone39,
    "0100001010",  // 0x2D -
    "1100001000",  // 0x2E .
    "0101000100",  // 0x2F /
    "0001101000",  // 0
    "1001000010",  // 1
    "0011000010",  // 2
    "1011000000",  // 3
    "0001100010",  // 4
    "1001100000",  // 5
    "0011100000",  // 6
    "0001001010",  // 7
    "1001001000",  // 8
    "0011001000",  // 9
    kNone39, kNone39, kNone39, kNone39, kNone39, kNone39, kNone39,  // 0x3A .. 0x40
    "1000010010",  // A
    "0010010010",  // B
    "1010010000",  // C
    "0000110010",  // D
    "1000110000",  // E
    "0010110000",  // F
    "0000011010",  // G
    "1000011000",  // H
    "0010011000",  // I
    "0000111000",  // J
    "1000000110",  // K
    "0010000110",  // L
    "1010000100",  // M
    "0000100110",  // N
    "1000100100",  // O
    "0010100100",  // P
    "0000001110",  // Q
    "1000001100",  // R
    "0010001100",  // S
    "0000101100",  // T
    "1100000010",  // U
    "0110000010",  // V
    "1110000000",  // W
    "0100100010",  // X
    "1100100000",  // Y
    "0110100000",  // Z
};

// Seven elements (bar first; 0 narrow, 1 wide) and the gap "1". T, N, * and
// E are the alternative names of the start/stop characters A, B, C and D.
constinit const char *const kCodabarPatterns[kCodabarCount] = {
    "00110001",  // 0x24 $
    kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar,  // % & ' ( )
    "00010111",  // 0x2A * (= C)
    "00101011",  // 0x2B +
    kNoneCodabar,
    "00011001",  // 0x2D -
    "10101001",  // 0x2E .
    "10100011",  // 0x2F /
    "00000111",  // 0
    "00001101",  // 1
    "00010011",  // 2
    "11000001",  // 3
    "00100101",  // 4
    "10000101",  // 5
    "01000011",  // 6
    "01001001",  // 7
    "01100001",  // 8
    "10010001",  // 9
    "10001011",  // 0x3A :
    kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar,  // ; .. @
    "00110101",  // A
    "01010011",  // B
    "00010111",  // C
    "00011101",  // D
    "00011101",  // E (= D)
    kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar,  // F .. J
    kNoneCodabar, kNoneCodabar, kNoneCodabar,                              // K .. M
    "01010011",  // N (= B)
    kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar, kNoneCodabar,  // O .. S
    "00110101",  // T (= A)
};

// Five elements per digit (0 narrow, 1 wide), then the start and the stop.
constinit const char *const kTwoOfFivePatterns[kTwoOfFiveCount] = {
    "00110", "10001", "01001", "11000", "00101", "10100",
    "01100", "00011", "10010", "01010", "0000",  "1000",
};

// Four bits per digit, each bit as two elements ("01" = 0, "10" = 1), then
// the start and the stop.
constinit const char *const kMsiPatterns[kMsiCount] = {
    "01010101", "01010110", "01011001", "01011010", "01100101", "01100110",
    "01101001", "01101010", "10010101", "10010110", "10",       "0101",
};

// Six element widths minus one per symbol value (bar first); 103..105 are the
// start characters A, B, C and 106 the stop with its final bar.
constinit const char *const kCode128Patterns[kCode128Count] = {
    "101111", "111011", "111110", "010112", "010211", "020111", "011102", "011201",  //   0
    "021101", "110102", "110201", "120101", "001121", "011021", "011120", "002111",  //   8
    "012011", "012110", "112100", "110021", "110120", "102101", "112001", "201020",  //  16
    "200111", "210011", "210110", "201101", "211001", "211100", "101012", "101210",  //  24
    "121010", "000212", "020012", "020210", "001202", "021002", "021200", "100202",  //  32
    "120002", "120200", "001022", "001220", "021020", "002012", "002210", "022010",  //  40
    "202010", "100220", "120020", "102002", "102200", "102020", "200012", "200210",  //  48
    "220010", "201002", "201200", "221000", "203000", "110300", "320000", "000113",  //  56
    "000311", "010013", "010310", "030011", "030110", "001103", "001301", "011003",  //  64
    "011300", "031001", "031100", "130100", "110003", "302000", "130001", "023000",  //  72
    "000131", "010031", "010130", "003101", "013001", "013100", "300101", "310001",  //  80
    "310100", "101030", "103010", "301010", "000032", "000230", "020030", "003002",  //  88
    "003200", "300002", "300200", "002030", "003020", "200030", "300020", "100301",  //  96
    "100103", "100121", "1220001",                                                    // 104
};

// Six element widths minus one per symbol value: 0..9, A..Z, "-", ".",
// blank, "$", "/", "+", "%", then the four shift characters.
constinit const char *const kCode93Patterns[kCode93Count] = {
    "020001", "000102", "000201", "000300", "010002", "010101", "010200", "000003",  //  0
    "020100", "030000", "100002", "100101", "100200", "110001", "110100", "120000",  //  8
    "001002", "001101", "001200", "011001", "021000", "000012", "000111", "000210",  // 16
    "010011", "020010", "101001", "101100", "100011", "100110", "110010", "111000",  // 24
    "001011", "001110", "011010", "012000", "010020", "200001", "200100", "210000",  // 32
    "001020", "002010", "100020", "010110", "201000", "200010", "011100",            // 40
};

namespace {
constexpr const char kStart39[] = "0100101000";
constexpr const char kStartTwoOfFive[] = "0000";
constexpr const char kStopTwoOfFive[] = "1000";
constexpr const char kGuardUpc[] = "000";
constexpr const char kStopShort[] = "000000";
constexpr const char kStartMsi[] = "10";
constexpr const char kStopMsi[] = "0101";
constexpr const char kStop128[] = "1220001";
constexpr const char kWide[] = "11223344";
constexpr const char kOne[] = "1";
constexpr const char kZero[] = "0";
constexpr uint16_t kVar = UTL_BARCODE_VARIABLE;
}  // namespace

// letter, start, stop, max length, reserved, widths, patterns, first
constinit const UTLBarType kBarTypes[kBarTypeCount + 1] = {
    {'A', kStart39, kStart39, kVar, 0, "1133", kCode39Patterns, 0x20},
    {'B', kStart39, kStart39, kVar, 0, "1122", kCode39Patterns, 0x20},
    {'C', kStart39, kStart39, kVar, 0, "1245", kCode39Patterns, 0x20},
    {'D', nullptr, nullptr, kVar, 0, "12341111", kCodabarPatterns, 0x24},
    {'E', nullptr, nullptr, kVar, 0, "11331111", kCodabarPatterns, 0x24},
    {'F', kStartTwoOfFive, kStopTwoOfFive, kVar, 0, "1133", kTwoOfFivePatterns, 0x30},
    {'G', kGuardUpc, kGuardUpc, 11, 0, kWide, nullptr, 0x30},
    {'H', kGuardUpc, kStopShort, 10, 0, kWide, nullptr, 0x30},
    {'I', kGuardUpc, kStopShort, 6, 0, kWide, nullptr, 0x30},
    {'J', kGuardUpc, kStopShort, 6, 0, kWide, nullptr, 0x30},
    {'K', kGuardUpc, kGuardUpc, 7, 0, kWide, nullptr, 0x30},
    {'L', kGuardUpc, kGuardUpc, 12, 0, kWide, nullptr, 0x30},
    {'M', kStart39, kStart39, kVar, 0, "1133", kCode39Patterns, 0x20},
    {'N', kStartMsi, kStopMsi, kVar, 0, "11221122", kMsiPatterns, 0x30},
    {'O', kStartMsi, kStopMsi, kVar, 0, "11221122", kMsiPatterns, 0x30},
    {'P', kStartMsi, kStopMsi, kVar, 0, "11221122", kMsiPatterns, 0x30},
    {'Q', kStartMsi, kStopMsi, kVar, 0, "11221122", kMsiPatterns, 0x30},
    {'R', "100301", kStop128, kVar, 0, kWide, kCode128Patterns, 0},
    {'S', "100103", kStop128, kVar, 0, kWide, kCode128Patterns, 0},
    {'T', "100121", kStop128, kVar, 0, kWide, kCode128Patterns, 0},
    {'U', nullptr, kStop128, kVar, 0, kWide, kCode128Patterns, 0},
    {'V', kZero, kZero, 13, 0, kWide, nullptr, 0x30},
    {'W', kZero, kZero, 16, 0, kWide, nullptr, 0x30},
    {'X', kStartTwoOfFive, kStopTwoOfFive, kVar, 0, "1133", kTwoOfFivePatterns, 0x30},
    {'Y', "000030", "00003000", kVar, 0, kWide, kCode93Patterns, 0},
    {'Z', kOne, kOne, 11, 0, "1111", nullptr, 0x30},
    {'1', kOne, kOne, 13, 0, "1111", nullptr, 0},
    {'4', kOne, kOne, 31, 0, "1111", nullptr, 0},
    {0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0},
};

}  // namespace cmnw::barcode
