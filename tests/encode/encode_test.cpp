// Binary data as text (Base64 and the library's own text form) and CRC-32
// checksums of blocks and files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/encode.h"
#include "common/test_support.h"

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string RandomBytes(std::mt19937 &rng, size_t n) {
    std::string data(n, '\0');
    for (auto &b : data) b = static_cast<char>(rng());
    return data;
}

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
    for (int round = 0; round < 400; ++round) {
        const std::string data = RandomBytes(rng, round < 100 ? round : rng() % 5000);
        const std::string text = Code(true, data);
        ASSERT_EQ(text, ModelEncode(data));
        ASSERT_EQ(Code(false, text), data);
        std::string noisy;
        for (char c : text) {
            // Any byte outside the alphabet is skipped, wherever it stands.
            const char n = static_cast<char>(rng());
            if (rng() % 7 == 0 && kAlphabet.find(n) == std::string::npos) noisy += n;
            if (rng() % 61 == 0) noisy += "\r\n";
            noisy += c;
        }
        ASSERT_EQ(Code(false, noisy), data) << noisy;
        // Data characters out of group alignment.
        for (int k = 0; k < 5 && !noisy.empty(); ++k) noisy.erase(rng() % noisy.size(), 1);
        ASSERT_EQ(Code(false, noisy), ModelDecode(noisy));
    }
}

TEST(TextForm, KnownAndInvalidTextsAndSizes) {
    const struct { std::string data, text; } cases[] = {
        {"", "0"}, {"a", "2OG00"}, {"ab", "1OM80"}, {"abc", "0OM9Z"},
        {std::string("\xff\xff\xff", 3), "0----"}, {std::string(4, '\0'), "200000000"}};
    for (const auto &c : cases) {
        char out[16];
        EXPECT_EQ(UTLBinary2Text(c.data.data(), static_cast<uint32_t>(c.data.size()), out,
                                 static_cast<uint32_t>(c.text.size() + 1)),
                  c.text.size());
        EXPECT_STREQ(out, c.text.c_str());
        EXPECT_EQ(UTLBinary2TextSize(static_cast<uint32_t>(c.data.size())), c.text.size());
        EXPECT_EQ(UTLText2BinarySize(c.text.data(), static_cast<uint32_t>(c.text.size())),
                  c.data.size())
            << c.text;
    }
    // A length whose text would not fit in 32 bits saturates instead of wrapping.
    EXPECT_EQ(UTLBinary2TextSize(0xFFFFFFFFu), 0xFFFFFFFFu);
    // Output one byte short of the text and its terminator: refused, nothing written.
    char out[8] = "xxxxxxx";
    EXPECT_EQ(UTLBinary2Text("abc", 3, out, 5), 0u);
    EXPECT_STREQ(out, "xxxxxxx");
    // Invalid texts decode to nothing: "2OG00" holds one byte; "1" would
    // claim a second pad.
    for (const char *t : {"", "0", "1", "2", "0OM9", "0OM9Z1", "3OM9Z", "zOM9Z", "2OG0"}) {
        const auto len = static_cast<uint32_t>(std::strlen(t));
        EXPECT_EQ(UTLText2BinarySize(t, len), 0u) << t;
        EXPECT_EQ(UTLText2Binary(t, len, out, sizeof out), 0u) << t;
    }
}

TEST(TextForm, RoundTripsRandomDataOfEveryLength) {
    std::mt19937 rng(20261205);
    for (uint32_t n = 1; n <= 300; ++n) {
        const std::string data = RandomBytes(rng, n);
        std::string text(UTLBinary2TextSize(n) + 1, '\x7f');
        const auto textLen = static_cast<uint32_t>(text.size() - 1);
        ASSERT_EQ(UTLBinary2Text(data.data(), n, text.data(), textLen + 1), textLen);
        ASSERT_EQ(text[textLen], '\0');
        ASSERT_EQ(textLen % 4, 1u);
        ASSERT_EQ(text.find_first_not_of(
                      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-"),
                  textLen);
        ASSERT_EQ(UTLText2BinarySize(text.data(), textLen), n);
        std::string back(n + 1, '\x55');
        ASSERT_EQ(UTLText2Binary(text.data(), textLen, back.data(), n), n) << n;
        EXPECT_EQ(back, data + '\x55') << n;
        EXPECT_EQ(UTLText2Binary(text.data(), textLen, back.data(), n - 1), 0u);
    }
}


// zlib's CRC-32 of n bytes from data; zlib inverts before and after.
uint32_t Zlib(uint32_t seed, const std::string &data, size_t from = 0, size_t n = SIZE_MAX) {
    n = std::min(n, data.size() - from);
    return static_cast<uint32_t>(
        crc32(seed, reinterpret_cast<const Bytef *>(data.data()) + from, static_cast<uInt>(n)));
}

TEST(BlockCrc32, MatchesZlibOnRandomAndChainedBlocks) {
    std::mt19937 rng(802);
    const std::string data = RandomBytes(rng, 1 << 17);
    for (int round = 0; round < 200; ++round) {
        const size_t n = round < 70 ? round : rng() % data.size();
        const size_t from = rng() % (data.size() - n + 1);
        const uint32_t seed = rng();
        ASSERT_EQ(UTLCalculateBlockCRC32(static_cast<uint32_t>(n), seed, data.data() + from),
                  ~Zlib(~seed, data, from, n))
            << n;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t pos = 0, n = 0; pos < data.size(); pos += n) {
        n = std::min<size_t>(rng() % 3000, data.size() - pos);
        crc = UTLCalculateBlockCRC32(static_cast<uint32_t>(n), crc, data.data() + pos);
    }
    EXPECT_EQ(~crc, Zlib(0, data));
    EXPECT_EQ(UTLCalculateBlockCRC32(9, 0xCAFEF00Du, nullptr), 0xCAFEF00Du);
}

TEST(FileCrc32, WholeFileInChunksMissingFileGivesSeed) {
    cmnw::test::TempDir dir;
    // Larger than one read chunk, and not a multiple of it.
    std::mt19937 rng(3);
    const std::string data = RandomBytes(rng, (5u << 19) + 77);
    const std::string path = dir.Write("data.bin", data);
    dir.Write("empty", "");
    EXPECT_EQ(~UTLCaclulateFileCRC32(path.c_str(), 0xFFFFFFFFu), Zlib(0, data));
    // The seed back, and errno 0 only for a file read to its end ("" names
    // the directory).
    const struct { const char *path; bool read; } seedOnly[] = {
        {"empty", true}, {"missing", false}, {"", false}};
    for (const auto &f : seedOnly) {
        errno = EBADF;
        EXPECT_EQ(UTLCaclulateFileCRC32(dir.File(f.path).c_str(), 0xABCDu), 0xABCDu) << f.path;
        EXPECT_EQ(errno == 0, f.read) << f.path;
    }
}

TEST(CrcName, SevenBase32DigitsOfTheByteReversedValue) {
    const struct { uint32_t crc; const char *name; } cases[] = {
        {0, "0000000"}, {0xFFFFFFFFu, "3VVVVVV"}, {0x12345678u, "1S5CD0I"},
        {0x000000FFu, "3VG0000"}};
    for (const auto &c : cases) {
        char out[9];
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(UTLMakeCRCName(out, c.crc), 0);
        EXPECT_STREQ(out, c.name);
        EXPECT_EQ(out[8], 'x');
    }
}

}  // namespace
