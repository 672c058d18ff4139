#include "chars/unicode_tables.h"

namespace cmnw::chars {
namespace {

constexpr std::array<int32_t, 256> BuildSequenceLengths() {
    std::array<int32_t, 256> lengths{};
    for (unsigned b = 0; b < 256; ++b) {
        if (b >= 0xC0 && b <= 0xDF) {
            lengths[b] = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            lengths[b] = 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            lengths[b] = 4;
        } else {
            lengths[b] = 1;
        }
    }
    return lengths;
}

// Code page 1252 at 0x80-0x9F; elsewhere it is ISO 8859-1.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

constexpr std::array<uint16_t, 256> BuildAnsiToUtf16() {
    std::array<uint16_t, 256> map{};
    for (unsigned b = 0; b < 256; ++b) {
        map[b] = b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : static_cast<uint16_t>(b);
    }
    return map;
}

}  // namespace

constinit const std::array<int32_t, 256> kUtf8SequenceLength = BuildSequenceLengths();
constinit const std::array<uint16_t, 256> kAnsiToUtf16 = BuildAnsiToUtf16();

}  // namespace cmnw::chars
