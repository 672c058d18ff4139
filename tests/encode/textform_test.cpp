#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "cmnw32/encode.h"

namespace {

TEST(TextForm, KnownEncodingsAndSizes) {
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
    EXPECT_EQ(UTLBinary2Text("abc", 3, nullptr, 6), 0u);
    EXPECT_EQ(UTLBinary2Text(nullptr, 3, out, 6), 0u);
    EXPECT_EQ(UTLBinary2Text(nullptr, 0, out, 2), 1u);
}

TEST(TextForm, InvalidTextsDecodeToNothing) {
    // "2OG00" holds one byte; "1" would claim a second pad.
    for (const char *t : {"", "0", "1", "2", "0OM9", "0OM9Z1", "3OM9Z", "zOM9Z", "2OG0"}) {
        char out[16];
        const auto len = static_cast<uint32_t>(std::strlen(t));
        EXPECT_EQ(UTLText2BinarySize(t, len), 0u) << t;
        EXPECT_EQ(UTLText2Binary(t, len, out, sizeof out), 0u) << t;
    }
    EXPECT_EQ(UTLText2BinarySize(nullptr, 5), 0u);
}

TEST(TextForm, RoundTripsRandomDataOfEveryLength) {
    std::mt19937 rng(20261205);
    for (uint32_t n = 1; n <= 300; ++n) {
        std::string data(n, '\0'), text(UTLBinary2TextSize(n) + 1, '\x7f');
        for (auto &c : data) c = static_cast<char>(rng());
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

}  // namespace
