#include "common/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(CopyBounded, CutsTerminatesAndNeverWritesPastSize) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(cmnw::CopyBounded(buf, 5, "abcdefgh"), 4u);
    EXPECT_STREQ(buf, "abcd");
    EXPECT_EQ(buf[5], 'x');
    EXPECT_EQ(cmnw::CopyBounded(buf, 8, nullptr), 0u);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(cmnw::CopyBounded(buf, 0, "abc"), 0u);
    // A source that is not terminated within srcMax is read no further.
    const char raw[3] = {'a', 'b', 'c'};
    EXPECT_EQ(cmnw::CopyBoundedN(buf, sizeof buf, raw, 3), 3u);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(cmnw::AppendBounded(buf, 6, "defg"), 5u);
    EXPECT_STREQ(buf, "abcde");
}

TEST(FormatBounded, ReportsWhatWasStored) {
    char buf[6];
    EXPECT_EQ(cmnw::FormatBounded(buf, sizeof buf, "%d-%s", 12, "abcdef"), 5u);
    EXPECT_STREQ(buf, "12-ab");
    EXPECT_EQ(cmnw::FormatBounded(buf, sizeof buf, "%s", "ok"), 2u);
}

TEST(TrimInPlace, RemovesBlanksAtBothEnds) {
    const struct {
        const char *in, *both, *right;
    } cases[] = {{"  a b \t\r\n", "a b", "  a b"}, {"", "", ""}, {" \t ", "", ""}, {"x", "x", "x"}};
    for (const auto &c : cases) {
        std::string a = c.in, b = c.in;
        EXPECT_STREQ(cmnw::TrimInPlace(a.data()), c.both) << c.in;
        EXPECT_STREQ(cmnw::TrimRightInPlace(b.data()), c.right) << c.in;
    }
    EXPECT_EQ(cmnw::TrimInPlace(nullptr), nullptr);
}

TEST(CopyPadded, ClearsTheRestAndReportsWhetherAllFitted) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_TRUE(cmnw::CopyPadded(buf, 6, "ab"));
    EXPECT_EQ(std::string(buf, 6), std::string("ab\0\0\0\0", 6));
    EXPECT_EQ(buf[6], 'x');
    EXPECT_TRUE(cmnw::CopyPadded(buf, 6, "abcde"));
    EXPECT_STREQ(buf, "abcde");
    EXPECT_FALSE(cmnw::CopyPadded(buf, 6, "abcdef"));
    EXPECT_STREQ(buf, "abcde");
    EXPECT_FALSE(cmnw::CopyPadded(buf, 0, "a"));
    EXPECT_TRUE(cmnw::CopyPadded(buf, 3, nullptr));
    EXPECT_EQ(std::string(buf, 3), std::string("\0\0\0", 3));
}

// Every place of the first NUL, none at all, and high bytes after it.
template <size_t N>
void ExpectLengthsInArray() {
    for (size_t nul = 0; nul <= N; ++nul) {
        char text[N];
        std::memset(text, '\x81', N);
        if (nul < N) text[nul] = '\0';
        if (nul + 1 < N) text[nul + 1] = '\0';
        EXPECT_EQ(cmnw::LengthInArray(text), nul) << N;
    }
}

TEST(LengthInArray, FindsTheFirstNulOrTheArrayEnd) {
    ExpectLengthsInArray<8>();
    ExpectLengthsInArray<12>();
    ExpectLengthsInArray<20>();
    ExpectLengthsInArray<24>();
}

}  // namespace
