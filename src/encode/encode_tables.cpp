#include "encode/encode_tables.h"

namespace cmnw::encode {

constexpr char kTextAlphabet[65] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-";
constexpr char kBase64Alphabet[66] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";

namespace {

constexpr std::array<uint8_t, 256> MakeTextDecode() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kTextAlphabet[i])] = static_cast<uint8_t>(i);
    }
    return table;
}

constexpr std::array<uint16_t, 4096> MakeBase64Pair() {
    std::array<uint16_t, 4096> table{};
    for (int v = 0; v < 4096; ++v) {
        const auto first = static_cast<unsigned char>(kBase64Alphabet[v >> 6]);
        const auto second = static_cast<unsigned char>(kBase64Alphabet[v & 63]);
        table[v] = static_cast<uint16_t>(first | (second << 8));
    }
    return table;
}

constexpr std::array<std::array<uint32_t, 256>, 4> MakeBase64Decode() {
    std::array<std::array<uint32_t, 256>, 4> table{};
    for (auto &row : table) row.fill(kBase64Skip);
    for (uint32_t i = 0; i < 64; ++i) {
        const auto c = static_cast<unsigned char>(kBase64Alphabet[i]);
        for (int pos = 0; pos < 4; ++pos) table[pos][c] = i << (18 - 6 * pos);
    }
    return table;
}

}  // namespace

constexpr std::array<uint8_t, 256> kTextDecode = MakeTextDecode();
constexpr std::array<uint16_t, 4096> kBase64Pair = MakeBase64Pair();
constexpr std::array<std::array<uint32_t, 256>, 4> kBase64Decode = MakeBase64Decode();

}  // namespace cmnw::encode
