#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/encode.h"
#include "common/test_support.h"

namespace {

uint32_t ZlibStandard(uint32_t seed, const std::vector<unsigned char> &data, size_t from,
                      size_t n) {
    return static_cast<uint32_t>(crc32(seed, data.data() + from, static_cast<uInt>(n)));
}

TEST(BlockCrc32, MatchesZlibOnRandomAndChainedBlocks) {
    std::mt19937 rng(802);
    std::vector<unsigned char> data(1 << 17);
    for (auto &b : data) b = static_cast<unsigned char>(rng());
    for (int round = 0; round < 200; ++round) {
        const size_t n = round < 70 ? round : rng() % data.size();
        const size_t from = rng() % (data.size() - n + 1);
        const uint32_t seed = rng();
        // zlib applies the inversion itself: invert around it to get the bare step.
        const uint32_t expected = ~ZlibStandard(~seed, data, from, n);
        ASSERT_EQ(UTLCalculateBlockCRC32(static_cast<uint32_t>(n), seed, data.data() + from),
                  expected)
            << n;
    }
    uint32_t crc = 0xFFFFFFFFu;
    size_t pos = 0;
    while (pos < data.size()) {
        const size_t n = std::min<size_t>(rng() % 3000, data.size() - pos);
        crc = UTLCalculateBlockCRC32(static_cast<uint32_t>(n), crc, data.data() + pos);
        pos += n;
    }
    EXPECT_EQ(~crc, ZlibStandard(0, data, 0, data.size()));
    EXPECT_EQ(UTLCalculateBlockCRC32(9, 0xCAFEF00Du, nullptr), 0xCAFEF00Du);
}

TEST(FileCrc32, WholeFileInChunksMissingFileGivesSeed) {
    cmnw::test::TempDir dir;
    std::mt19937 rng(3);
    // Larger than one read chunk, and not a multiple of it.
    std::vector<unsigned char> data((5u << 19) + 77);
    for (auto &b : data) b = static_cast<unsigned char>(rng());
    const std::string path = dir.File("data.bin");
    ASSERT_TRUE(cmnw::test::WriteFile(path, std::string(data.begin(), data.end())));
    ASSERT_TRUE(cmnw::test::WriteFile(dir.File("empty"), ""));

    EXPECT_EQ(~UTLCaclulateFileCRC32(path.c_str(), 0xFFFFFFFFu), ZlibStandard(0, data, 0, data.size()));
    // The suite's path form: a drive letter and backslashes.
    std::string suitePath = "C:" + path;
    for (auto &c : suitePath) c = c == '/' ? '\\' : c;
    EXPECT_EQ(UTLCaclulateFileCRC32(suitePath.c_str(), 0x1234u),
              UTLCalculateBlockCRC32(static_cast<uint32_t>(data.size()), 0x1234u, data.data()));
    // The seed back, and errno 0 only for a file read to its end.
    const struct {
        const char *path;
        bool read;
    } seedOnly[] = {{"empty", true}, {"missing", false}, {"", false}};
    for (const auto &f : seedOnly) {
        errno = EBADF;
        EXPECT_EQ(UTLCaclulateFileCRC32(dir.File(f.path).c_str(), 0xABCDu), 0xABCDu) << f.path;
        EXPECT_EQ(errno == 0, f.read) << f.path;  // "" names the directory
    }
    errno = 0;
    EXPECT_EQ(UTLCaclulateFileCRC32(path.c_str(), 0u), UTLCaclulateFileCRC32(path.c_str(), 0u));
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(UTLCaclulateFileCRC32("", 7u), 7u);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(UTLCaclulateFileCRC32(nullptr, 7u), 7u);
    EXPECT_EQ(errno, EINVAL);
}

TEST(CrcName, SevenBase32DigitsOfTheByteReversedValue) {
    const struct {
        uint32_t crc;
        const char *name;
    } cases[] = {{0, "0000000"}, {0xFFFFFFFFu, "3VVVVVV"}, {0x12345678u, "1S5CD0I"},
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
