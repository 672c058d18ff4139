#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/encode.h"

namespace {

std::string ToText(const std::string &data) {
    std::string out(UTLBinary2TextSize(static_cast<uint32_t>(data.size())) + 1, '\x7f');
    const uint32_t n = UTLBinary2Text(data.data(), static_cast<uint32_t>(data.size()), out.data(),
                                      static_cast<uint32_t>(out.size()));
    EXPECT_EQ(out[n], '\0');
    out.resize(n);
    return out;
}

TEST(TextForm, KnownEncodingsAndSizes) {
    const struct {
        std::string data, text;
    } cases[] = {
        {"", "0"}, {"a", "2OG00"}, {"ab", "1OM80"}, {"abc", "0OM9Z"},
        {std::string("\xff\xff\xff", 3), "0----"}, {std::string("\0\0\0\0", 4), "200000000"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ToText(c.data), c.text);
        EXPECT_EQ(UTLText2BinarySize(c.text.data(), static_cast<uint32_t>(c.text.size())),
                  c.data.size())
            << c.text;
    }
    // A length whose text would not fit in 32 bits saturates instead of wrapping.
    EXPECT_EQ(UTLBinary2TextSize(0xFFFFFFFFu), 0xFFFFFFFFu);
}

TEST(TextForm, RefusesShortOutputWithoutWriting) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(UTLBinary2Text("abc", 3, out, 5), 0u);  // needs 6
    EXPECT_EQ(std::string(out, sizeof out), "xxxxxxxx");
    EXPECT_EQ(UTLBinary2Text("abc", 3, out, 6), 5u);
    EXPECT_STREQ(out, "0OM9Z");
    EXPECT_EQ(UTLBinary2Text("abc", 3, nullptr, 6), 0u);
    EXPECT_EQ(UTLBinary2Text(nullptr, 3, out, 6), 0u);
    EXPECT_EQ(UTLBinary2Text(nullptr, 0, out, 2), 1u);
    EXPECT_STREQ(out, "0");
}

TEST(TextForm, InvalidTextsDecodeToNothing) {
    const char *invalid[] = {"", "0", "1", "2", "0OM9", "0OM9Z1", "3OM9Z", "zOM9Z", "2OG0"};
    char out[16];
    for (const char *t : invalid) {
        const auto len = static_cast<uint32_t>(std::strlen(t));
        EXPECT_EQ(UTLText2BinarySize(t, len), 0u) << t;
        EXPECT_EQ(UTLText2Binary(t, len, out, sizeof out), 0u) << t;
    }
    EXPECT_EQ(UTLText2BinarySize(nullptr, 5), 0u);
    // "2OG00" holds one byte, "1" would claim a second pad.
    EXPECT_EQ(UTLText2BinarySize("2OG00", 5), 1u);
}

TEST(TextForm, RoundTripsRandomDataOfEveryLength) {
    std::mt19937 rng(20261205);
    for (uint32_t n = 0; n <= 300; ++n) {
        std::string data(n, '\0');
        for (auto &c : data) c = static_cast<char>(rng());
        const std::string text = ToText(data);
        ASSERT_EQ(text.size(), UTLBinary2TextSize(n));
        ASSERT_EQ(text.size() % 4, 1u);
        ASSERT_EQ(text.find_first_not_of(
                      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_-"),
                  std::string::npos);
        const auto textLen = static_cast<uint32_t>(text.size());
        if (n == 0) {
            EXPECT_EQ(UTLText2BinarySize(text.data(), textLen), 0u);
            continue;
        }
        ASSERT_EQ(UTLText2BinarySize(text.data(), textLen), n);
        std::vector<char> back(n + 2, '\x55');
        ASSERT_EQ(UTLText2Binary(text.data(), textLen, back.data(), n), n) << n;
        EXPECT_EQ(std::string(back.data(), n), data) << n;
        EXPECT_EQ(back[n], '\x55');
        EXPECT_EQ(UTLText2Binary(text.data(), textLen, back.data(), n - 1), 0u);
    }
}

}  // namespace
