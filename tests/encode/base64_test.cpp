#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/encode.h"

namespace {

std::string Encode(const std::string &data) {
    std::string out(4 * ((data.size() + 2) / 3) + 8, '\x7f');
    const uint32_t n = UTLEncodeBase64(data.data(), static_cast<uint32_t>(data.size()), out.data());
    EXPECT_EQ(out[n], '\x7f');  // no terminator, nothing past the text
    out.resize(n);
    return out;
}

std::string Decode(const std::string &text) {
    std::string out(text.size() * 3 / 4 + 8, '\x7f');
    const uint32_t n = UTLDecodeBase64(text.data(), static_cast<uint32_t>(text.size()), out.data());
    EXPECT_LE(n, text.size() * 3 / 4);
    EXPECT_EQ(out[n], '\x7f');
    out.resize(n);
    return out;
}

// A second, bit-at-a-time model of the encoder.
std::string ReferenceEncode(const std::string &data) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    for (unsigned char c : data) {
        acc = (acc << 8) | c;
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            out += alphabet[(acc >> bits) & 63];
        }
    }
    if (bits > 0) out += alphabet[(acc << (6 - bits)) & 63];
    while (out.size() % 4 != 0) out += '=';
    return out;
}

// A bit-at-a-time model of the skipping decoder.
std::string ReferenceDecode(const std::string &text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t acc = 0;
    int bits = 0;
    for (char c : text) {
        const size_t v = alphabet.find(c);
        if (v == std::string::npos || c == '\0') continue;
        acc = (acc << 6) | static_cast<uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>(acc >> bits);
        }
    }
    return out;
}

TEST(Base64, RandomDataAgainstReferenceWithNoiseInserted) {
    std::mt19937 rng(4648);
    const char noise[] = " \t\r\n=*";
    for (int round = 0; round < 400; ++round) {
        const size_t n = round < 100 ? round : rng() % 5000;
        std::string data(n, '\0');
        for (auto &c : data) c = static_cast<char>(rng());
        const std::string text = Encode(data);
        ASSERT_EQ(text, ReferenceEncode(data));
        ASSERT_EQ(Decode(text), data);
        std::string noisy;
        for (char c : text) {
            if (rng() % 7 == 0) noisy += noise[rng() % (sizeof noise - 1)];
            if (rng() % 61 == 0) noisy += "\r\n";
            noisy += c;
        }
        ASSERT_EQ(Decode(noisy), data) << noisy;
        std::string shuffled = noisy;  // data characters out of group alignment
        for (int k = 0; k < 5 && !shuffled.empty(); ++k) {
            shuffled.erase(rng() % shuffled.size(), 1);
        }
        ASSERT_EQ(Decode(shuffled), ReferenceDecode(shuffled));
    }
}

TEST(Base64, EveryByteValueIsKeptOrSkippedAtEveryPosition) {
    // Long texts take the block paths; each byte value is placed in each
    // position of a block and must be skipped exactly when it is no data
    // character.
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 rng(256);
    std::string data(90, '\0');
    for (auto &c : data) c = static_cast<char>(rng());
    const std::string text = Encode(data);
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const bool isData = alphabet.find(c) != std::string::npos;
        for (size_t pos : {size_t{0}, size_t{5}, size_t{31}, size_t{33}, size_t{64}, size_t{100}}) {
            std::string noisy = text;
            noisy.insert(pos, 1, c);
            ASSERT_EQ(Decode(noisy), ReferenceDecode(noisy)) << byte << " at " << pos;
            if (!isData) {
                ASSERT_EQ(Decode(noisy), data) << byte << " at " << pos;
            }
        }
    }
}

}  // namespace
