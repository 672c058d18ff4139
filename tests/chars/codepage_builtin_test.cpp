// The built-in character set as the registry loads it when no code page file
// can be read.
#include <gtest/gtest.h>

#include <vector>
#include <string>

#include "chars/codepage_fixture.h"
#include "cmnw32/codepage.h"

using cmnw::testing::ScratchDir;
using cmnw::testing::WalkAll;
using cmnw::testing::WalkedChar;

namespace {

struct LoadedSet {
    // Per code page 1004, 9999, 9998: every character as walked.
    std::vector<WalkedChar> pages[3];
};

constexpr int32_t kPageIds[3] = {1004, 9999, 9998};

LoadedSet LoadBuiltIn(UTLCPSET set) {
    LoadedSet loaded;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(UTLSetDefCodePage(set, kPageIds[p], nullptr), UTL_CP_OK);
        loaded.pages[p] = WalkAll(set);
    }
    return loaded;
}

uint64_t Fnv1a(uint64_t h, const std::string &text) {
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

class BuiltInSet : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.UseConfig();  // points at an empty directory: no code page file
        set_ = UTLLoadCodePage();
        ASSERT_NE(set_, nullptr);
    }
    void TearDown() override { EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK); }

    ScratchDir scratch_;
    UTLCPSET set_ = nullptr;
};

TEST_F(BuiltInSet, HoldsEveryRowWithItsIdentifierNameAndBytes) {
    ASSERT_EQ(UTLCodePageCount(set_), 3);
    const LoadedSet loaded = LoadBuiltIn(set_);
    for (const auto &page : loaded.pages) ASSERT_EQ(page.size(), 742u);

    // A digest of every row "identifier|name|b1004|b9999|b9998\n" in order:
    // one change anywhere in the built-in set changes it.
    uint64_t digest = 0xcbf29ce484222325ull;
    for (size_t k = 0; k < 742; ++k) {
        const WalkedChar &c = loaded.pages[0][k];
        EXPECT_EQ(c.alias, "") << k;
        digest = Fnv1a(digest, c.identifier + "|" + c.name + "|" + std::to_string(c.byte) + "|" +
                                   std::to_string(loaded.pages[1][k].byte) + "|" +
                                   std::to_string(loaded.pages[2][k].byte) + "\n");
    }
    EXPECT_EQ(digest, 0xe743b7d34e873fbaull);
}

// Lookups in the built-in pages; the rules of lookups are checked on small
// sets of the caller's own in codepage_registry_test.cpp.
TEST_F(BuiltInSet, LookupsByNameByteAndIndexInEachPage) {
    ASSERT_EQ(UTLSetDefCodePage(set_, 1004, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set_, "SP320000", nullptr, nullptr), 173);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, "Zcaron", nullptr), 142);
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE] = "x";
    EXPECT_EQ(UTLLocateNameByChar(set_, 45 + 256, id, name, alias), UTL_CP_OK);  // a byte value
    EXPECT_STREQ(id, "SP100000");
    EXPECT_STREQ(name, "hyphen");
    EXPECT_STREQ(alias, "");
    EXPECT_EQ(UTLLocateNameByChar(set_, 0x81, id, nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(UTLLocateNameByChar(set_, 32, nullptr, nullptr, nullptr), UTL_CP_FAIL);

    ASSERT_EQ(UTLSetDefCodePage(set_, 9999, nullptr), UTL_CP_OK);
    uint16_t index = 298;
    uint8_t byte = 0;
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, &index, &byte, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_EQ(byte, 33);
    EXPECT_STREQ(name, "pencil");
    index = 742;
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, &index, &byte, id, name, alias), UTL_CP_FAIL);
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, nullptr, &byte, id, name, alias), UTL_CP_FAIL);
    // "pencil" is the first "????????" row with a byte in 9999; in 9998 none
    // of the first hundred has one, and the name finds the glyph.
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", nullptr, nullptr), 33);
    ASSERT_EQ(UTLSetDefCodePage(set_, 9998, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, "????????", "uniF0FF", nullptr), 255);
}

}  // namespace
