#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "cmnw32/encode.h"
#include "common/test_support.h"

namespace {

// zlib's CRC-32 of n bytes from data; zlib inverts before and after.
uint32_t Zlib(uint32_t seed, const std::string &data, size_t from = 0, size_t n = SIZE_MAX) {
    n = std::min(n, data.size() - from);
    return static_cast<uint32_t>(
        crc32(seed, reinterpret_cast<const Bytef *>(data.data()) + from, static_cast<uInt>(n)));
}

std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string data(n, '\0');
    for (auto &b : data) b = static_cast<char>(rng());
    return data;
}

TEST(BlockCrc32, MatchesZlibOnRandomAndChainedBlocks) {
    std::mt19937 rng(802);
    const std::string data = RandomBytes(1 << 17, 802);
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
    const std::string data = RandomBytes((5u << 19) + 77, 3);
    const std::string path = dir.Write("data.bin", data);
    dir.Write("empty", "");
    EXPECT_EQ(~UTLCaclulateFileCRC32(path.c_str(), 0xFFFFFFFFu), Zlib(0, data));
    // The suite's path form: a drive letter and backslashes.
    std::string suitePath = "C:" + path;
    for (auto &c : suitePath) c = c == '/' ? '\\' : c;
    EXPECT_EQ(UTLCaclulateFileCRC32(suitePath.c_str(), 0x1234u), ~Zlib(~0x1234u, data));
    // The seed back, and errno 0 only for a file read to its end ("" names
    // the directory).
    const struct { const char *path; bool read; } seedOnly[] = {
        {"empty", true}, {"missing", false}, {"", false}};
    for (const auto &f : seedOnly) {
        errno = EBADF;
        EXPECT_EQ(UTLCaclulateFileCRC32(dir.File(f.path).c_str(), 0xABCDu), 0xABCDu) << f.path;
        EXPECT_EQ(errno == 0, f.read) << f.path;
    }
    errno = 0;
    EXPECT_EQ(UTLCaclulateFileCRC32(path.c_str(), 0u), ~Zlib(~0u, data));
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(UTLCaclulateFileCRC32("", 7u), 7u);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(UTLCaclulateFileCRC32(nullptr, 7u), 7u);
    EXPECT_EQ(errno, EINVAL);
}

TEST(CrcName, SevenBase32DigitsOfTheByteReversedValue) {
    const struct { uint32_t crc; const char *name; } cases[] = {
        {0, "0000000"}, {0xFFFFFFFFu, "3VVVVVV"}, {0x12345678u, "1S5CD0I"},
        {0x01000000u, "0000001"}, {0x000000FFu, "3VG0000"}};
    for (const auto &c : cases) {
        char out[9];
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(UTLMakeCRCName(out, c.crc), 0);
        EXPECT_STREQ(out, c.name);
        EXPECT_EQ(out[8], 'x');
    }
    EXPECT_EQ(UTLMakeCRCName(nullptr, 1), 0xFFFF);
}

}  // namespace
