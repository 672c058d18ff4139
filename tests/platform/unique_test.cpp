#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unordered_set>

#include "cmnw32/encode.h"
#include "cmnw32/unique.h"

namespace {

std::string Unique(uint32_t size) {
    std::string buf(size + 4, '\x7f');
    EXPECT_EQ(UTLGetUniqueString(buf.data(), size), 0);
    EXPECT_EQ(buf.substr(size), "\x7f\x7f\x7f\x7f");  // nothing past the stated size
    return buf.substr(0, buf.find('\0'));
}

bool IsHex(const std::string &s) { return s.find_first_not_of("0123456789ABCDEF") == s.npos; }

// Plain hex is a random GUID below 41 bytes, and carries check digits that are
// running sums below 46.
TEST(UniqueString, PlainHexIsARandomGuidAndCheckDigitsAreRunningSums) {
    {
        const std::string s = Unique(40);
        ASSERT_EQ(s.size(), 32u);
        EXPECT_TRUE(IsHex(s)) << s;
        // Version 4, variant 10xx, where the usual digit layout puts them.
        EXPECT_TRUE(s[12] == '4' && std::string("89AB").find(s[16]) != std::string::npos) << s;
    }
    {
        const std::string s = Unique(45);
        ASSERT_EQ(s.size(), 40u);
        EXPECT_TRUE(IsHex(s)) << s;
        unsigned sum = 0;
        for (size_t group = 0; group < 4; ++group) {
            for (size_t i = 0; i < 8; ++i) sum += static_cast<unsigned char>(s[group * 10 + i]);
            char check[3];
            std::snprintf(check, sizeof check, "%02X", sum & 0xFF);
            EXPECT_EQ(s.substr(group * 10 + 8, 2), check) << s;
            sum += static_cast<unsigned char>(check[0]) + static_cast<unsigned char>(check[1]);
        }
    }
}

TEST(UniqueString, ScrambledFormIs33BytesInTextForm) {
    for (uint32_t size : {46u, 2000u}) {
        std::string buf(size, 'x');
        EXPECT_EQ(UTLGetUniqueString(buf.data(), size), 0);
        const std::string s = buf.substr(0, buf.find('\0'));
        ASSERT_EQ(s.size(), 45u);
        EXPECT_EQ(s[0], '0');
        EXPECT_EQ(s.find_first_not_of(
                      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-"),
                  s.npos);
        EXPECT_EQ(buf.find_first_not_of('\0', 45), buf.npos);  // the rest is cleared
        uint8_t bytes[33];
        EXPECT_EQ(UTLText2Binary(s.data(), 45, bytes, sizeof bytes), 33u) << s;
    }
}

TEST(UniqueString, NeverRepeatsOverManyCalls) {
    std::unordered_set<std::string> seen;
    seen.reserve(200000);
    for (int i = 0; i < 100000; ++i) {
        char buf[46];
        UTLGetUniqueString(buf, sizeof buf);
        ASSERT_TRUE(seen.insert(buf).second) << buf;
    }
}

}  // namespace
