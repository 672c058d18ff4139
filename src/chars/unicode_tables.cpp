#include "chars/unicode_tables.h"

#include "common/cp1252.h"

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

constexpr std::array<uint16_t, 256> BuildAnsiToUtf16() {
    std::array<uint16_t, 256> map{};
    for (unsigned b = 0; b < 256; ++b) {
        map[b] = b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : static_cast<uint16_t>(b);
    }
    return map;
}

}  // namespace

constinit const std::array<int32_t, 256> kUtf8SequenceLength = BuildSequenceLengths();
constinit const std::array<uint16_t, 256> kAnsiToUtf16 = BuildAnsiToUtf16();

}  // namespace cmnw::chars
