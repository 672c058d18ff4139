#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cmnw32/encode.h"

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Both directions into a buffer guarded past the longest possible result.
std::string Code(bool encode, const std::string &in) {
    std::string out(in.size() * 2 + 8, '\x7f');
    const auto size = static_cast<uint32_t>(in.size());
    const uint32_t n = encode ? UTLEncodeBase64(in.data(), size, out.data())
                              : UTLDecodeBase64(in.data(), size, out.data());
    EXPECT_LE(n, encode ? (in.size() + 2) / 3 * 4 : in.size() * 3 / 4);
    EXPECT_EQ(out[n], '\x7f');  // no terminator, nothing past the result
    return out.substr(0, n);
}

// Bit-at-a-time models: the encoder, and the decoder that skips every byte
// outside the alphabet.
std::string ModelEncode(const std::string &data) {
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    for (unsigned char c : data) {
        for (acc = acc << 8 | c, bits += 8; bits >= 6;) out += kAlphabet[acc >> (bits -= 6) & 63];
    }
    if (bits > 0) out += kAlphabet[acc << (6 - bits) & 63];
    return out + std::string((4 - out.size() % 4) % 4, '=');
}

std::string ModelDecode(const std::string &text) {
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    for (char c : text) {
        const size_t v = c == '\0' ? std::string::npos : kAlphabet.find(c);
        if (v == std::string::npos) continue;
        acc = acc << 6 | static_cast<uint32_t>(v);
        if ((bits += 6) >= 8) out += static_cast<char>(acc >> (bits -= 8));
    }
    return out;
}

TEST(Base64, RandomDataAgainstTheModelsWithNoiseInserted) {
    std::mt19937 rng(4648);
    const char noise[] = " \t\r\n=*";
    for (int round = 0; round < 400; ++round) {
        std::string data(round < 100 ? round : rng() % 5000, '\0');
        for (auto &c : data) c = static_cast<char>(rng());
        const std::string text = Code(true, data);
        ASSERT_EQ(text, ModelEncode(data));
        ASSERT_EQ(Code(false, text), data);
        std::string noisy;
        for (char c : text) {
            if (rng() % 7 == 0) noisy += noise[rng() % (sizeof noise - 1)];
            if (rng() % 61 == 0) noisy += "\r\n";
            noisy += c;
        }
        ASSERT_EQ(Code(false, noisy), data) << noisy;
        // Data characters out of group alignment.
        for (int k = 0; k < 5 && !noisy.empty(); ++k) noisy.erase(rng() % noisy.size(), 1);
        ASSERT_EQ(Code(false, noisy), ModelDecode(noisy));
    }
}

// Long texts take the block paths: each byte value placed at each position
// of a block is skipped exactly when it is no data character.
TEST(Base64, EveryByteValueIsKeptOrSkippedAtEveryPosition) {
    std::mt19937 rng(256);
    std::string data(90, '\0');
    for (auto &c : data) c = static_cast<char>(rng());
    const std::string text = Code(true, data);
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        for (size_t pos : {0, 5, 31, 33, 64, 100}) {
            const std::string noisy = text.substr(0, pos) + c + text.substr(pos);
            const std::string decoded = Code(false, noisy);
            ASSERT_EQ(decoded, ModelDecode(noisy)) << byte << " at " << pos;
            ASSERT_TRUE(kAlphabet.find(c) != std::string::npos || decoded == data) << byte;
        }
    }
}

}  // namespace
